#include "convert/linereverser.h"

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstring>

namespace {

bool StartsWith(std::string_view text, size_t pos, std::string_view prefix) {
    return text.compare(pos, prefix.size(), prefix) == 0;
}

size_t CountByte(std::string_view text, char byte) {
    size_t count = 0;
    for (const char* p = text.data();
         (p = static_cast<const char*>(std::memchr(p, byte, text.data() + text.size() - p))) !=
         nullptr;
         ++p) {
        ++count;
    }
    return count;
}

// Writes src[0, length) reversed into [end - length, end): eight bytes at a
// time, loaded as one word, byte-swapped (which reverses them in either byte
// order) and stored as one word; the last part as one word overlapping the
// previous, or byte by byte when the whole is shorter than a word.
void ReverseCopy(const char* src, size_t length, char* end) {
    size_t k = 0;
    for (; k + 8 <= length; k += 8) {
        uint64_t word;
        std::memcpy(&word, src + k, 8);
        word = __builtin_bswap64(word);
        std::memcpy(end - k - 8, &word, 8);
    }
    if (k == length) {
        return;
    }
    if (length >= 8) {
        uint64_t word;
        std::memcpy(&word, src + length - 8, 8);
        word = __builtin_bswap64(word);
        std::memcpy(end - length, &word, 8);
        return;
    }
    for (; k < length; ++k) {
        end[-1 - static_cast<std::ptrdiff_t>(k)] = src[k];
    }
}

// memcpy for the short runs of a line, without a call: two overlapping words.
// (Measured with perf on the 100 MB benchmark text: the library call for
// runs of a few bytes was part of the 9-12% spent in memmove.)
void CopyShort(char* dst, const char* src, size_t length) {
    if (length >= 8 && length <= 16) {
        uint64_t first;
        uint64_t last;
        std::memcpy(&first, src, 8);
        std::memcpy(&last, src + length - 8, 8);
        std::memcpy(dst, &first, 8);
        std::memcpy(dst + length - 8, &last, 8);
    } else if (length >= 4 && length < 8) {
        uint32_t first;
        uint32_t last;
        std::memcpy(&first, src, 4);
        std::memcpy(&last, src + length - 4, 4);
        std::memcpy(dst, &first, 4);
        std::memcpy(dst + length - 4, &last, 4);
    } else if (length < 4) {
        for (size_t k = 0; k < length; ++k) {
            dst[k] = src[k];
        }
    } else {
        std::memcpy(dst, src, length);
    }
}

}  // namespace

LineReverser::LineReverser(const ReverseRules& rules) : m_rules(rules) {
    for (int b = 0; b < 256; ++b) {
        const unsigned char c = static_cast<unsigned char>(b);
        m_continuesRun[c] = rules.runSet.Contains(c) || rules.punctuation.Contains(c) || c == ' ';
        if (rules.runSet.Contains(c)) {
            m_class[c] = kRunStart;
        } else if (c == 0x85) {
            m_class[c] = kEllipsis;
        } else if (c >= 0x80 && c <= 0xDF) {
            m_class[c] = kDropped;
        } else if (c == '&' && rules.entities) {
            m_class[c] = kAmpersand;
        } else if (c == '\t' && rules.tabToSpace) {
            m_class[c] = kTab;
        } else if (c == '(' || c == ')') {
            m_class[c] = kParenthesis;
        } else {
            m_class[c] = kPlain;
        }
    }
    m_wordTest = m_class[' '] == kPlain;
    for (int b = 0xE0; b < 256; ++b) {
        m_wordTest = m_wordTest && m_class[b] == kPlain;
    }
}

uint64_t LineReverser::NeitherLetterNorSpace(uint64_t word) {
    // A byte is zero exactly where ZeroBytes sets its high bit; the sum
    // cannot carry between bytes because the high bits are masked first.
    constexpr uint64_t kOnes = 0x0101010101010101ULL;
    constexpr uint64_t kHigh = 0x8080808080808080ULL;
    const auto zeroBytes = [](uint64_t x) { return ~(((x & ~kHigh) + ~kHigh) | x) & kHigh; };
    const uint64_t letters = zeroBytes((word & (0xE0 * kOnes)) ^ (0xE0 * kOnes));
    const uint64_t spaces = zeroBytes(word ^ (0x20 * kOnes));
    return ~(letters | spaces) & kHigh;
}

size_t LineReverser::Bound(std::string_view line) {
    return line.size() + 2 * CountByte(line, '\x85');
}

void LineReverser::Append(std::string_view line, std::string& out) const {
    const size_t bound = Bound(line);
    if (m_scratchSize < bound) {
        // Uninitialised: every byte used is written by WriteBackwards first.
        m_scratchSize = std::max(bound, 2 * m_scratchSize);
        m_scratch = std::make_unique_for_overwrite<char[]>(m_scratchSize);
    }
    char* const end = m_scratch.get() + bound;
    const char* const start = WriteBackwards(line, end);
    out.append(start, static_cast<size_t>(end - start));
}

char* LineReverser::WriteBackwards(std::string_view line, char* end) const {
    // Every block is put in front of what was built so far, so the line is
    // written backwards from its end. Runs hold no parentheses, so only
    // single bytes need mirroring.
    char* p = end;
    const size_t n = line.size();
    const char* const s = line.data();
    size_t i = 0;
    while (i < n) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        switch (m_class[c]) {
            case kPlain: {
                // Most of a Hebrew line: bytes that are simply put in front.
                // The stretch's end is found eight bytes at a time over
                // Hebrew letters and spaces (NeitherLetterNorSpace marks the
                // first other byte, which the class table then decides), and
                // the stretch is written reversed a word at a time
                // (ReverseCopy). Measured with callgrind on the 10 MB logical
                // benchmark text (to-visual --no-break-lines, Release), this
                // function: 113.0 million instructions with a class test per
                // byte, 111.8 with the word test alone, 110.8 with this scan
                // and ReverseCopy (2% in all). The text's plain stretches are
                // short (a few Hebrew words between Latin runs), so the CPU
                // time gained there is within the noise of a shared machine;
                // long Hebrew passages gain more.
                size_t j = i + 1;
                for (;;) {
                    if (m_wordTest && j + 8 <= n) {
                        uint64_t word;
                        std::memcpy(&word, s + j, 8);
                        const uint64_t other = NeitherLetterNorSpace(word);
                        if (other == 0) {
                            j += 8;
                            continue;
                        }
                        j += static_cast<size_t>(std::endian::native == std::endian::little
                                                     ? std::countr_zero(other)
                                                     : std::countl_zero(other)) /
                             8;
                    }
                    if (j < n && m_class[static_cast<unsigned char>(s[j])] == kPlain) {
                        ++j;
                        continue;
                    }
                    break;
                }
                ReverseCopy(s + i, j - i, p);
                p -= j - i;
                i = j;
                break;
            }
            case kParenthesis:
                *--p = c == '(' ? ')' : '(';
                ++i;
                break;
            case kRunStart: {
                // The run: the longest stretch of run bytes, punctuation and
                // spaces. A trailing space goes to its front; final
                // punctuation is left to be placed on its own (with the
                // space after it); a leading minus sign goes to its right
                // end. The adjusted run holds the byte it started with, so
                // the scan always moves on; bytes dropped from its end are
                // scanned again as single bytes.
                size_t j = i + 1;
                while (j < n && m_continuesRun[static_cast<unsigned char>(s[j])]) {
                    ++j;
                }
                const bool trailingSpace = s[j - 1] == ' ';
                size_t coreEnd = trailingSpace ? j - 1 : j;
                bool leadingSpace = trailingSpace;
                if (m_rules.punctuation.Contains(s[coreEnd - 1]) && coreEnd - 1 > i) {
                    --coreEnd;
                    leadingSpace = false;
                }
                const size_t length = coreEnd - i + (leadingSpace ? 1 : 0);
                p -= length;
                char* w = p;
                if (leadingSpace) {
                    *w++ = ' ';
                }
                CopyShort(w, s + i, coreEnd - i);
                // "-x" becomes "x-"; " -x" becomes " x-".
                if (p[0] == '-') {
                    std::memmove(p, p + 1, length - 1);
                    p[length - 1] = '-';
                }
                if (length >= 2 && p[0] == ' ' && p[1] == '-') {
                    std::memmove(p + 1, p + 2, length - 2);
                    p[length - 1] = '-';
                }
                i += length;
                break;
            }
            case kDropped:
                ++i;
                break;
            case kEllipsis:
                p -= 3;
                std::memcpy(p, "...", 3);
                ++i;
                break;
            case kAmpersand:
                if (StartsWith(line, i, "&quot;") || StartsWith(line, i, "&QUOT;")) {
                    *--p = '"';
                    i += 6;
                } else if (StartsWith(line, i, "&nbsp;") || StartsWith(line, i, "&NBSP;")) {
                    i += 6;
                } else {
                    *--p = '&';
                    ++i;
                }
                break;
            case kTab:
                *--p = ' ';
                ++i;
                break;
        }
    }

    return p;
}
