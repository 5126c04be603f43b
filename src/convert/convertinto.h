#pragma once

#include <string>
#include <string_view>

// The engine's operations that produce a new text, writing it into a buffer
// the caller gives. CConvert's own operations use fresh buffers; a chain of
// conversions can hand one operation's spent input to the next as its output
// and so touch no new memory.
namespace convertinto {

// As CConvert::LogicalToVisual, from source into out (out is replaced).
void LogicalToVisual(std::string_view source, std::string& out, int tabMode, bool keepOuterSpace);

// As CConvert::WrapVisualLines, from source into out (out is replaced; its
// capacity is used as it is when it holds at least the source).
void WrapVisualLines(std::string_view source, std::string& out, int width, int breakLines,
                     const std::string& addToBrokenLine, int addToHebParagraph,
                     const std::string& beforeHeb, const std::string& afterHeb, int twoCrlfPara);

}  // namespace convertinto
