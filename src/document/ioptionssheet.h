#pragma once

#include "document/settings.h"

// Everything the options sheet shows and edits: copies of a document's
// settings records, the two editor fonts and the colouring flag.
struct OptionsValues {
    ConversionSettings conversion;
    TableSettings table;
    ImageSettings image;  // ImageAlt, ImageTitle and ImageId are not shown
    BrowseSettings browse;
    FontSettings codeFont;
    FontSettings textFont;
    bool showSyntax = false;
};

// The pages of the options sheet, in tab order.
enum OptionsPage {
    kConversionPage = 0,
    kFontPage = 1,
    kTablePage = 2,
    kImagePage = 3,
    kBrowsePage = 4
};

// The options sheet as the document sees it: shown modally at a start page on
// copies of the values. Returns true when the user confirmed (the values then
// hold what the user set), false when the sheet was cancelled or closed (the
// values are then as they were given). The user interface installs the real
// sheet; tests install their own.
class IOptionsSheet {
public:
    virtual ~IOptionsSheet() = default;
    virtual bool Run(OptionsValues& values, int startPage) = 0;
};

void SetOptionsSheet(IOptionsSheet* sheet);
IOptionsSheet* GetOptionsSheet();
