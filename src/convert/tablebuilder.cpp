#include "convert/tablebuilder.h"

#include "convert/conversionchain.h"
#include "convert/textsearch.h"

namespace {

constexpr std::string_view kRowEnd = "</td></tr><CRLF>";
constexpr std::string_view kCellEnd = "</td>";
constexpr std::string_view kTableEnd = "</td></tr></table><CRLF>";

// One cell of an empty table, after its TAB and cell tag.
constexpr std::string_view kEmptyCell = "\r\n\t\t&nbsp;\r\n\t</td>\r\n";

}  // namespace

ConversionSettings TableBuilder::PasteSettings(ConversionSettings settings) {
    settings.BeforeHebParagraph.clear();
    settings.AfterHebParagraph.clear();
    settings.RemoveTag = 0;
    return settings;
}

std::string TableBuilder::Build(std::string_view visual, const TableTags& tags) {
    // One pass over the text: each row's line end and each cell's TAB is
    // replaced where it stands, and the search goes on after what was
    // written, so tags that hold TABs or line ends are never taken for cells.
    size_t rows = 0;
    size_t cells = 0;
    for (size_t i = 0; i < visual.size(); ++i) {
        if (visual[i] == '\t') {
            ++cells;
        } else if (visual[i] == '\r' && i + 1 < visual.size() && visual[i + 1] == '\n') {
            ++rows;
        }
    }
    const size_t rowSize = 2 * kFiller.size() + kRowEnd.size() + tags.row.size() + tags.cell.size();
    const size_t cellSize = kCellEnd.size() + tags.cell.size() + kFiller.size();
    std::string table;
    table.reserve(tags.table.size() + kLineEndPlaceholder.size() + tags.row.size() +
                  tags.cell.size() + kFiller.size() + visual.size() + rows * rowSize +
                  cells * cellSize + kTableEnd.size());

    const auto isTab = [&](size_t i) { return i < visual.size() && visual[i] == '\t'; };
    table.append(tags.table).append(kLineEndPlaceholder).append(tags.row).append(tags.cell);
    if (isTab(0)) {
        table.append(kFiller);  // the first cell of the first row is empty
    }
    size_t pos = 0;
    while (pos < visual.size()) {
        const size_t next = visual.find_first_of("\t\r", pos);
        if (next == std::string_view::npos) {
            table.append(visual.substr(pos));
            break;
        }
        table.append(visual.substr(pos, next - pos));
        if (visual[next] == '\t') {
            table.append(kCellEnd).append(tags.cell);
            if (isTab(next + 1)) {
                table.append(kFiller);  // an empty cell between two TABs
            }
            pos = next + 1;
        } else if (next + 1 < visual.size() && visual[next + 1] == '\n') {
            if (next > 0 && visual[next - 1] == '\t') {
                table.append(kFiller);  // the last cell of the row is empty
            }
            table.append(kRowEnd).append(tags.row).append(tags.cell);
            if (isTab(next + 2)) {
                table.append(kFiller);  // the first cell of the next row is empty
            }
            pos = next + 2;
        } else {
            table.push_back('\r');  // a CR alone ends no row
            pos = next + 1;
        }
    }
    table.append(kTableEnd);
    ReplaceAll(table, kLineEndPlaceholder, "\r\n");
    return table;
}

bool TableBuilder::FromLogical(std::string& text, const ConversionSettings& settings,
                               const TableTags& tags) {
    const bool converted =
        conversion::ToVisual(text, PasteSettings(settings), conversion::VisualScope::Raw);
    if (!converted) {
        text.clear();
    }
    text = Build(text, tags);
    return converted;
}

std::string TableBuilder::Empty(int rows, int columns, const TableTags& tags) {
    rows = rows < 0 ? 0 : rows;
    columns = columns < 0 ? 0 : columns;
    const size_t cell = 1 + tags.cell.size() + kEmptyCell.size();
    const size_t row = tags.row.size() + 2 + static_cast<size_t>(columns) * cell + 7;
    std::string table;
    table.reserve(tags.table.size() + 2 + static_cast<size_t>(rows) * row + 10);
    table.append(tags.table).append("\r\n");
    for (int r = 0; r < rows; ++r) {
        table.append(tags.row).append("\r\n");
        for (int c = 0; c < columns; ++c) {
            table.append("\t").append(tags.cell).append(kEmptyCell);
        }
        table.append("</tr>\r\n");
    }
    table.append("</table>\r\n");
    return table;
}
