#pragma once

#include <string>
#include <string_view>

struct ModernPageRules;

namespace modernreread {

// Whether a line opens or names a script or style block, whose lines are
// passed through as written.
bool MentionsRawBlock(std::string_view text);

// Appends the reading order of one visual line (a logical line's pieces
// joined again): the inverse of the reversal that made it.
using LineReader = void (*)(std::string_view visual, std::string& out);

// Checks the logical lines read from a visual page (`modern`, CR LF lines,
// before the page is declared) against the page: each line made visual
// again with the page's width, break mark and paragraph strings must give
// back the next bytes of `visual`. Where a few lines do not, their stretch
// of the page is read again: it is cut into the cheapest logical lines (by
// their number and where they end) that each give back their own bytes,
// and those readings replace the lines. A stretch no such cut is found for,
// in a bounded number of tries, keeps its lines. A page with the paragraph
// strings (`paragraphs`) is checked only when they were stripped from its
// lines. Linear in the page: stretches and tries are bounded.
void RereadUnreproducedLines(std::string_view visual, std::string& modern,
                             const ModernPageRules& rules, bool paragraphs, LineReader read);

}  // namespace modernreread
