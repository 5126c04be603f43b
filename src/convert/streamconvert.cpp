#include "convert/streamconvert.h"

#include <string.h>
#include <algorithm>
#include <bit>
#include <cstdint>

#include <cstring>
#include <utility>

#include "convert/charset.h"
#include "convert/conversionchain.h"
#include "convert/convertinto.h"
#include "convert/linereverser.h"
#include "convert/textsearch.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace conversion {

namespace {

constexpr CharSet kLatinRunSet{charsets::kLatinRun};
constexpr CharSet kRunPunctuationSet{charsets::kRunPunctuation};
constexpr std::string_view kSeparators[3] = {"\r\r\n", "\r\n", "\n"};

// Whether "\r\r\n" occurs in `text`. Two CRs in a row are looked for 64
// positions at a time, compared as vectors (GCC and Clang vector extensions)
// and tested as two words, with no branch per line; only a stretch that holds
// them is searched exactly. (Measured with callgrind on the 10 MB logical
// benchmark text, to-visual --no-break-lines, Release: a memchr per line end
// through FindSeparator took 12.4 million instructions of the first pass,
// three vector compares a position 7.5 million, two 5.9.)
bool ContainsCrCrLf(std::string_view text) {
    using Bytes = unsigned char __attribute__((vector_size(16)));
    const char* const s = text.data();
    const size_t n = text.size();
    const auto pairs = [s](size_t at) {
        Bytes first;
        Bytes second;
        std::memcpy(&first, s + at, 16);
        std::memcpy(&second, s + at + 1, 16);
        return (first == '\r') & (second == '\r');
    };
    size_t i = 0;
    for (; i + 65 <= n; i += 64) {
        const auto hit = pairs(i) | pairs(i + 16) | pairs(i + 32) | pairs(i + 48);
        uint64_t words[2];
        std::memcpy(words, &hit, 16);
        if ((words[0] | words[1]) != 0 &&
            text.substr(i, 66).find("\r\r\n") != std::string_view::npos) {
            return true;
        }
    }
    return text.find("\r\r\n", i) != std::string_view::npos;
}

// The line feeds of text[from, end) one after another. They are found 64
// bytes at a time as one word of bits, one a byte (SSE2 compares gathered by
// movemask, which every x86-64 processor has; a byte loop elsewhere), and each
// is then one count of trailing zeros, with no branch per 16 bytes. (Replaces
// a search of 16 bytes a step from each line feed on. Callgrind, 10 MB
// benchmark text, to-visual, Release: the run 175.0 -> 172.2 million
// instructions; CPU-time medians of 21 alternating runs 33.4 -> 33.5 ms,
// --no-break-lines 31.5 -> 31.2 ms, within the noise of a shared machine.)
class LineFeeds {
public:
    LineFeeds(std::string_view text, size_t from)
        : m_s(text.data()), m_n(text.size()), m_base(from) {
        Load();
    }

    // The next line feed, or npos.
    size_t Next() {
        while (m_bits == 0) {
            m_base += 64;
            if (m_base >= m_n) {
                return std::string_view::npos;
            }
            Load();
        }
        const size_t at = m_base + static_cast<size_t>(std::countr_zero(m_bits));
        m_bits &= m_bits - 1;
        return at;
    }

private:
    // The bits of the line feeds in [m_base, m_base + 64) inside the text.
    void Load() {
        m_bits = 0;
        if (m_base >= m_n) {
            return;
        }
#if defined(__SSE2__)
        if (m_base + 64 <= m_n) {
            const __m128i lf = _mm_set1_epi8('\n');
            for (int k = 0; k < 4; ++k) {
                const __m128i bytes =
                    _mm_loadu_si128(reinterpret_cast<const __m128i*>(m_s + m_base + 16 * k));
                const auto mask =
                    static_cast<uint16_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, lf)));
                m_bits |= uint64_t{mask} << (16 * k);
            }
            return;
        }
#endif
        const size_t count = std::min<size_t>(64, m_n - m_base);
        for (size_t k = 0; k < count; ++k) {
            m_bits |= uint64_t{m_s[m_base + k] == '\n'} << k;
        }
    }

    const char* m_s;
    size_t m_n;
    size_t m_base;        // the first byte of the word in m_bits
    uint64_t m_bits = 0;  // the line feeds of the word not yet handed out
};

// The bytes a stage could not use yet, put in front of its next input.
class Carry {
public:
    // The carried bytes followed by `in`; `in` itself when nothing is carried.
    std::string_view Join(std::string_view in) {
        m_old = m_bytes.size();
        if (m_bytes.empty()) {
            return in;
        }
        m_bytes.append(in);
        return m_bytes;
    }
    // How many bytes of the joined text an earlier call has seen already.
    size_t Old() const { return m_old; }
    // Keeps joined[used, end) for the next call.
    void Keep(std::string_view joined, size_t used) {
        if (!m_bytes.empty() && joined.data() == m_bytes.data()) {
            m_bytes.erase(0, used);
        } else {
            m_bytes.assign(joined.substr(used));
        }
    }

private:
    std::string m_bytes;
    size_t m_old = 0;
};

// The part of a line split that an earlier call searched already: no
// separator of `sepLength` bytes starts before the returned index.
size_t Searched(const Carry& carry, size_t sepLength) {
    return carry.Old() >= sepLength ? carry.Old() - (sepLength - 1) : 0;
}

// Passes the text on unchanged.
class PassStage : public StreamStage {
public:
    void Feed(std::string_view in, bool, std::string& out) override { out.append(in); }
};

// Drops the text.
class DropStage : public StreamStage {
public:
    void Feed(std::string_view, bool, std::string&) override {}
};

// LogicalToVisual's reversal without trimming (the table paste): each line
// (up to the separator) in display order followed by CR LF.
class ReverseStage : public StreamStage {
public:
    explicit ReverseStage(std::string separator)
        : m_separator(std::move(separator)),
          m_rules{kLatinRunSet, kRunPunctuationSet, true, false},
          m_reverser(m_rules) {}

    void Feed(std::string_view in, bool final, std::string& out) override {
        const std::string_view text = m_carry.Join(in);
        const std::string_view sep = m_separator;
        size_t pos = 0;
        size_t from = Searched(m_carry, sep.size());
        for (;;) {
            const size_t end = FindSeparator(text, std::max(pos, from), sep);
            if (end == std::string_view::npos) {
                break;
            }
            m_reverser.Append(text.substr(pos, end - pos), out);
            out.append("\r\n", 2);
            pos = end + sep.size();
        }
        if (final && pos < text.size()) {
            m_reverser.Append(text.substr(pos), out);
            out.append("\r\n", 2);
            pos = text.size();
        }
        m_carry.Keep(text, pos);
    }

private:
    std::string m_separator;
    ReverseRules m_rules;
    LineReverser m_reverser;
    Carry m_carry;
};

// A stage that writes into a ByteSink; its output for a std::string passes
// through a sink of its own first.
class SinkStage : public StreamStage {
public:
    void Feed(std::string_view in, bool final, std::string& out) final {
        FeedInto(in, final, m_sink);
        out.append(m_sink.View());
        m_sink.Clear();
    }
    bool FeedInto(std::string_view in, bool final, ByteSink& out) override = 0;

private:
    ByteSink m_sink;
};

// LogicalToVisual's reversal (trimmed) followed by WrapVisualLines, fused:
// each line is turned around and appended to a short holding buffer, and
// every line of the trimmed result that is complete there goes straight to
// the wrapper. The reversed text never exists as a whole block, so it is not
// copied between stages, carried over block ends or searched for CR LF again.
// A line of the trimmed result is complete once a byte other than white space
// follows its CR LF; the text ends at its last such byte.
class VisualStage : public SinkStage {
public:
    VisualStage(std::string separator, const ConversionSettings& s)
        : m_separator(std::move(separator)),
          m_rules{kLatinRunSet, kRunPunctuationSet, true, s.RemoveTag != 0},
          m_reverser(m_rules),
          m_wrapper(s.BreakLinesAt, s.BreakLines, s.AddToBrokenLine, s.AddToHebParagraph,
                    s.BeforeHebParagraph, s.AfterHebParagraph) {}

    bool FeedInto(std::string_view in, bool final, ByteSink& out) override {
        const std::string_view text = m_carry.Join(in);
        const std::string_view sep = m_separator;
        size_t pos = 0;
        const size_t from = Searched(m_carry, sep.size());
        // Whether the line at `pos` holds a line feed of its own (assumed
        // for a carried line, whose start was searched before).
        bool lineFeed = from > 0;
        if (sep.back() == '\n') {
            // Every line feed is looked at once: it ends a line where the
            // separator ends there, else it is part of the line.
            const size_t before = sep.size() - 1;
            LineFeeds lineFeeds(text, from);
            for (size_t lf = lineFeeds.Next(); lf != std::string_view::npos;
                 lf = lineFeeds.Next()) {
                bool ends = lf >= pos + before;
                for (size_t k = 0; ends && k < before; ++k) {
                    ends = text[lf - before + k] == sep[k];
                }
                // For the converter's check of facts judged from a text's
                // start, here where every line feed is looked at anyway
                // instead of a search of its own (callgrind, 10 MB benchmark
                // text, to-visual: the run 172.2 -> 167.5 million
                // instructions; CPU-time medians of 21 alternating runs 33.6
                // -> 33.1 ms, --no-break-lines 31.0 -> 30.8 ms). The byte
                // before the text, where there is one, is a line feed: the
                // last one of the text before it.
                m_crCrLf = m_crCrLf || (lf >= 2 && text[lf - 1] == '\r' && text[lf - 2] == '\r');
                if (ends) {
                    AddLine(text.substr(pos, lf - before - pos), lineFeed, out);
                    pos = lf + 1;
                    lineFeed = false;
                } else {
                    lineFeed = true;
                }
            }
        } else {
            for (;;) {
                const size_t end = FindSeparator(text, std::max(pos, from), sep);
                if (end == std::string_view::npos) {
                    break;
                }
                AddLine(text.substr(pos, end - pos), true, out);
                pos = end + sep.size();
            }
            lineFeed = true;
        }
        if (final && pos < text.size()) {
            AddLine(text.substr(pos), lineFeed, out);
            pos = text.size();
        }
        m_carry.Keep(text, pos);
        if (final) {
            if (m_started) {
                // The last line: up to the text's last byte other than white space.
                const std::string_view held = Held();
                m_wrapper.Line(held.substr(0, LastNonWhite(held, 0)), out);
            }
            m_hold.clear();
            m_holdStart = 0;
            m_wrapper.Finish(out);
        }
        return true;
    }

    bool CrCrLfSeen() const override { return m_crCrLf; }

private:
    std::string_view Held() const { return std::string_view(m_hold).substr(m_holdStart); }

    // The end of held[begin, size) without its trailing white space.
    static size_t LastNonWhite(std::string_view held, size_t begin) {
        size_t last = held.size();
        while (last > begin && kWhiteSpaceSet.Contains(held[last - 1])) {
            --last;
        }
        return last;
    }

    // `lineFeed`: the line may hold a line feed (so its reversed form a CR LF).
    void AddLine(std::string_view line, bool lineFeed, ByteSink& out) {
        const size_t oldEnd = m_started ? m_hold.size() - m_holdStart : 0;
        m_reverser.Append(line, m_hold);
        m_hold.append("\r\n", 2);
        std::string_view held = Held();
        size_t begin = 0;
        if (!m_started) {
            // White space at the start of the text is dropped.
            while (begin < held.size() && kWhiteSpaceSet.Contains(held[begin])) {
                ++begin;
            }
            if (begin == held.size()) {
                m_hold.clear();
                m_holdStart = 0;
                return;
            }
            m_started = true;
            m_holdStart += begin;
            held = Held();
            begin = 0;
        }
        // Every CR LF before the last byte other than white space ends a
        // complete line; an empty one marks a line break.
        const size_t last = LastNonWhite(held, m_searched);
        size_t lineStart = 0;
        const auto complete = [&](size_t crlf) {
            const std::string_view line = held.substr(lineStart, crlf - lineStart);
            m_wrapper.Line(line.empty() ? std::string_view("\r\n") : line, out);
            lineStart = crlf + 2;
        };
        if (lineFeed) {
            const std::string_view upTo = held.substr(0, last);
            for (size_t crlf = FindSeparator(upTo, m_searched, "\r\n");
                 crlf != std::string_view::npos; crlf = FindSeparator(upTo, lineStart, "\r\n")) {
                complete(crlf);
            }
        } else {
            // Without a line feed in the new line, a CR LF can only be in the
            // white space held before it (usually just the last CR LF).
            // (Measured with callgrind on the 10 MB benchmark text together
            // with the line feed search in Feed: splitting lines and finding
            // CR LF took 47.9 million instructions through FindSeparator and
            // memchr, 35.2 million so; the run 196.9 -> 184.2 million.)
            const size_t end = std::min(last, oldEnd);
            for (size_t c = m_searched; c < end; ++c) {
                if (held[c] == '\r' && c + 1 < last && held[c + 1] == '\n') {
                    complete(c);
                }
            }
        }
        // No CR LF starts before the last byte other than white space now.
        m_searched = std::max(last, lineStart) - lineStart;
        m_holdStart += lineStart;
        if (m_holdStart >= 4096 && m_holdStart >= m_hold.size() / 2) {
            m_hold.erase(0, m_holdStart);
            m_holdStart = 0;
        }
    }

    std::string m_separator;
    ReverseRules m_rules;
    LineReverser m_reverser;
    VisualLineWrapper m_wrapper;
    bool m_crCrLf = false;   // a "\r\r\n" was seen (looked for with a separator ending in "\n")
    bool m_started = false;  // something other than white space was seen
    std::string m_hold;      // reversed lines from m_holdStart on, not yet wrapped
    size_t m_holdStart = 0;
    size_t m_searched = 0;  // no CR LF starts before this byte of Held()
    Carry m_carry;
};

// WrapVisualLines without two CR LF as a paragraph.
class WrapStage : public SinkStage {
public:
    explicit WrapStage(const ConversionSettings& s)
        : m_wrapper(s.BreakLinesAt, s.BreakLines, s.AddToBrokenLine, s.AddToHebParagraph,
                    s.BeforeHebParagraph, s.AfterHebParagraph) {}

    bool FeedInto(std::string_view in, bool final, ByteSink& out) override {
        const std::string_view text = m_carry.Join(in);
        const size_t used = m_wrapper.Lines(text, m_from, final, out);
        m_from = m_from >= used ? m_from - used : 0;  // counted in the carry
        m_carry.Keep(text, used);
        if (final) {
            m_wrapper.Finish(out);
        }
        return true;
    }

private:
    VisualLineWrapper m_wrapper;
    size_t m_from = 0;  // no CR LF starts before this byte of the carry
    Carry m_carry;
};

// CConvert::DosToWindows: the byte after a space decides whether the pair goes.
class DosStage : public StreamStage {
public:
    void Feed(std::string_view in, bool final, std::string& out) override {
        const std::string_view text = m_carry.Join(in);
        const size_t n = text.size();
        size_t i = 0;
        while (i < n) {
            unsigned char c = static_cast<unsigned char>(text[i]);
            if (c == 0xFF) {
                c = ' ';
            }
            if (c == ' ') {
                if (i + 1 == n && !final) {
                    break;  // the next byte is not here yet
                }
                if (i + 1 < n && text[i + 1] == ' ') {
                    i += 2;
                    continue;
                }
            }
            if (c >= 0x80 && c <= 0x9A) {
                c = static_cast<unsigned char>(c + 0x60);
            }
            out.push_back(static_cast<char>(c));
            ++i;
        }
        m_carry.Keep(text, i);
    }

private:
    Carry m_carry;
};

// TableBuilder::Build before its line-end placeholders are replaced.
class TableStage : public StreamStage {
public:
    explicit TableStage(const TableTags& tags) : m_tags(tags) {}

    void Feed(std::string_view in, bool final, std::string& out) override {
        static constexpr std::string_view kRowEnd = "</td></tr><CRLF>";
        static constexpr std::string_view kCellEnd = "</td>";
        const std::string_view text = m_carry.Join(in);
        const size_t n = text.size();
        const auto isTab = [&](size_t i) { return i < n && text[i] == '\t'; };
        size_t pos = 0;
        if (!m_started) {
            if (n == 0 && !final) {
                return;  // the first byte decides the first cell
            }
            out.append(m_tags.table)
                .append(TableBuilder::kLineEndPlaceholder)
                .append(m_tags.row)
                .append(m_tags.cell);
            if (isTab(0)) {
                out.append(TableBuilder::kFiller);
            }
            m_started = true;
        }
        while (pos < n) {
            const size_t next = text.find_first_of("\t\r", pos);
            if (next == std::string_view::npos) {
                out.append(text.substr(pos));
                pos = n;
                break;
            }
            // A TAB and a CR depend on the byte after them, a CR LF on the
            // byte after it too.
            const size_t needed =
                text[next] == '\r' && next + 1 < n && text[next + 1] == '\n' ? next + 3 : next + 2;
            if (needed > n && !final) {
                out.append(text.substr(pos, next - pos));
                pos = next;
                break;
            }
            out.append(text.substr(pos, next - pos));
            if (text[next] == '\t') {
                out.append(kCellEnd).append(m_tags.cell);
                if (isTab(next + 1)) {
                    out.append(TableBuilder::kFiller);
                }
                pos = next + 1;
            } else if (next + 1 < n && text[next + 1] == '\n') {
                const char before = next > 0 ? text[next - 1] : m_last;
                if (before == '\t') {
                    out.append(TableBuilder::kFiller);
                }
                out.append(kRowEnd).append(m_tags.row).append(m_tags.cell);
                if (isTab(next + 2)) {
                    out.append(TableBuilder::kFiller);
                }
                pos = next + 2;
            } else {
                out.push_back('\r');
                pos = next + 1;
            }
        }
        if (pos > 0) {
            m_last = text[pos - 1];
        }
        m_carry.Keep(text, pos);
        if (final) {
            out.append("</td></tr></table><CRLF>");
        }
    }

private:
    TableTags m_tags;
    bool m_started = false;
    char m_last = '\0';  // the byte before the carry
    Carry m_carry;
};

// ReplaceAll of a fixed pattern: a possible start of the pattern at the end
// of the input waits for the next input.
class ReplaceStage : public StreamStage {
public:
    ReplaceStage(std::string_view from, std::string_view to)
        : m_finder(from), m_from(from), m_to(to) {}

    void Feed(std::string_view in, bool final, std::string& out) override {
        const std::string_view text = m_carry.Join(in);
        size_t pos = 0;
        for (size_t hit = m_finder.Find(text); hit != std::string_view::npos;
             hit = m_finder.Find(text, pos)) {
            out.append(text.substr(pos, hit - pos)).append(m_to);
            pos = hit + m_from.size();
        }
        const size_t keep = final ? 0 : std::min(m_from.size() - 1, text.size() - pos);
        out.append(text.substr(pos, text.size() - pos - keep));
        m_carry.Keep(text, text.size() - keep);
    }

private:
    PatternFinder m_finder;
    std::string m_from;
    std::string m_to;
    Carry m_carry;
};

// CConvert::LowerTagCase. Whether a "<" starts a complete tag depends on a
// ">" anywhere after it: known from the text's last ">", or else found by
// holding the text from the "<" back until its ">" arrives.
class LowerTagsStage : public StreamStage {
public:
    explicit LowerTagsStage(std::optional<uint64_t> lastTagEnd) : m_lastTagEnd(lastTagEnd) {}

    void Feed(std::string_view in, bool final, std::string& out) override {
        const std::string_view text = m_carry.Join(in);
        const size_t n = text.size();
        size_t pos = 0;
        while (pos < n) {
            if (m_done) {
                out.append(text.substr(pos));
                pos = n;
            } else if (m_inTag) {
                const size_t gt = text.find('>', pos);
                const size_t end = gt == std::string_view::npos ? n : gt;
                for (size_t k = pos; k < end; ++k) {
                    const char c = text[k];
                    out.push_back(c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c);
                }
                m_inTag = gt == std::string_view::npos;
                pos = end;
                if (!m_inTag) {
                    out.push_back('>');
                    ++pos;
                }
            } else {
                const size_t lt = text.find('<', pos);
                if (lt == std::string_view::npos) {
                    out.append(text.substr(pos));
                    pos = n;
                    break;
                }
                out.append(text.substr(pos, lt - pos));
                pos = lt;
                bool complete = false;
                if (m_lastTagEnd) {
                    complete = m_offset + lt < *m_lastTagEnd;
                } else {
                    const size_t from = std::max(lt + 1, lt + m_held);
                    complete = from < n && text.find('>', from) != std::string_view::npos;
                    if (!complete && !final) {
                        m_held = n - lt;  // searched up to here
                        break;
                    }
                }
                m_held = 0;
                m_inTag = complete;
                m_done = !complete;
            }
        }
        m_offset += pos;
        m_carry.Keep(text, pos);
    }

private:
    std::optional<uint64_t> m_lastTagEnd;
    uint64_t m_offset = 0;  // of the carry's first byte in the whole text
    bool m_inTag = false;   // inside a tag that a ">" closes
    bool m_done = false;    // a "<" without a ">" after it: the rest stays as it is
    size_t m_held = 0;      // bytes of the held "<" already searched for ">"
    Carry m_carry;
};

}  // namespace

void FactScanner::Feed(std::string_view block) {
    if (block.empty()) {
        return;
    }
    if (!m_facts.hebrew) {
        m_facts.hebrew = kHebrewLetterSet.AnyIn(block);
        if (!m_facts.hebrew && !m_facts.dosLetters) {
            m_facts.dosLetters = kDosLetterSet.AnyIn(block);
        }
    }
    if (const void* gt = ::memrchr(block.data(), '>', block.size())) {
        m_facts.lastTagEnd =
            m_offset + static_cast<uint64_t>(static_cast<const char*>(gt) - block.data());
    }
    // A separator may start in the last two bytes of the block before.
    const std::string seam = m_tail + std::string(block.substr(0, 2));
    if (!m_seen[0]) {
        m_seen[0] = ContainsCrCrLf(seam) || ContainsCrCrLf(block);
    }
    for (int k = 1; k < 3 && !m_seen[0]; ++k) {
        if (!m_seen[k]) {
            m_seen[k] = FindSeparator(seam, 0, kSeparators[k]) != std::string_view::npos ||
                        FindSeparator(block, 0, kSeparators[k]) != std::string_view::npos;
        }
    }
    m_tail.append(block.substr(block.size() >= 2 ? block.size() - 2 : 0));
    if (m_tail.size() > 2) {
        m_tail.erase(0, m_tail.size() - 2);
    }
    m_offset += block.size();
}

TextFacts FactScanner::Facts() const {
    TextFacts facts = m_facts;
    facts.separator = "\r";
    for (int k = 2; k >= 0; --k) {
        if (m_seen[k]) {
            facts.separator = kSeparators[k];
        }
    }
    return facts;
}

bool StreamConversion::Streams(Command command, const ConversionSettings& settings) {
    return command != Command::ToVisual || settings.TwoCRLFPara == 0;
}

StreamConversion::StreamConversion(Command command, const ConversionSettings& settings,
                                   const TableTags& tags, const std::optional<TextFacts>& facts)
    : m_table(tags.table), m_row(tags.row), m_cell(tags.cell) {
    const bool hebrew = facts && facts->hebrew;
    const bool dos = facts && !facts->hebrew && facts->dosLetters;
    const std::string separator = facts ? facts->separator : std::string("\r");
    switch (command) {
        case Command::ToVisual:
            if (hebrew) {
                m_stages[0] = std::make_unique<VisualStage>(separator, settings);
            } else if (dos) {
                m_stages[0] = std::make_unique<DosStage>();
                m_stages[1] = std::make_unique<WrapStage>(settings);
            } else {
                m_stages[0] = std::make_unique<PassStage>();
            }
            break;
        case Command::LowerTags:
            // Facts without a ">" in the text: no "<" starts a tag (0 is
            // before every "<").
            m_stages[0] = std::make_unique<LowerTagsStage>(
                facts ? std::optional<uint64_t>(facts->lastTagEnd.value_or(0)) : std::nullopt);
            break;
        case Command::Table:
            // The table paste keeps TABs: they separate the cells.
            if (hebrew) {
                m_stages[0] = std::make_unique<ReverseStage>(separator);
            } else if (dos) {
                m_stages[0] = std::make_unique<DosStage>();
            } else {
                m_stages[0] = std::make_unique<DropStage>();
            }
            m_stages[1] = std::make_unique<TableStage>(TableTags{m_table, m_row, m_cell});
            m_stages[2] = std::make_unique<ReplaceStage>(TableBuilder::kLineEndPlaceholder, "\r\n");
            break;
    }
}

StreamConversion::~StreamConversion() = default;

bool StreamConversion::CrCrLfSeen() const {
    return m_stages[0] && m_stages[0]->CrCrLfSeen();
}

void StreamConversion::Feed(std::string_view block, std::string& out) {
    Run(block, false, out);
}

void StreamConversion::Finish(std::string& out) {
    Run({}, true, out);
}

void StreamConversion::Feed(std::string_view block, ByteSink& out) {
    Run(block, false, out);
}

void StreamConversion::Finish(ByteSink& out) {
    Run({}, true, out);
}

std::string_view StreamConversion::RunBeforeLast(std::string_view block, bool final, int& last) {
    std::string_view in = block;
    last = 0;
    for (; last < 2 && m_stages[last + 1]; ++last) {
        m_between[last].clear();
        m_stages[last]->Feed(in, final, m_between[last]);
        in = m_between[last];
    }
    return in;
}

void StreamConversion::Run(std::string_view block, bool final, std::string& out) {
    int last = 0;
    const std::string_view in = RunBeforeLast(block, final, last);
    m_stages[last]->Feed(in, final, out);
}

void StreamConversion::Run(std::string_view block, bool final, ByteSink& out) {
    int last = 0;
    const std::string_view in = RunBeforeLast(block, final, last);
    if (!m_stages[last]->FeedInto(in, final, out)) {
        m_spare.clear();
        m_stages[last]->Feed(in, final, m_spare);
        out.Append(m_spare);
    }
}

std::string StreamConversion::Whole(Command command, const ConversionSettings& settings,
                                    const TableTags& tags, std::string text) {
    switch (command) {
        case Command::ToVisual:
            ToVisual(text, settings, VisualScope::WholeText);
            break;
        case Command::LowerTags:
            LowerTags(text);
            break;
        case Command::Table:
            TableBuilder::FromLogical(text, settings, tags);
            break;
    }
    return text;
}

}  // namespace conversion
