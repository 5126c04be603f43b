#pragma once

// Shared pieces of the engine's fuzz targets: a checked assertion that aborts,
// a reader that takes parameters off the front of the input, byte counts and
// the output bounds of the operations that more than one target needs.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

// Aborts with the failed condition; libFuzzer then saves the input that did it.
#define FUZZ_CHECK(cond)                                                                  \
    do {                                                                                  \
        if (!(cond)) {                                                                    \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #cond); \
            std::abort();                                                                 \
        }                                                                                 \
    } while (false)

namespace fuzz {

// Takes parameters off the front of the input; what is left is the text. Reads
// past the end give zero bytes, so every input is usable.
class ByteReader {
public:
    ByteReader(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}

    uint8_t Byte() { return m_pos < m_size ? m_data[m_pos++] : 0; }

    int32_t Int32() {
        uint32_t value = 0;
        for (int i = 0; i < 4; ++i) {
            value = (value << 8) | Byte();
        }
        return static_cast<int32_t>(value);
    }

    // A string of at most maxLength bytes: one length byte, then the bytes.
    std::string ShortString(size_t maxLength) {
        const size_t length = Byte() % (maxLength + 1);
        std::string result;
        for (size_t i = 0; i < length && m_pos < m_size; ++i) {
            const char c = static_cast<char>(m_data[m_pos++]);
            if (c != '\0') {
                result.push_back(c);
            }
        }
        return result;
    }

    // The rest of the input as engine text. Engine text never holds NUL, so NUL
    // bytes are left out.
    std::string Rest() {
        std::string text;
        text.reserve(m_size - std::min(m_pos, m_size));
        for (; m_pos < m_size; ++m_pos) {
            if (m_data[m_pos] != 0) {
                text.push_back(static_cast<char>(m_data[m_pos]));
            }
        }
        return text;
    }

private:
    const uint8_t* m_data;
    size_t m_size;
    size_t m_pos = 0;
};

// How often each byte value occurs in a text.
using ByteCounts = std::array<size_t, 256>;

inline ByteCounts CountBytes(std::string_view text) {
    ByteCounts counts{};
    for (char c : text) {
        ++counts[static_cast<unsigned char>(c)];
    }
    return counts;
}

inline bool IsHebrewLetter(unsigned v) {
    return v >= 0xE0 && v <= 0xFA;
}
inline bool IsDosLetter(unsigned v) {
    return v >= 0x80 && v <= 0x9A;
}
inline bool IsAsciiAlnum(unsigned v) {
    return (v >= '0' && v <= '9') || (v >= 'A' && v <= 'Z') || (v >= 'a' && v <= 'z');
}
inline bool IsEngineWhiteSpace(unsigned v) {
    return v == ' ' || v == '\t' || v == '\n' || v == '\v' || v == '\f' || v == '\r';
}

inline bool Holds(std::string_view text, unsigned v) {
    return text.find(static_cast<char>(v)) != std::string_view::npos;
}

// Bound of LogicalToVisual. Every byte of a line gives at most one byte except
// the ellipsis 0x85, which gives three; a line separator gives nothing, and
// every line gets CR LF. Each separator holds a CR or LF byte, so there are at
// most (CR and LF bytes) + 1 lines:
//   size <= n + 2 * (0x85 bytes) + 2 * (CR and LF bytes + 1).
// This is within 3n + 2 * lines + 2.
inline size_t LogicalToVisualBound(std::string_view input) {
    const ByteCounts counts = CountBytes(input);
    return input.size() + 2 * counts[0x85] + 2 * (counts['\r'] + counts['\n'] + 1);
}

// The strings WrapVisualLines is given.
struct WrapMarks {
    std::string addToBrokenLine;
    std::string beforeHeb;
    std::string afterHeb;
};

// Bound of WrapVisualLines. A text of n bytes splits into at most n pieces
// (every piece holds a byte of its line, or is an empty line's CR LF). A piece
// adds itself trimmed and at most k bytes of marks: a Hebrew piece the opening
// string and the line mark with their CR LFs, any other piece the closing
// string with its CR LF. The end adds the closing string once more:
//   size <= n + n * k + |afterHeb| + 2.
// Paragraphs then replace each "mark CR LF mark" (2|mark| + 2 bytes) by ten
// bytes and add seven, so each of at most size / (2|mark| + 2) replacements
// grows the text by at most max(0, 8 - 2|mark|).
inline size_t WrapBound(size_t n, const WrapMarks& marks, int breakLines, int addToHebParagraph,
                        int twoCrlfPara) {
    const size_t opening = addToHebParagraph != 0 ? marks.beforeHeb.size() + 2 : 0;
    const size_t lineMark = breakLines > 0 ? marks.addToBrokenLine.size() + 2 : 0;
    const size_t closing = addToHebParagraph != 0 ? marks.afterHeb.size() + 2 : 0;
    const size_t k = std::max(opening + lineMark, closing);
    size_t bound = n + n * k + closing;
    if (twoCrlfPara != 0) {
        const size_t doubled = 2 * marks.addToBrokenLine.size() + 2;
        const size_t growth = doubled < 10 ? 10 - doubled : 0;
        bound += (bound / doubled) * growth + 7;
    }
    return bound;
}

}  // namespace fuzz
