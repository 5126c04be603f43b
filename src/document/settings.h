#pragma once

#include <span>
#include <string>
#include <string_view>

#include "convert/conversionsettings.h"

class IniProfile;

// The records of the profile's "Settings" section besides ConversionSettings.
// Field names are the profile's value names; flags are ints, non-zero is on.
struct ImageSettings {
    int ImageBValue = 0;
    int ImageWidth = 1;
    int ImageHeight = 1;
    int ImageBorder = 1;
    int ImageDisplay = 1;
    int ImageAlt = 0;
    int ImageTitle = 0;
    int szImageId = 0;

    bool operator==(const ImageSettings&) const = default;
};

struct TableSettings {
    int TableDisplay = 1;
    std::string TableTag = "<table border=\"1\">";
    std::string TRTag = "<tr>";
    std::string TDTag = "<td align=\"right\" valign=\"top\" nowrap>";

    bool operator==(const TableSettings&) const = default;
};

struct BrowseSettings {
    int BrowseDisplay = 1;
    std::string BrowseMeta = "<meta charset='visual'>";
    int BrowseExternal = 0;
    std::string BrowseFile;

    bool operator==(const BrowseSettings&) const = default;
};

// A font of the editor, from section "RegFont" or "CodeFont".
struct FontSettings {
    std::string Face = "Arial";  // at most kMaxFaceLength bytes
    int Effects = 0;             // 1 bold, 2 italic, 4 underline, 8 strikeout
    int Color = 0;               // 0x00BBGGRR
    int Height = 200;            // twips

    static constexpr std::size_t kMaxFaceLength = 31;

    bool operator==(const FontSettings&) const = default;
};

// Everything a document keeps from section "Settings".
struct DocumentSettings {
    ConversionSettings Conversion;
    ImageSettings Image;
    TableSettings Table;
    BrowseSettings Browse;

    bool operator==(const DocumentSettings&) const = default;
};

enum class SettingType { Int, Flag, String };

// What is done to a value as it is read, so that no later command can be
// driven into a crash or a hang by a hand-edited profile.
enum class ReadCheck {
    None,
    MinusOneIsOff,  // -1 reads as 0 (off)
    FaceLength,     // longer than FontSettings::kMaxFaceLength bytes: cut to that length
    FontHeight,     // outside 1..kMaxFontHeight twips reads as the default
};

// How a value is written back.
enum class WriteRule {
    AsIs,
    OffAsMinusOne,  // 0 is written as -1
    Never,          // read only; set by editing the profile by hand
};

// One value of the profile and where it lives in Record.
template <class Record>
struct SettingEntry {
    std::string_view name;
    std::string_view section;  // empty: the section the caller names (the font sections)
    SettingType type;
    int intDefault;
    std::string_view stringDefault;
    ReadCheck check;
    WriteRule write;
    int& (*intField)(Record&);             // Int and Flag values
    std::string& (*stringField)(Record&);  // String values
};

// The "General" section.
struct GeneralSettings {
    int ShowSyntax = 0;

    bool operator==(const GeneralSettings&) const = default;
};

// The registry of every profile value, and loading and saving driven by it.
class Settings {
public:
    static constexpr std::string_view kSettingsSection = "Settings";
    static constexpr std::string_view kRegFontSection = "RegFont";
    static constexpr std::string_view kCodeFontSection = "CodeFont";
    static constexpr std::string_view kGeneralSection = "General";
    // 1638 points, the largest size the editor control takes.
    static constexpr int kMaxFontHeight = 32760;

    // The 25 values of "Settings", in the order they are saved; the three
    // that are never written come last.
    static std::span<const SettingEntry<DocumentSettings>> Registry();
    // Face, Effects, Color, Height of a font section. Color's default is the
    // one of "CodeFont"; "RegFont" defaults to black.
    static std::span<const SettingEntry<FontSettings>> FontRegistry();
    // ShowSyntax of "General".
    static std::span<const SettingEntry<GeneralSettings>> GeneralRegistry();

    // Absent values take their defaults; every value passes its read check.
    static DocumentSettings Load(const IniProfile& profile);
    // Writes every value except ImageAlt, ImageTitle and szImageId, in
    // registry order, off flags as -1 where the registry says so. False when
    // the profile refused a value (a string with a line end); the others are
    // stored all the same.
    static bool Save(const DocumentSettings& settings, IniProfile& profile);

    // The document's setters store -1 as off for the flags that take it.
    static void TakeMinusOneAsOff(ConversionSettings& settings);
    static void TakeMinusOneAsOff(ImageSettings& settings);
    static void TakeMinusOneAsOff(TableSettings& settings);
    static void TakeMinusOneAsOff(BrowseSettings& settings);

    // section is "RegFont" or "CodeFont" (compared byte for byte for the
    // colour default).
    static FontSettings LoadFont(const IniProfile& profile, std::string_view section);
    static bool SaveFont(const FontSettings& font, std::string_view section, IniProfile& profile);

    static GeneralSettings LoadGeneral(const IniProfile& profile);
    static bool SaveGeneral(const GeneralSettings& general, IniProfile& profile);
};
