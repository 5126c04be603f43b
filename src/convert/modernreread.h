#pragma once

#include <string>
#include <string_view>

struct ModernPageRules;

namespace modernreread {

// Appends the reading order of one visual line (a logical line's pieces
// joined again): the inverse of the reversal that made it.
using LineReader = void (*)(std::string_view visual, std::string& out);

// Checks the logical lines read from a visual page (`modern`, CR LF lines,
// before the page is declared) against the page: each line made visual
// again with the page's width and break mark must give back the next bytes
// of `visual`. Where a few lines do not, their stretch of the page is read
// again: it is cut into the fewest logical lines that each give back their
// own bytes, and those readings replace the lines. A stretch no such cut is
// found for, in a bounded number of tries, keeps its lines. Linear in the
// page: stretches and tries are bounded.
void RereadUnreproducedLines(std::string_view visual, std::string& modern,
                             const ModernPageRules& rules, LineReader read);

}  // namespace modernreread
