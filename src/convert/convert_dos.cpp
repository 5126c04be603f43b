// Visual lines to right-aligned DOS text.
#include <algorithm>

#include "convert/convert.h"
#include "convert/textsearch.h"

namespace {

constexpr size_t kDosWrapWidth = 65;
constexpr size_t kDosScreenWidth = 70;

// The text carried over from one line to the next. Each step puts a line in
// front of the carry and takes at most a screen line off its right end, so the
// carry is kept reversed: putting text in front is an append and taking the
// right end is taking from the head. Everything is linear however long the
// carry grows.
class ReversedCarry {
public:
    bool Empty() const { return m_head == m_buffer.size(); }
    size_t Size() const { return m_buffer.size() - m_head; }
    char First() const { return m_buffer.back(); }  // the carry's first byte

    // Puts `text` in front of the carry.
    void Prepend(std::string_view text) {
        const size_t old = m_buffer.size();
        m_buffer.resize(old + text.size());
        std::reverse_copy(text.begin(), text.end(),
                          m_buffer.begin() + static_cast<std::ptrdiff_t>(old));
    }

    // Adds `text` at the carry's right end.
    void Append(std::string_view text) {
        if (m_head < text.size()) {
            const size_t slack = text.size() + Size() + 16;
            m_buffer.insert(0, slack, '\0');
            m_head += slack;
        }
        for (char c : text) {
            m_buffer[--m_head] = c;
        }
    }

    // Reverse index of the last space among the carry's rightmost `count`
    // bytes, counted from the right end; npos if there is none.
    size_t LastSpaceFromRight(size_t count) const {
        const size_t limit = std::min(count, Size());
        for (size_t k = limit; k > 0; --k) {
            if (m_buffer[m_head + k - 1] == ' ') {
                return k - 1;
            }
        }
        return std::string::npos;
    }

    // Moves the carry's rightmost `count` bytes, in reading order, into `out`.
    void TakeRight(size_t count, std::string& out) {
        out.assign(
            m_buffer.rbegin() + static_cast<std::ptrdiff_t>(m_buffer.size() - m_head - count),
            m_buffer.rend() - static_cast<std::ptrdiff_t>(m_head));
        m_head += count;
        if (Empty()) {
            m_buffer.clear();
            m_head = 0;
        } else if (m_head > 4096 && m_head > m_buffer.size() / 2) {
            m_buffer.erase(0, m_head);
            m_head = 0;
        }
    }

private:
    std::string m_buffer;  // the carry reversed, from m_head on
    size_t m_head = 0;
};

void ReplaceEntities(std::string& line) {
    if (line.find('&') == std::string::npos) {
        return;
    }
    ReplaceAll(line, "&quot;", "\"");
    ReplaceAll(line, "&nbsp;", "");
    ReplaceAll(line, "&QUOT;", "\"");
    ReplaceAll(line, "&NBSP;", "");
}

}  // namespace

void CConvert::MakeDosText(std::string& text, const CharSet& hebrewSet) {
    const std::string_view source(text);
    std::string output;
    output.reserve(source.size() + source.size() / 2 + 16);
    ReversedCarry carry;  // the line being built, then the overflow carried on
    std::string line;
    bool afterEmpty = false;
    size_t pos = 0;

    // One line: the text line (empty in prefix mode) with the carry joined to
    // its right end after a space, cut to the wrap width, recoded and written.
    auto emitLine = [&](std::string_view textLine, bool prefixMode) {
        const bool carried = !carry.Empty();
        if (carried && carry.First() != ' ') {
            carry.Prepend(" ");
        }
        carry.Prepend(textLine);
        const size_t length = carry.Size();
        size_t keep = length;  // bytes of the line's right end that stay on this line
        if (length > kDosWrapWidth) {
            // Cut at the first space at or after length - 65. A line with no
            // space there is written whole rather than carried on: carrying it
            // would never make it shorter.
            const size_t space = carry.LastSpaceFromRight(kDosWrapWidth);
            if (space != std::string::npos) {
                keep = space + 1;
            }
        }
        carry.TakeRight(keep, line);
        if (!carry.Empty() && prefixMode) {
            carry.Append("\r\n");
        }

        ReplaceEntities(line);
        if (hebrewSet.AnyIn(line)) {
            for (char& c : line) {
                const unsigned char u = static_cast<unsigned char>(c);
                if (u >= 0xE0 && u <= 0xFA) {
                    c = static_cast<char>(u - 0x60);
                }
            }
            if (line.size() < kDosScreenWidth) {
                output.append(kDosScreenWidth - line.size(), ' ');
            }
        }
        output.append(line);
        if (line != "\r\n") {
            output.append("\r\n");
        }
    };

    while (pos < source.size()) {
        if (afterEmpty) {
            afterEmpty = false;
            emitLine({}, true);
            continue;
        }
        const size_t end = source.find("\r\n", pos);
        std::string_view textLine;
        if (end == std::string_view::npos) {
            textLine = source.substr(pos);
            pos = source.size();
        } else {
            textLine = source.substr(pos, end - pos);
            pos = end + 2;
        }
        afterEmpty = textLine.empty();
        emitLine(textLine, false);
    }
    while (!carry.Empty()) {
        emitLine({}, false);
    }
    text.swap(output);
}
