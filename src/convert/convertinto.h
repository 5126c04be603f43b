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

// The two-CR-LF paragraphs of WrapVisualLines: every line break mark, CR LF,
// line break mark becomes a paragraph break, and a text with one is wrapped in
// a paragraph.
void MarkParagraphs(std::string& text, const std::string& addToBrokenLine);

}  // namespace convertinto

// Breaks visual lines one at a time, as WrapVisualLines does for a whole text;
// a text given in blocks gets the same result as the whole text at once.
class VisualLineWrapper {
public:
    VisualLineWrapper(int width, int breakLines, std::string addToBrokenLine, int addToHebParagraph,
                      std::string beforeHeb, std::string afterHeb);

    // Appends the pieces of one line (without its CR LF). An empty line inside
    // the text is given as "\r\n".
    void Line(std::string_view line, std::string& out);

    // Breaks the lines of `text` that end in CR LF with a byte after it (all
    // of them when `final`: the text ends there) and returns the length
    // consumed; the rest goes in front of the next text. No CR LF starts
    // before `from` (the part already searched); on return `from` is where
    // the search stopped, counted in `text`.
    size_t Lines(std::string_view text, size_t& from, bool final, std::string& out);

    // Appends what closes the text: the paragraph end, when paragraphs are marked.
    void Finish(std::string& out);

private:
    int m_width;
    int m_breakLines;
    int m_addToHebParagraph;
    std::string m_addToBrokenLine;
    std::string m_beforeHeb;
    std::string m_afterHeb;
    bool m_previousHebrew = false;
};
