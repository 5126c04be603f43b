#pragma once

#include <string>
#include <string_view>

// Replacement of written forms of characters (entity names, character
// references) by the characters, driven by a definition file: each line holds
// up to three comma-separated fields, taken exactly as they stand: a first and
// a second search text and the replacement. Every occurrence of the first,
// then of the second, is replaced; an empty search field is skipped; a line
// with an empty or missing replacement does nothing; fields after the third
// are ignored. Lines apply in file order, each to the result of the ones
// before it.
namespace specialchars {

// The text before the line's first comma, which is removed from the line
// together with the comma; a line without a comma is returned whole and
// left empty.
std::string NextDefField(std::string& line);

// Applies every line of the definition file's bytes (CR LF or LF line ends)
// to text. Each search text is one linear pass over the text.
void Replace(std::string& text, std::string_view definitions);

}  // namespace specialchars
