#pragma once

#include <string>

#include "convert/conversionsettings.h"

// The whole conversions that the editor's commands and the command-line
// converter run on a text (a selection or a whole document). Each chains the
// engine operations in the one order the program uses.
namespace conversion {

// What the text to visual conversion is working on.
enum class VisualScope {
    WholeText,  // the whole document: every line broken and marked
    Selection,  // a selection: a short one-line selection gets no line marks
    Raw,        // reversed only, outer white space kept, no line breaking
};

// Logical text to visual HTML. Text with Hebrew letters is reversed line by
// line; text with DOS letters only is recoded instead. Returns false, and
// leaves the text unchanged, when the text is empty or holds no Hebrew letter
// in either code page: there is nothing to convert.
bool ToVisual(std::string& text, const ConversionSettings& settings, VisualScope scope);

// Visual HTML to logical text (tags dropped, lines put back in reading order).
void ToLogical(std::string& text, const ConversionSettings& settings);

// Visual HTML to logical HTML for today's browsers (code page 1255 bytes
// that declare UTF-8: the caller encodes them). The settings say what the
// visual conversion used. Returns false, and leaves the text unchanged, when
// it holds no Hebrew letter.
bool ToModern(std::string& text, const ConversionSettings& settings, bool stripParagraphs);

// Visual HTML to right-aligned DOS text in code page 862.
void ToDos(std::string& text);

// Visual HTML to semi-logical HTML and back.
void ToggleSemiLogical(std::string& text);

// Upper-case tags to lower case.
void LowerTags(std::string& text);

}  // namespace conversion
