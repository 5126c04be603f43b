#include "convert/linereverser.h"

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstring>

// MIRVAL_SCALAR_REVERSER builds the byte-at-a-time path alone, so that the
// tests run it on machines whose processors take the vector path.
#if (defined(__x86_64__) || defined(__i386__)) && (defined(__GNUC__) || defined(__clang__)) && \
    !defined(MIRVAL_SCALAR_REVERSER)
#include <immintrin.h>
#define MIRVAL_REVERSER_AVX2 1
#endif

namespace {

// Fills nibble tables for the set of bytes where member[b] holds: each high
// nibble whose low nibbles form a set not seen before gets a bit of its own.
// False when more than eight different sets of low nibbles occur.
template <typename Tables>
bool BuildNibbles(const std::array<bool, 256>& member, Tables& tables) {
    uint16_t lowSets[8] = {};
    int count = 0;
    for (int high = 0; high < 16; ++high) {
        uint16_t lows = 0;
        for (int low = 0; low < 16; ++low) {
            lows = static_cast<uint16_t>(lows | (member[high * 16 + low] ? 1u << low : 0u));
        }
        unsigned char bit = 0;
        if (lows != 0) {
            int k = 0;
            while (k < count && lowSets[k] != lows) {
                ++k;
            }
            if (k == count) {
                if (count == 8) {
                    return false;
                }
                lowSets[count++] = lows;
            }
            bit = static_cast<unsigned char>(1u << k);
        }
        tables.hi[high] = tables.hi[high + 16] = bit;
    }
    for (int low = 0; low < 16; ++low) {
        unsigned char bits = 0;
        for (int k = 0; k < count; ++k) {
            bits = static_cast<unsigned char>(bits | ((lowSets[k] >> low) & 1u ? 1u << k : 0u));
        }
        tables.lo[low] = tables.lo[low + 16] = bits;
    }
    return true;
}

#ifdef MIRVAL_REVERSER_AVX2
// The nibble tables of one set, loaded into registers.
struct SetTables {
    __m256i lo;
    __m256i hi;
};

// The bits of 32 bytes, given as their low and high nibbles, that belong to a set.
__attribute__((target("avx2"))) inline uint32_t SetBits32(__m256i low, __m256i high,
                                                          const SetTables& tables) {
    const __m256i both =
        _mm256_and_si256(_mm256_shuffle_epi8(tables.lo, low), _mm256_shuffle_epi8(tables.hi, high));
    return ~static_cast<uint32_t>(
        _mm256_movemask_epi8(_mm256_cmpeq_epi8(both, _mm256_setzero_si256())));
}

// The plain and the run bits of 32 bytes; the bytes of the special set are
// or-ed into `special` (not zero where one of them occurs).
__attribute__((target("avx2"))) inline void Classify32(__m256i bytes, const SetTables& plainSet,
                                                       const SetTables& runSet,
                                                       const SetTables& specialSet, uint32_t& plain,
                                                       uint32_t& run, __m256i& special) {
    const __m256i nibble = _mm256_set1_epi8(0x0F);
    const __m256i low = _mm256_and_si256(bytes, nibble);
    const __m256i high = _mm256_and_si256(_mm256_srli_epi16(bytes, 4), nibble);
    plain = SetBits32(low, high, plainSet);
    run = SetBits32(low, high, runSet);
    special = _mm256_or_si256(special, _mm256_and_si256(_mm256_shuffle_epi8(specialSet.lo, low),
                                                        _mm256_shuffle_epi8(specialSet.hi, high)));
}

__attribute__((target("avx2"))) inline __m256i Load32(const void* at) {
    return _mm256_loadu_si256(static_cast<const __m256i*>(at));
}

// Writes the bit sets of line[0, n) as LineReverser::Classify describes;
// true when no byte of the line is in the special set.
// Whole 64-byte words in a plain loop, with the tables kept in registers; the
// last 1-63 bytes as at most one whole 32-byte half and the line's last 32
// bytes shifted down to where they start, or a zero-padded copy of a line
// shorter than 32 bytes. Bits past the line stay clear, so every stretch ends
// at n. (Callgrind, 10 MB benchmark text, to-visual, Release: 163 -> 117
// instructions a line here, the run 181.0 -> 175.0 million; CPU-time medians
// of 21 alternating runs 31.5 -> 31.1 ms, --no-break-lines 30.0 -> 29.6 ms.)
__attribute__((target("avx2"))) bool ClassifyAvx2(
    const char* s, size_t n, const unsigned char* plainLo, const unsigned char* plainHi,
    const unsigned char* runLo, const unsigned char* runHi, const unsigned char* specialLo,
    const unsigned char* specialHi, uint64_t* bits) {
    const SetTables plainSet{Load32(plainLo), Load32(plainHi)};
    const SetTables runSet{Load32(runLo), Load32(runHi)};
    const SetTables specialSet{Load32(specialLo), Load32(specialHi)};
    __m256i special = _mm256_setzero_si256();
    uint32_t plain[2];
    uint32_t run[2];
    size_t at = 0;
    for (; at + 64 <= n; at += 64) {
        Classify32(Load32(s + at), plainSet, runSet, specialSet, plain[0], run[0], special);
        Classify32(Load32(s + at + 32), plainSet, runSet, specialSet, plain[1], run[1], special);
        bits[at / 32] = plain[0] | uint64_t{plain[1]} << 32;
        bits[at / 32 + 1] = run[0] | uint64_t{run[1]} << 32;
    }
    if (at == n) {
        return _mm256_testz_si256(special, special) != 0;
    }
    plain[0] = 0;
    run[0] = 0;
    size_t tail = at;  // the last 1-32 bytes start here
    if (n - at > 32) {
        Classify32(Load32(s + at), plainSet, runSet, specialSet, plain[0], run[0], special);
        tail = at + 32;
    }
    __m256i bytes;
    if (n >= 32) {
        bytes = Load32(s + n - 32);
    } else {
        alignas(32) char padded[32] = {};
        std::memcpy(padded + 32 - n, s, n);
        bytes = Load32(padded);
    }
    Classify32(bytes, plainSet, runSet, specialSet, plain[1], run[1], special);
    const unsigned shift = static_cast<unsigned>(32 - (n - tail));
    const unsigned place = static_cast<unsigned>(tail - at);
    bits[at / 32] = plain[0] | uint64_t{plain[1] >> shift} << place;
    bits[at / 32 + 1] = run[0] | uint64_t{run[1] >> shift} << place;
    return _mm256_testz_si256(special, special) != 0;
}

// Writes the 32 bytes at `from` reversed to `to`, with "(" and ")" exchanged:
// reversed within each 16-byte half, then the halves exchanged.
__attribute__((target("avx2"))) inline void ReverseMirrored32(const char* from, char* to) {
    const __m256i reverse = _mm256_setr_epi8(15, 14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0,
                                             15, 14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0);
    const __m256i one = _mm256_set1_epi8(1);
    __m256i v = _mm256_permute4x64_epi64(_mm256_shuffle_epi8(Load32(from), reverse), 0x4E);
    // "(" is 0x28 and ")" 0x29: the low bit of either is flipped.
    const __m256i parenthesis = _mm256_cmpeq_epi8(_mm256_or_si256(v, one), _mm256_set1_epi8(')'));
    v = _mm256_xor_si256(v, _mm256_and_si256(parenthesis, one));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(to), v);
}

// Writes line[0, n) reversed into [end - n, end), with "(" and ")" exchanged:
// 32 bytes a step, the last part as the line's last 32 bytes overlapping the
// previous step, a line shorter than 32 bytes byte by byte.
__attribute__((target("avx2"))) void ReverseMirroredAvx2(const char* s, size_t n, char* end) {
    size_t k = 0;
    for (; k + 32 <= n; k += 32) {
        ReverseMirrored32(s + k, end - k - 32);
    }
    if (k == n) {
        return;
    }
    if (n >= 32) {
        ReverseMirrored32(s + n - 32, end - n);
        return;
    }
    for (; k < n; ++k) {
        const char c = s[k];
        end[-1 - static_cast<std::ptrdiff_t>(k)] = c == '(' ? ')' : c == ')' ? '(' : c;
    }
}
#endif

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
#ifdef MIRVAL_REVERSER_AVX2
    std::array<bool, 256> plain{};
    for (int b = 0; b < 256; ++b) {
        plain[b] = m_class[b] == kPlain;
    }
    m_vector = __builtin_cpu_supports("avx2") && BuildNibbles(plain, m_plainNibbles) &&
               BuildNibbles(m_continuesRun, m_runNibbles);
    // The bytes that change the length of the display form or are not
    // simply mirrored; a line without them takes the whole-line path.
    std::array<bool, 256> special{};
    for (int b = 0; b < 256; ++b) {
        special[b] = m_class[b] != kPlain && m_class[b] != kRunStart && m_class[b] != kParenthesis;
    }
    if (!BuildNibbles(special, m_specialNibbles)) {
        // Every byte special: the whole-line path is never taken.
        std::memset(&m_specialNibbles, 0xFF, sizeof m_specialNibbles);
    }
#endif
}

// The bit sets replace a test of every byte against the class tables with
// one count of trailing zeros a stretch, and with them the mispredicted exit
// of each byte loop. Measured on the 10 MB logical benchmark text with
// callgrind (to-visual --no-break-lines, Release): the reversal took 110.8
// million instructions before, 90.0 with the bit sets (70.1 of them in
// WriteBackwards, 19.9 in classifying); CPU medians of 5 on 100 MB, loaded
// machine, together with the 16-byte stores: 0.428 and 0.449 s before,
// 0.379 and 0.384 s after (two alternating series). Inline in
// WriteBackwards, its only caller, rather than a call a line: 167.5 -> 165.5
// million instructions of to-visual on 10 MB (callgrind, Release; CPU-time
// medians of 31 alternating runs 35.0 -> 34.7 ms on a loaded machine).
inline bool LineReverser::Classify(std::string_view line, bool& noSpecial) const {
#ifdef MIRVAL_REVERSER_AVX2
    if (!m_vector) {
        return false;
    }
    const size_t words = 2 * ((line.size() + 63) / 64);
    if (m_bitsSize < words) {
        m_bitsSize = std::max(words, 2 * m_bitsSize);
        m_bits = std::make_unique_for_overwrite<uint64_t[]>(m_bitsSize);
    }
    noSpecial = ClassifyAvx2(line.data(), line.size(), m_plainNibbles.lo, m_plainNibbles.hi,
                             m_runNibbles.lo, m_runNibbles.hi, m_specialNibbles.lo,
                             m_specialNibbles.hi, m_bits.get());
    return true;
#else
    (void)line;
    (void)noSpecial;
    return false;
#endif
}

size_t LineReverser::NextClear(const uint64_t* bits, size_t from, size_t n) {
    while (from < n) {
        const uint64_t clear = ~bits[2 * (from / 64)] >> (from % 64);
        if (clear != 0) {
            return std::min(n, from + static_cast<size_t>(std::countr_zero(clear)));
        }
        from = (from | 63) + 1;
    }
    return n;
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
    // A short line is given room for three bytes a byte instead of being
    // searched for ellipses (a memchr call a line; measured with callgrind on
    // the 10 MB logical benchmark text: 4% of the instructions of to-visual).
    constexpr size_t kShortLine = 4096;
    const size_t bound = line.size() <= kShortLine ? 3 * line.size() : Bound(line);
    if (!m_scratch || m_scratchSize < bound) {
        // Uninitialised: every byte used is written by WriteBackwards first.
        m_scratchSize = std::max(bound, 2 * m_scratchSize);
        m_scratch = std::make_unique_for_overwrite<char[]>(m_scratchSize + kSlack);
    }
    char* const end = m_scratch.get() + kSlack + bound;
    const char* const start = WriteBackwards(line, end);
    out.append(start, static_cast<size_t>(end - start));
}

// The run: the longest stretch of run bytes, punctuation and spaces from
// s[i], a run byte, on. A trailing space goes to its front; final
// punctuation is left to be placed on its own (with the space after it); a
// leading minus sign goes to its right end. The adjusted run holds the byte
// it started with, so the scan always moves on; bytes dropped from its end
// are scanned again as single bytes. Written in front of p, which is moved
// to its start; returns the index after the adjusted run. kExact: no byte
// before the run is stored (else up to 16 bytes, which are overwritten later).
template <bool kExact>
inline size_t LineReverser::WriteRun(const char* s, size_t i, size_t n, const uint64_t* bits,
                                     char*& p) const {
    size_t j = i + 1;
    if (bits != nullptr) {
        j = NextClear(bits + 1, j, n);
    } else {
        while (j < n && m_continuesRun[static_cast<unsigned char>(s[j])]) {
            ++j;
        }
    }
    const bool trailingSpace = s[j - 1] == ' ';
    size_t coreEnd = trailingSpace ? j - 1 : j;
    bool leadingSpace = trailingSpace;
    if (m_rules.punctuation.Contains(s[coreEnd - 1]) && coreEnd - 1 > i) {
        --coreEnd;
        leadingSpace = false;
    }
    const size_t length = coreEnd - i + (leadingSpace ? 1 : 0);
    const size_t core = coreEnd - i;
    if (!kExact && core <= 16 && coreEnd >= 16) {
        // The 16 bytes that end with the core, stored so that
        // they end where the run does; the bytes stored before
        // the core are overwritten later (the space just below).
        char bytes[16];
        std::memcpy(bytes, s + coreEnd - 16, 16);
        std::memcpy(p - 16, bytes, 16);
#if defined(MIRVAL_REVERSER_AVX2) && defined(__SSE2__)
    } else if (kExact && core <= 16 && coreEnd >= 16) {
        // The same 16 bytes blended with the 16 - core bytes already in
        // place before the run, in one store without a branch on the
        // length (CopyShort's four cases). Callgrind, 10 MB benchmark text,
        // to-visual, Release: 160.1 -> 161.0 million instructions, but
        // CPU-time medians of two series of 15 and 31 alternating runs 36.2
        // -> 35.3 and 35.0 -> 34.1 ms, --no-break-lines 33.6 -> 33.2 and
        // 32.0 -> 31.7 ms: fewer mispredicted branches.
        const __m128i index = _mm_setr_epi8(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15);
        const __m128i keep = _mm_cmplt_epi8(index, _mm_set1_epi8(static_cast<char>(16 - core)));
        const __m128i before = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p - 16));
        const __m128i run = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + coreEnd - 16));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(p - 16),
                         _mm_or_si128(_mm_and_si128(keep, before), _mm_andnot_si128(keep, run)));
#endif
    } else {
        CopyShort(p - core, s + i, core);
    }
    p -= length;
    if (leadingSpace) {
        *p = ' ';
    }
    // "-x" becomes "x-"; " -x" becomes " x-".
    if (p[0] == '-') {
        std::memmove(p, p + 1, length - 1);
        p[length - 1] = '-';
    }
    if (length >= 2 && p[0] == ' ' && p[1] == '-') {
        std::memmove(p + 1, p + 2, length - 2);
        p[length - 1] = '-';
    }
    return i + length;
}

char* LineReverser::WriteBackwards(std::string_view line, char* end) const {
    // Every block is put in front of what was built so far, so the line is
    // written backwards from its end. Runs hold no parentheses, so only
    // single bytes need mirroring.
    char* p = end;
    const size_t n = line.size();
    const char* const s = line.data();
    bool noSpecial = false;
    const uint64_t* const bits = Classify(line, noSpecial) ? m_bits.get() : nullptr;
#ifdef MIRVAL_REVERSER_AVX2
    if (noSpecial) {
        // Every byte is plain, a parenthesis or in a run, and the display
        // form is as long as the line: byte k of a plain stretch goes to
        // end - 1 - k, and a run that starts at byte i ends at end - i. So
        // the whole line is written reversed and mirrored in 32-byte steps,
        // and each run is then written over its place in its own order.
        // Plain stretches cost nothing more, and the runs are found by the
        // plain bits alone. Lines with an entity, a tab or a dropped byte
        // take the stretch loop below (41% of the benchmark text's lines).
        // (Callgrind, 10 MB benchmark text, to-visual, Release: 161.1 ->
        // 160.1 million instructions: this function 67.3 -> 58.0, the
        // classification with the special set 15.4 -> 19.8, the whole-line
        // copy 3.9; CPU-time medians of 21 alternating runs on a loaded
        // machine 36.9 -> 36.0 ms, --no-break-lines 34.9 -> 34.7 ms.)
        ReverseMirroredAvx2(s, n, end);
        for (size_t i = NextClear(bits, 0, n); i < n; i = NextClear(bits, i, n)) {
            if (m_class[static_cast<unsigned char>(s[i])] == kParenthesis) {
                ++i;
                continue;
            }
            char* at = end - i;
            i = WriteRun<true>(s, i, n, bits, at);
        }
        return end - n;
    }
#endif
    size_t i = 0;
    while (i < n) {
        // The plain stretch at i, if any, then the stretch of another kind
        // that must follow it. Plain stretches and runs alternate in most
        // lines, so the plain one is tested first as one bit and the run
        // second, and only the rarer kinds go through the switch: two
        // branches that mostly go the same way instead of a jump through a
        // table to one of seven places. (Callgrind, 10 MB benchmark text,
        // to-visual, Release: 165.6 -> 161.1 million instructions; CPU-time
        // medians of 21 alternating runs on a loaded machine 39.7 -> 39.1
        // ms, --no-break-lines 35.5 -> 34.7 ms.)
        size_t j = i;
        if (bits != nullptr) {
            j = NextClear(bits, i, n);
        } else {
            // The stretch's end is found eight bytes at a time over Hebrew
            // letters and spaces (NeitherLetterNorSpace marks the first
            // other byte, which the class table then decides). Measured with
            // callgrind on the 10 MB logical benchmark text (to-visual
            // --no-break-lines, Release), this function: 113.0 million
            // instructions with a class test per byte, 111.8 with the word
            // test alone, 110.8 with this scan and ReverseCopy (2% in all).
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
        }
        if (j > i) {
            // Most of a Hebrew line: bytes that are simply put in front,
            // written reversed a word at a time (ReverseCopy).
            if (j - i <= 16 && i + 16 <= n) {
                // A short stretch as 16 bytes reversed in one go; the
                // bytes stored before it are overwritten later.
                uint64_t first;
                uint64_t second;
                std::memcpy(&first, s + i, 8);
                std::memcpy(&second, s + i + 8, 8);
                first = __builtin_bswap64(first);
                second = __builtin_bswap64(second);
                std::memcpy(p - 16, &second, 8);
                std::memcpy(p - 8, &first, 8);
            } else {
                ReverseCopy(s + i, j - i, p);
            }
            p -= j - i;
            i = j;
            if (i == n) {
                break;
            }
        }
        const unsigned char c = static_cast<unsigned char>(s[i]);
        const unsigned char kind = m_class[c];
        if (kind == kRunStart) {
            i = WriteRun<false>(s, i, n, bits, p);
            continue;
        }
        switch (kind) {
            case kPlain:
            case kRunStart:
                break;  // handled above
            case kParenthesis:
                *--p = c == '(' ? ')' : '(';
                ++i;
                break;
            case kDropped:
                ++i;
                break;
            case kEllipsis:
                p -= 3;
                std::memcpy(p, "...", 3);
                ++i;
                break;
            case kAmpersand: {
                // The six bytes compared as fixed-size memcmp calls, which the
                // compiler turns into two integer compares each (measured with
                // callgrind on the 10 MB logical benchmark text: the calls of
                // StartsWith and memcmp took 8.5 million instructions; the
                // whole run fell from 215.3 to 206.1 million).
                const char* const at = s + i;
                const bool six = n - i >= 6;
                const auto is = [at](const char* entity) {
                    return std::memcmp(at, entity, 6) == 0;
                };
                if (six && (is("&quot;") || is("&QUOT;"))) {
                    *--p = '"';
                    i += 6;
                } else if (six && (is("&nbsp;") || is("&NBSP;"))) {
                    i += 6;
                } else {
                    *--p = '&';
                    ++i;
                }
                break;
            }
            case kTab:
                *--p = ' ';
                ++i;
                break;
        }
    }

    return p;
}
