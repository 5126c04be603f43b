#pragma once

#include <cstddef>
#include <cstring>
#include <memory>
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

// A growing byte buffer for a streamed conversion's output. Unlike
// std::string it hands out room for bytes before they are written, without
// zero-filling it, so the line wrapper stores each line break mark with one
// fixed 16-byte copy; its appends are inline. to-visual of the 10 MB
// benchmark text (callgrind, Release): 160.9 -> 150.6 million instructions,
// --no-break-lines 152.6 -> 149.6 million; CPU-time medians of 31
// alternating runs 31.8 -> 30.9 ms and 33.5 -> 32.5 ms, --no-break-lines
// 31.3 -> 30.5 ms (a loaded machine).
class ByteSink {
public:
    // Room for at least `n` more bytes after the content; Commit says how
    // many of them were written.
    char* Room(size_t n) {
        if (m_capacity - m_size < n) {
            Grow(n);
        }
        return m_data.get() + m_size;
    }
    void Commit(size_t n) { m_size += n; }

    void Append(std::string_view bytes) {
        std::memcpy(Room(bytes.size()), bytes.data(), bytes.size());
        m_size += bytes.size();
    }
    std::string_view View() const { return {m_data.get(), m_size}; }
    void Clear() { m_size = 0; }

private:
    void Grow(size_t n);

    std::unique_ptr<char[]> m_data = std::make_unique_for_overwrite<char[]>(kInitial);
    size_t m_size = 0;
    size_t m_capacity = kInitial;
    static constexpr size_t kInitial = 4096;
};

// Breaks visual lines one at a time, as WrapVisualLines does for a whole text;
// a text given in blocks gets the same result as the whole text at once.
class VisualLineWrapper {
public:
    VisualLineWrapper(int width, int breakLines, std::string addToBrokenLine, int addToHebParagraph,
                      std::string beforeHeb, std::string afterHeb);

    // Appends the pieces of one line (without its CR LF). An empty line inside
    // the text is given as "\r\n".
    void Line(std::string_view line, ByteSink& out);

    // Breaks the lines of `text` that end in CR LF with a byte after it (all
    // of them when `final`: the text ends there) and returns the length
    // consumed; the rest goes in front of the next text. No CR LF starts
    // before `from` (the part already searched); on return `from` is where
    // the search stopped, counted in `text`.
    size_t Lines(std::string_view text, size_t& from, bool final, std::string& out);
    size_t Lines(std::string_view text, size_t& from, bool final, ByteSink& out);

    // Appends what closes the text: the paragraph end, when paragraphs are marked.
    void Finish(std::string& out);
    void Finish(ByteSink& out);

    // Breaks the next line as if the last piece written before it had a
    // Hebrew letter or not (a paragraph string goes between such a piece
    // and one without).
    void SetPreviousHebrew(bool hebrew) { m_previousHebrew = hebrew; }

private:
    template <class Out>
    void LineInto(std::string_view line, Out& out);
    template <class Out>
    size_t LinesInto(std::string_view text, size_t& from, bool final, Out& out);
    // A Hebrew piece followed by the line break mark.
    void PieceAndMark(std::string_view piece, std::string& out);
    void PieceAndMark(std::string_view piece, ByteSink& out);

    int m_width;
    int m_breakLines;
    int m_addToHebParagraph;
    std::string m_addToBrokenLine;
    std::string m_beforeHeb;
    std::string m_afterHeb;
    bool m_previousHebrew = false;
    // The line break mark with its CR LF, zero-padded to 16 bytes, when it is
    // at most that long (else the mark is appended as a string).
    char m_shortMark[16] = {};
    bool m_markIsShort = false;
};
