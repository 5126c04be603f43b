#pragma once

#include <string>
#include <string_view>

#include "convert/conversionsettings.h"

// The opening tags of a table, its rows and its cells, as the table settings
// give them (any bytes, line ends and TABs included).
struct TableTags {
    std::string_view table;
    std::string_view row;
    std::string_view cell;
};

// The HTML tables the program writes: a table pasted from tab-separated text,
// and an empty table of a chosen size. Both run in time linear in their output.
class TableBuilder {
public:
    // The cell filler, and the placeholder that marks the line ends the
    // builder writes until the table is finished.
    static constexpr std::string_view kFiller = "&nbsp;";
    static constexpr std::string_view kLineEndPlaceholder = "<CRLF>";

    // The conversion settings of a table paste: no paragraph strings, and TAB
    // characters kept, because they separate the cells.
    static ConversionSettings PasteSettings(ConversionSettings settings);

    // A table from visual text: CR LF between rows, TAB between cells. An
    // empty cell gets "&nbsp;" where it begins the first row, stands between
    // two TABs or just before or after a row's line end. The rows and cells
    // are the text's own: TABs and line ends inside the tags are written as
    // they are. Every "<CRLF>" of the finished table, the text's own
    // included, becomes CR LF.
    static std::string Build(std::string_view visual, const TableTags& tags);

    // Tab-separated logical text to the table the table paste inserts: the
    // text is reversed line by line with TABs kept (Build then puts the first
    // column last), and Build makes the table. Text without a Hebrew letter
    // in either code page gives the table of one empty cell; returns false then.
    static bool FromLogical(std::string& text, const ConversionSettings& settings,
                            const TableTags& tags);

    // An empty table of rows by columns, each cell holding "&nbsp;", laid out
    // one tag a line.
    static std::string Empty(int rows, int columns, const TableTags& tags);
};
