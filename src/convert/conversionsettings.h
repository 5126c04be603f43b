#pragma once

#include <string>

// The settings that steer the conversion to visual HTML, in record order.
// Flags are plain ints: non-zero is on. The defaults are the program's own.
struct ConversionSettings {
    int BreakLinesAt = 70;
    int BreakLines = 1;
    int AddToHebParagraph = 0;
    int RemoveTag = 1;
    int ConvertDisplay = 1;
    int TwoCRLFPara = 0;  // stored in the profile as "2CRLFPara"
    std::string BeforeHebParagraph = "<div align=\"right\">";
    std::string AfterHebParagraph = "</div>";
    std::string AddToBrokenLine = "<br>";

    bool operator==(const ConversionSettings&) const = default;
};
