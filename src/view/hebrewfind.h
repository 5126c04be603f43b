#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// Find and replace on a page's code page 1255 text (CR LF line ends, offsets
// as the editor gives them). Visual pages store every Hebrew word reversed,
// so a find string that holds a Hebrew letter is looked for both as typed and
// reversed; any other string is searched the ordinary way, with match case,
// whole word and wrap-around.
namespace hebrewfind {

// True when the text holds a Hebrew letter of code page 1255 (0xE0 to 0xFA).
bool IsHebrew(std::string_view text);
// The bytes in reverse order.
std::string Reversed(std::string_view text);

struct HebrewMatch {
    size_t position = 0;
    bool typed = false;  // found as typed; otherwise found reversed
};

// The first occurrence at or after from of find as typed or of find reversed,
// byte for byte; where both start at the same place, the typed form. No
// wrap-around. Nothing for an empty find string.
std::optional<HebrewMatch> FindHebrew(std::string_view text, size_t from, std::string_view find);

// What replaces a match: the replace string, reversed for a reversed match.
std::string Replacement(std::string_view replace, bool typed);

struct ReplaceAllResult {
    std::string text;  // the new text; empty (and not meaningful) when count is 0
    size_t count = 0;
    // The last replacement made, as it stands in the new text.
    size_t lastStart = 0;
    size_t lastLength = 0;
};

// Every match from from on, as FindHebrew picks them one after the other,
// each replaced by its Replacement; the search goes on after the inserted
// text, so replacements are never searched again. One pass over the text.
ReplaceAllResult ReplaceAllHebrew(std::string_view text, size_t from, std::string_view find,
                                  std::string_view replace);

struct PlainOptions {
    bool matchCase = false;  // otherwise ASCII letters match either case
    bool wholeWord = false;  // the match neither follows nor precedes a word character
};

// The first match lying wholly inside [from, limit). Nothing for an empty
// find string.
std::optional<size_t> FindPlain(std::string_view text, size_t from, size_t limit,
                                std::string_view find, PlainOptions options);

// The step-by-step forward search of a find dialog, with its wrap-around.
// Each step searches from the selection on (one past its start when
// something is selected) to the end of the text. A round starts with the
// first step; when a step finds nothing, the search wraps around to the
// start of the text once, and from then on looks only at matches that start
// before the place the round started from. So every occurrence is found once
// per round (the one selected at the start last) before a step misses.
class PlainSearch {
public:
    std::optional<size_t> Next(std::string_view text, size_t selStart, size_t selEnd,
                               std::string_view find, PlainOptions options);
    // The next step starts a new session (a new dialog, or after a miss).
    void Restart() { m_bFirstSearch = true; }

private:
    bool m_bFirstSearch = true;
    bool m_bWrapped = false;
    size_t m_nFirstStart = 0;
};

// Replace all for a plain find string: every match from from to the end of
// the text, then, wrapping around, every match that starts before from (and
// does not overlap those), each match of the original text replaced once and
// in one pass. lastStart/lastLength
// name the replacement made last in that order (the one that wrapped last).
ReplaceAllResult ReplaceAllPlain(std::string_view text, size_t from, std::string_view find,
                                 std::string_view replace, PlainOptions options);

}  // namespace hebrewfind
