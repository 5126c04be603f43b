// Visual HTML back to logical HTML for today's browsers.
#include <algorithm>
#include <cctype>
#include <string_view>
#include <vector>

#include "convert/convert.h"
#include "convert/convertinto.h"
#include "convert/modernreread.h"
#include "convert/textsearch.h"

namespace {

constexpr CharSet kLatinRunSet{charsets::kLatinRun};
constexpr CharSet kRunPunctuationSet{charsets::kRunPunctuation};

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string_view TrimRight(std::string_view text) {
    size_t end = text.size();
    while (end > 0 && kWhiteSpaceSet.Contains(text[end - 1])) {
        --end;
    }
    return text.substr(0, end);
}

// The bytes after the last space of a piece: the word the line was cut beside.
size_t LastWordLength(std::string_view piece) {
    const size_t space = piece.rfind(' ');
    return space == std::string_view::npos ? piece.size() : piece.size() - space - 1;
}

// Whether a source line opens or closes a script or style block, as the
// state after the line: the last opening or closing tag in it decides.
bool InRawBlockAfter(std::string_view line, bool inside) {
    size_t last = std::string_view::npos;
    bool lastOpens = inside;
    for (std::string_view name : {"<script", "<style", "</script", "</style"}) {
        size_t found = std::string_view::npos;
        for (size_t at = FindNoCase(line, name); at != std::string_view::npos;
             at = FindNoCase(line, name, at + 1)) {
            found = at;
        }
        if (found != std::string_view::npos && (last == std::string_view::npos || found > last)) {
            last = found;
            lastOpens = name[1] != '/';
        }
    }
    return lastOpens;
}

// Whether the punctuation and spaces `after` a run, then `c`, are what the
// reversal leaves beside a run it read as a whole: a run goes on over
// punctuation and spaces, keeps all but the last of them, and gives back
// only one space at its end (put in front of it), or one punctuation mark,
// or a punctuation mark and the space after it. Longer, the run would have
// kept the first of them.
bool AfterRunKept(std::string_view after, char c) {
    const size_t size = after.size() + 1;
    const char first = after.empty() ? c : after[0];
    if (size == 1) {
        return true;
    }
    return size == 2 && kRunPunctuationSet.Contains(first) && c == ' ';
}

// Writes `c` after a run and the punctuation and spaces after it (from
// `runEnd` in `out`), which would have gone on with the run: the first
// quotation mark where the run could end before it becomes "&quot;" (the
// reversal writes it as a mark once the run is done); else, after the
// space the run gives back (its own, or the one after its final mark),
// "&nbsp;" (which the reversal drops) goes between two spaces.
void EntityAfterRun(std::string& out, size_t runEnd, char c) {
    const std::string_view after(out.data() + runEnd, out.size() - runEnd);
    const auto at = [&](size_t k) { return k < after.size() ? after[k] : c; };
    const size_t size = after.size() + 1;
    for (size_t k = 0; k < size && k < 3; ++k) {
        const bool endsBefore = k == 0 ||
                                (k == 1 && (at(0) == ' ' || kRunPunctuationSet.Contains(at(0)))) ||
                                (k == 2 && kRunPunctuationSet.Contains(at(0)) && at(1) == ' ');
        if (at(k) == '"' && endsBefore) {
            if (k < after.size()) {
                out.replace(runEnd + k, 1, "&quot;");
                out.push_back(c);
            } else {
                out.append("&quot;");
            }
            return;
        }
    }
    // The space the run gives back: its own, or the one after its final
    // punctuation mark.
    const size_t kept = at(0) == ' '                                                     ? 1
                        : kRunPunctuationSet.Contains(at(0)) && size > 2 && at(1) == ' ' ? 2
                                                                                         : 0;
    if (kept > 0 && kept < size && at(kept) == ' ') {
        if (after.size() > kept) {
            out.insert(runEnd + kept, "&nbsp;");
            out.push_back(c);
        } else {
            out.append("&nbsp;").push_back(c);
        }
        return;
    }
    out.push_back(c);
}

// Appends the reading order of one visual line: the inverse of the
// reversal that made it. That reversal read the logical line from left to
// right and put each block in front of the ones before it: single bytes
// (brackets mirrored) and runs, which start with a byte of the run set, go on
// over run bytes, punctuation and spaces, and keep their own order. So the
// visual line read from right to left gives the blocks in logical order:
// bytes outside runs one by one, and each run, whose first and last bytes
// are the leftmost and rightmost run bytes of its stretch of run bytes,
// punctuation and spaces (the punctuation and spaces around them belong to
// the bytes beside it), in its own order. A run whose leading minus sign was
// put at its right end ("-x" shows as "x-") gets it back in front. Each byte
// is looked at no more than twice: linear.
void VisualLineToLogical(std::string_view line, std::string& out) {
    // The run that ends (at its right) at `end`: where its first run byte is.
    const auto runStart = [&](size_t end) {
        size_t left = end - 1;
        while (left > 0 && (kLatinRunSet.Contains(line[left - 1]) ||
                            kRunPunctuationSet.Contains(line[left - 1]) || line[left - 1] == ' ')) {
            --left;
        }
        while (!kLatinRunSet.Contains(line[left])) {
            ++left;
        }
        return left;
    };
    size_t r = line.size();
    size_t runEnd = std::string::npos;  // where the last run ended in `out`
    while (r > 0) {
        const char c = line[r - 1];
        // A run that ended in punctuation lost it to the bytes after it but
        // kept the space before it ("a 12 \"x\"" shows as "\"x\"12  a"): of
        // two spaces right of such a run, the nearer is its own.
        bool ownSpace = false;
        if (c == ' ' && r >= 2 && r < line.size() && line[r] == ' ' &&
            kLatinRunSet.Contains(line[r - 2])) {
            const size_t left = runStart(r - 1);
            ownSpace = left > 0 && kRunPunctuationSet.Contains(line[left - 1]);
            if (ownSpace) {
                --r;
            }
        }
        if (!ownSpace && !kLatinRunSet.Contains(c)) {
            if (runEnd != std::string::npos && (c == ' ' || kRunPunctuationSet.Contains(c))) {
                const std::string_view after(out.data() + runEnd, out.size() - runEnd);
                if (AfterRunKept(after, c)) {
                    out.push_back(c);
                } else {
                    // The bytes after the run would have gone on with it:
                    // an entity the reversal writes as a mark or drops
                    // stood among them ("x &quot;", "x &nbsp; ").
                    EntityAfterRun(out, runEnd, c);
                    runEnd = std::string::npos;
                }
            } else {
                runEnd = std::string::npos;
                out.push_back(c == '(' ? ')' : c == ')' ? '(' : c);
            }
            --r;
            continue;
        }
        const size_t left = runStart(r);
        const std::string_view run = line.substr(left, r - left);
        if (run.size() > 1 && run.back() == '-') {
            out.push_back('-');
            out.append(run.substr(0, run.size() - 1));
        } else {
            out.append(run);
        }
        runEnd = ownSpace ? std::string::npos : out.size();
        if (ownSpace) {
            out.push_back(' ');
        }
        r = left;
    }
}

// The tag's name in lower case after "<" or "</".
std::string TagName(std::string_view tag) {
    std::string name;
    for (size_t k = tag[1] == '/' ? 2 : 1;
         k + 1 < tag.size() && !kWhiteSpaceSet.Contains(tag[k]) && tag[k] != '/'; ++k) {
        name.push_back(Lower(tag[k]));
    }
    return name;
}

// Whether the tag at [start, end) of a line belongs to it: a line break, or
// a tag whose counterpart (the closing tag of an opening one, and the other
// way round) is in the line too, with something between them (a closing tag
// and an opening tag side by side, as "</p><p>", end one element and start
// the next).
bool BelongsToLine(std::string_view line, size_t start, size_t end) {
    const std::string_view tag = line.substr(start, end - start);
    if (FindNoCase(tag, "<br") == 0) {
        return true;
    }
    const std::string name = TagName(tag);
    if (name.empty()) {
        return false;
    }
    const auto blank = [&](size_t from, size_t to) {
        for (size_t k = from; k < to; ++k) {
            if (!kWhiteSpaceSet.Contains(line[k])) {
                return false;
            }
        }
        return true;
    };
    const std::string counterpart = (tag[1] == '/' ? "<" : "</") + name;
    for (size_t at = FindNoCase(line, counterpart); at != std::string_view::npos;
         at = FindNoCase(line, counterpart, at + 1)) {
        const size_t after = at + counterpart.size();
        // (A tag cut at a space ends its piece: "<a" alone.)
        if (after < line.size() && line[after] != '>' && !kWhiteSpaceSet.Contains(line[after])) {
            continue;
        }
        const size_t gt = line.find('>', at);
        const bool besideIt =
            at > start ? blank(end, at) : gt != std::string_view::npos && blank(gt + 1, start);
        if (!besideIt) {
            return true;
        }
    }
    return false;
}

// The length of what the visual conversion glued before a line's first
// piece. It writes the lines without a Hebrew letter (a page's lines of tags,
// its head) with no line end, so they come before the next Hebrew line. The
// tags at the start of the piece, before its first Hebrew letter, were glued
// while they do not belong to the line (see BelongsToLine: "</h1><p>" before
// a paragraph's first line, not "</p>" in "</p>.x<p>"), and so was a page's
// head element (<head>, <title>) that opens and closes there.
size_t GluedTagsLength(std::string_view piece) {
    constexpr size_t kMostLooked = 64;  // bounds the searches of BelongsToLine
    size_t hebrew = 0;
    while (hebrew < piece.size() && !kHebrewLetterSet.Contains(piece[hebrew])) {
        ++hebrew;
    }
    if (hebrew == piece.size()) {
        return 0;  // no Hebrew letter: nothing was glued to it
    }
    size_t glued = 0;
    size_t pos = 0;
    for (size_t looked = 0; looked < kMostLooked; ++looked) {
        while (pos < hebrew && kWhiteSpaceSet.Contains(piece[pos])) {
            ++pos;
        }
        if (pos >= hebrew || piece[pos] != '<') {
            break;
        }
        const size_t gt = piece.find('>', pos);
        if (gt == std::string_view::npos || gt > hebrew) {
            break;
        }
        if (!BelongsToLine(piece, pos, gt + 1)) {
            pos = glued = gt + 1;
            continue;
        }
        const std::string name = TagName(piece.substr(pos, gt + 1 - pos));
        if (piece[pos + 1] == '/' || (name != "head" && name != "title")) {
            break;
        }
        const size_t close = FindNoCase(piece.substr(0, hebrew), "</" + name, gt);
        const size_t closeEnd = close == std::string_view::npos ? close : piece.find('>', close);
        if (closeEnd == std::string_view::npos || closeEnd > hebrew) {
            break;
        }
        pos = glued = closeEnd + 1;
    }
    return glued;
}

// Whether the counterpart of a tag (the closing tag of an opening one, and
// the other way round) is in `text`.
bool HasCounterpart(std::string_view tag, std::string_view name, std::string_view text) {
    const std::string counterpart = (tag[1] == '/' ? "<" : "</") + std::string(name);
    for (size_t at = FindNoCase(text, counterpart); at != std::string_view::npos;
         at = FindNoCase(text, counterpart, at + 1)) {
        const size_t after = at + counterpart.size();
        if (after < text.size() && (text[after] == '>' || kWhiteSpaceSet.Contains(text[after]))) {
            return true;
        }
    }
    return false;
}

// Where the first Hebrew letter of `text` is (its size when it has none).
size_t FirstHebrewLetter(std::string_view text) {
    size_t at = 0;
    while (at < text.size() && !kHebrewLetterSet.Contains(text[at])) {
        ++at;
    }
    return at;
}

// Whether one of the tags (tags and white space, as GluedTagsLength finds
// them) has its counterpart in `text`. A tag whose counterpart is among the
// tags themselves does not count: "</p><p>" ends one element and starts the
// next, as a line of tags glued before a line does.
bool CounterpartIn(std::string_view tags, std::string_view text) {
    constexpr size_t kMostLooked = 64;  // as GluedTagsLength
    size_t pos = 0;
    for (size_t looked = 0; looked < kMostLooked; ++looked) {
        pos = tags.find('<', pos);
        const size_t gt = pos == std::string_view::npos ? pos : tags.find('>', pos);
        if (gt == std::string_view::npos) {
            return false;
        }
        const std::string_view tag = tags.substr(pos, gt + 1 - pos);
        pos = gt + 1;
        const std::string name = TagName(tag);
        if (name.empty()) {
            continue;
        }
        if (!HasCounterpart(tag, name, tags) && HasCounterpart(tag, name, text)) {
            return true;
        }
    }
    return false;
}

// Whether the tags taken as glued before a line's first piece were instead
// the end of a run that the line was cut inside: a run of Latin, numbers and
// tags goes on over spaces ("</b> 12 <a href=x>" before a Hebrew word), and
// a cut at one of its spaces leaves the run's right part, tags alone, at the
// start of the first piece. Then the next piece ends in the run's left part
// (a run byte or its punctuation) and holds the counterpart of one of the
// tags (the "</a>" of an "<a href=x>"), which a tag line glued before the
// line does not leave in the line's second piece.
bool CutFromRun(std::string_view tags, std::string_view next) {
    next = TrimRight(next);
    return !next.empty() &&
           (kLatinRunSet.Contains(next.back()) || kRunPunctuationSet.Contains(next.back())) &&
           CounterpartIn(tags, next);
}

// Whether `text` ends in a run of Latin, numbers and tags (with the
// punctuation and spaces inside it) that comes right after a punctuation
// mark: the shape of a run that ended in punctuation, read in visual order.
bool EndsInRunAfterMark(std::string_view text) {
    if (text.empty() || !kLatinRunSet.Contains(text.back())) {
        return false;
    }
    size_t left = text.size() - 1;
    while (left > 0 && (kLatinRunSet.Contains(text[left - 1]) ||
                        kRunPunctuationSet.Contains(text[left - 1]) || text[left - 1] == ' ')) {
        --left;
    }
    while (!kLatinRunSet.Contains(text[left])) {
        ++left;
    }
    return left > 0 && kRunPunctuationSet.Contains(text[left - 1]);
}

// Whether a tag was cut at a space inside it: the piece ends in the tag's
// start ("<a", no ">" after its last "<") and the piece before it begins
// with the tag's end ("href=x>", a ">" before any "<").
bool TagCutBetween(std::string_view piece, std::string_view before) {
    piece = TrimRight(piece);
    const size_t lt = piece.rfind('<');
    if (lt == std::string_view::npos || piece.find('>', lt) != std::string_view::npos) {
        return false;
    }
    const size_t gt = before.find('>');
    return gt != std::string_view::npos && before.substr(0, gt).find('<') == std::string_view::npos;
}

// Turns visual lines back into reading order, joining the pieces of a broken
// line first.
class ModernLines {
public:
    ModernLines(const ModernPageRules& rules, bool paragraphs, std::string_view sep,
                std::string& out)
        : m_rules(rules),
          m_paragraphs(paragraphs),
          m_breakString(TrimRight(m_rules.breakString)),
          m_breakEndsLine(m_breakString.size() != m_rules.breakString.size()),
          m_sep(sep),
          m_out(out) {}

    void Line(std::string_view line) {
        if (m_inRawBlock || modernreread::MentionsRawBlock(line)) {
            Flush();
            WriteSpaceLine();
            m_out.append(line).append(m_sep);
            m_inRawBlock = InRawBlockAfter(line, m_inRawBlock);
            return;
        }
        std::string_view content = TrimRight(line);
        // A mark that ends in a line end leaves an empty line after its piece.
        if (m_breakEndsLine && m_lastBroken && m_afterMark && content.empty()) {
            m_afterMark = false;
            return;
        }
        m_afterMark = false;
        // A paragraph string follows the piece before it on its line only
        // after a piece without a Hebrew letter (a Hebrew piece ends in its
        // mark and a line end): a break string before it is the text's own.
        bool stripped = false;
        if (m_rules.stripParagraphs) {
            for (bool again = true; again;) {
                again = false;
                for (const std::string& mark : {m_rules.beforeParagraph, m_rules.afterParagraph}) {
                    if (EndsWith(content, mark)) {
                        content = TrimRight(content.substr(0, content.size() - mark.size()));
                        again = stripped = true;
                    }
                }
            }
            if (stripped && content.empty()) {
                // A line of the paragraph strings alone. The closing string
                // alone ends a line of white space after a Hebrew piece (or
                // the page): such a line is kept, as a space, where more
                // follows.
                if (TrimRight(line) == TrimRight(m_rules.afterParagraph)) {
                    Flush();
                    m_spaceLine = true;
                }
                return;
            }
        }
        WriteSpaceLine();
        // The visual conversion writes a piece without a Hebrew letter with
        // no mark and no line end, so the last piece of a line, when it is
        // Latin or a number, is glued to the next line's first piece. Text
        // (not a tag) that ends in a letter or digit glued straight to a
        // Hebrew letter (punctuation touches its Hebrew word) may be such a
        // piece.
        size_t latin = 0;  // the length of a Latin start left in the piece
        {
            size_t hebrew = 0;
            while (hebrew < content.size() && !kHebrewLetterSet.Contains(content[hebrew])) {
                ++hebrew;
            }
            const std::string_view prefix = content.substr(0, hebrew);
            const bool word = std::any_of(prefix.begin(), prefix.end(), [](char c) {
                return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
            });
            const char last = prefix.empty() ? ' ' : prefix.back();
            const bool touches = (last >= '0' && last <= '9') || (last >= 'A' && last <= 'Z') ||
                                 (last >= 'a' && last <= 'z');
            // It is the last piece of the open line only where it would not
            // have fitted beside that line's last piece. Otherwise it is a
            // line of its own, or the line was cut at a space inside a run
            // and the Latin or number begins it: the next piece decides
            // (m_latinPending).
            const bool endsLineBefore =
                !m_pieces.empty() && (!m_lastBroken || m_rules.width <= 0 ||
                                      m_pieces.back().size() + (m_pieces.size() > 1 ? 1 : 0) + 1 +
                                              LastWordLength(TrimRight(prefix)) >=
                                          static_cast<size_t>(m_rules.width));
            if (word && touches && hebrew < content.size() && !m_paragraphs &&
                prefix.find_first_of("<>") == std::string_view::npos) {
                if (endsLineBefore) {
                    m_pieces.push_back(TrimRight(prefix));
                    Flush();
                    content.remove_prefix(hebrew);
                } else {
                    latin = hebrew;
                }
            }
        }
        // A Latin or number piece that ends its line is written with no mark;
        // before a paragraph string or a line end it stays on a line of its
        // own. It is the open line's last piece where it would not have
        // fitted beside that line's last piece (the line as long as the
        // width, it fits and is not cut), as above. With the
        // paragraph strings the same holds for any piece without a Hebrew
        // letter (tags, punctuation): none is glued to the next line, so a
        // line's last piece is always on a line of its own.
        if (!m_pieces.empty() && m_lastBroken && m_rules.width > 0 && !content.empty() &&
            !kHebrewLetterSet.AnyIn(content) &&
            ((m_paragraphs && !EndsWith(content, m_breakString)) ||
             (content.find_first_of("<>") == std::string_view::npos &&
              std::any_of(content.begin(), content.end(),
                          [](char c) {
                              return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') ||
                                     (c >= 'a' && c <= 'z');
                          }))) &&
            m_pieces.back().size() + (m_pieces.size() > 1 ? 1 : 0) + 1 + LastWordLength(content) >
                static_cast<size_t>(m_rules.width)) {
            m_pieces.push_back(content);
            Flush();
            return;
        }
        const bool broken = !stripped && EndsWith(content, m_breakString);
        if (broken) {
            content = TrimRight(content.substr(0, content.size() - m_breakString.size()));
            m_afterMark = true;
        }
        if (m_latinPending > 0) {
            // The Latin start of the line's first piece began a run that the
            // line was cut inside when this piece continues the line and
            // ends in that run's other part.
            const std::string_view end = TrimRight(content);
            const bool runGoesOn =
                m_lastBroken && !end.empty() &&
                (kLatinRunSet.Contains(end.back()) || kRunPunctuationSet.Contains(end.back())) &&
                GluedTagsLength(content) == 0 && kHebrewLetterSet.AnyIn(content) &&
                (m_rules.width <= 0 || m_pieces[0].size() + 1 + LastWordLength(content) >=
                                           static_cast<size_t>(m_rules.width));
            if (runGoesOn) {
                m_latinPending = 0;
            } else {
                SplitPendingLatin();
            }
        }
        // A piece longer than a line's first piece may be, whose first word
        // is Latin or a number, with no tag before its first Hebrew letter,
        // begins with the last piece of the open line, glued to it inside
        // that word ("tbfwl" and "piyyva" as "tbfwlpiyyva"). Where the word
        // was cut cannot be told; the cut taken is the first one that leaves
        // a piece short enough and a glued piece that did not fit beside the
        // open line's last piece. Where the first word holds a Hebrew word
        // after punctuation ("Gtcduhkd(x)") or a tag ("tswumwiv</a>"), the
        // glued piece is its letters and digits, where they are long enough.
        if (!m_pieces.empty() && m_lastBroken && m_rules.width > 1 && latin == 0 &&
            m_latinPending == 0 && content.size() > static_cast<size_t>(m_rules.width) &&
            kHebrewLetterSet.AnyIn(content)) {
            const size_t window = static_cast<size_t>(m_rules.width) - 1;
            const std::string_view word = content.substr(0, content.find(' '));
            const size_t before = m_pieces.back().size() + (m_pieces.size() > 1 ? 1 : 0);
            size_t cut = content.size() - window;
            if (before + 1 + cut < static_cast<size_t>(m_rules.width)) {
                cut = window - before;
            }
            if (word.size() + 1 < content.size() && cut < word.size() &&
                content.substr(word.size(), FirstHebrewLetter(content) - word.size())
                        .find_first_of("<>") == std::string_view::npos &&
                content.substr(content.size() - window).find(' ') != std::string_view::npos &&
                !kHebrewLetterSet.AnyIn(word) &&
                word.find_first_of("<>") == std::string_view::npos &&
                std::any_of(word.begin(), word.end(),
                            [](char c) { return std::isalnum(static_cast<unsigned char>(c)); })) {
                m_pieces.push_back(content.substr(0, cut));
                Flush();
                content.remove_prefix(cut);
                cut = 0;
            } else if ((kHebrewLetterSet.AnyIn(word) || word.find('<') != std::string_view::npos) &&
                       content.substr(content.size() - window).find(' ') !=
                           std::string_view::npos) {
                size_t end = 0;
                while (end < word.size() && std::isalnum(static_cast<unsigned char>(word[end]))) {
                    ++end;
                }
                if (end >= cut && end > 0 && end < word.size() &&
                    before + 1 + end >= static_cast<size_t>(m_rules.width) &&
                    !kHebrewLetterSet.Contains(word[end])) {
                    m_pieces.push_back(content.substr(0, end));
                    Flush();
                    content.remove_prefix(end);
                    cut = 0;
                }
            }
            // Else the glued piece is all before the first Hebrew word and
            // its punctuation (tags, Latin and numbers: "<a href=x>ndvb</a>").
            // Tags glued before the line (a line of tags, as "<p>") with
            // no letter or digit after them are no such piece.
            size_t end = FirstHebrewLetter(content);
            while (end > 0 && kRunPunctuationSet.Contains(content[end - 1])) {
                --end;
            }
            const size_t tags = std::min(GluedTagsLength(content), end);
            const bool wordAfterTags =
                std::any_of(content.begin() + static_cast<std::ptrdiff_t>(tags),
                            content.begin() + static_cast<std::ptrdiff_t>(end),
                            [](char c) { return std::isalnum(static_cast<unsigned char>(c)); });
            if (cut > 0 && content.size() > static_cast<size_t>(m_rules.width) && end >= cut &&
                wordAfterTags && end < content.size() && content[end - 1] != ' ' &&
                content.substr(content.size() - window).find(' ') != std::string_view::npos &&
                before + 1 + LastWordLength(content.substr(0, end)) >=
                    static_cast<size_t>(m_rules.width)) {
                m_pieces.push_back(content.substr(0, end));
                Flush();
                content.remove_prefix(end);
            }
        }
        // A piece kept with the line before though its tags looked glued
        // before it: the tags were its own, cut from a run that goes on in
        // this piece, or they began a line after all.
        if (m_tentative > 0) {
            const std::string_view tags = m_pieces[m_tentative].substr(0, m_tentativeGlued);
            if (!(m_lastBroken && kHebrewLetterSet.AnyIn(content) && CutFromRun(tags, content))) {
                SplitTentative();
            }
            m_tentative = 0;
        }
        // A piece continues the broken piece before it when the visual
        // conversion would have cut there: the earlier piece and the word
        // beside the cut would not have fitted in one piece (a line without a
        // Hebrew letter is no such piece: the conversion writes those with
        // no line end). A piece after
        // the first was measured with the space it was cut after.
        const size_t measured =
            m_pieces.empty() ? 0 : m_pieces.back().size() + (m_pieces.size() > 1 ? 1 : 0);
        // Tags glued before a piece show that it starts a line.
        // A line and its pieces are written trimmed, so tags followed by a
        // space were not glued before the piece: they are its own.
        size_t glued = GluedTagsLength(content);
        if (glued > 0 && glued < content.size() && kWhiteSpaceSet.Contains(content[glued])) {
            glued = 0;
        }
        const auto cutBeside = [&](size_t length) {
            return m_rules.width <= 0 ||
                   length + 1 + LastWordLength(content) >= static_cast<size_t>(m_rules.width);
        };
        // Tags at the start of a piece that close or open an element of the
        // piece before are its own: tags glued before a line do not belong
        // to it (GluedTagsLength).
        const bool mayContinue =
            !m_pieces.empty() && m_lastBroken && kHebrewLetterSet.AnyIn(content) &&
            (glued == 0 || CounterpartIn(content.substr(0, glued), m_pieces.back()) ||
             (m_pieces.size() == 1 && CounterpartIn(content.substr(0, glued), m_glued)));
        // The first piece's tags taken as glued before it were its own when
        // the line was cut inside a run: it was measured with them.
        const bool ownTags = mayContinue && m_pieces.size() == 1 && !m_glued.empty() &&
                             CutFromRun(m_glued, content) && cutBeside(m_glued.size() + measured);
        const bool tagCut = !m_pieces.empty() && m_lastBroken &&
                            (m_pieces.size() > 1 || m_glued.empty()) &&
                            TagCutBetween(content, m_pieces.back());
        // A piece as long as the width, with a space before its last byte,
        // is a whole line: a line's first piece is cut after the first space
        // among its last width bytes, so it is one byte shorter at most.
        const std::string_view own = content.substr(glued);
        const bool whole = m_rules.width > 1 && latin == 0 &&
                           own.size() == static_cast<size_t>(m_rules.width) &&
                           own.substr(0, own.size() - 1).find(' ') != std::string_view::npos;
        const bool continues = tagCut || (mayContinue && (ownTags || cutBeside(measured)) &&
                                          m_endOnly != EndOnly::Last && !whole);
        if (continues && m_endOnly == EndOnly::First) {
            // The piece before, as long as a line's first or last piece may
            // be, is followed by more of its line: it was the line's first.
            const std::string_view first = m_pieces.back();
            m_pieces.pop_back();
            Flush();
            m_pieces.push_back(first);
            m_lastBroken = true;
        }
        m_endOnly = EndOnly::No;
        // Tags before the piece whose counterpart is not in the piece before
        // may still be its own, cut from a run whose other part (with the
        // counterpart) is the next piece: the piece stays with the line
        // until the next piece tells.
        const bool tentative = !continues && !m_paragraphs && glued > 0 && glued < content.size() &&
                               !m_pieces.empty() && m_lastBroken && m_latinPending == 0 &&
                               kHebrewLetterSet.AnyIn(content) && cutBeside(measured) && !whole;
        if (tentative) {
            m_tentative = m_pieces.size();
            m_tentativeGlued = glued;
        } else if (!continues) {
            Flush();
        } else if (ownTags) {
            m_pieces[0] = std::string_view(m_glued.data(), m_glued.size() + m_pieces[0].size());
            m_glued = {};
        }
        if (broken && content.empty()) {
            m_out.append(m_sep);  // a marked empty line: an empty line
            m_lastBroken = m_breakEndsLine;
            return;
        }
        if (m_pieces.empty() && !m_paragraphs) {
            // Tags glued before the line's first piece go before the line.
            // With the paragraph strings nothing was glued there (a line
            // without a Hebrew letter ends before a paragraph string): the
            // tags are the line's own.
            m_glued = content.substr(0, glued);
            content.remove_prefix(glued);
        }
        // A second piece that would make a whole line with the first one,
        // just as long as the width, was cut from it only with one more
        // space: the space a run ending in punctuation keeps, beside the one
        // it was cut at ("\"x\"37" and its line were "\"x\"37  y").
        if (continues && m_pieces.size() == 1 && m_rules.width > 0 &&
            m_pieces[0].size() + 1 + content.size() == static_cast<size_t>(m_rules.width) &&
            EndsInRunAfterMark(content)) {
            m_twoSpaces = content.data();
        }
        m_pieces.push_back(content);
        m_lastBroken = broken;
        // A piece after a cut was measured with the space it was cut after,
        // and a cut comes after the first space among a piece's last width
        // bytes; so a piece one byte shorter than the width, with a space
        // among its last bytes, is a line's first piece or its last (the
        // rest of the line, which needs no cut).
        // Which of the two: a run of Latin or numbers on both sides of the
        // cut before it ("288" ending the piece before, "jmg" beginning this
        // one) was one run cut at its space, so the piece ends the line;
        // otherwise it begins the next line, which comes after.
        if (m_pieces.size() > 1 && m_rules.width > 1) {
            const size_t window = static_cast<size_t>(m_rules.width) - 1;
            const std::string_view before = m_pieces[m_pieces.size() - 2];
            if (content.size() >= window &&
                content.substr(content.size() - window).find(' ') != std::string_view::npos) {
                m_endOnly = !before.empty() && kLatinRunSet.Contains(before.front()) &&
                                    kLatinRunSet.Contains(content.back())
                                ? EndOnly::Last
                                : EndOnly::First;
            }
        }
        if (latin > 0 && m_pieces.size() == 1) {
            m_latinPending = latin;
        }
        if (!broken || whole) {
            Flush();
        }
    }

    // The line of white space before this line, if any.
    void WriteSpaceLine() {
        if (m_spaceLine) {
            m_out.append(" ").append(m_sep);
            m_spaceLine = false;
        }
    }

    // The Latin start of the first piece was a line of its own (or the end
    // of the line before): it goes before the line.
    void SplitPendingLatin() {
        m_out.append(TrimRight(m_pieces[0].substr(0, m_latinPending))).append(m_sep);
        m_pieces[0].remove_prefix(m_latinPending);
        m_latinPending = 0;
    }

    // The piece kept with the line before began a line: the pieces before
    // it are written, and its tags are glued before it.
    void SplitTentative() {
        std::vector<std::string_view> rest(
            m_pieces.begin() + static_cast<std::ptrdiff_t>(m_tentative), m_pieces.end());
        const size_t gluedLength = m_tentativeGlued;
        const bool broken = m_lastBroken;
        m_pieces.resize(m_tentative);
        m_tentative = 0;
        Flush();
        m_glued = rest[0].substr(0, gluedLength);
        rest[0].remove_prefix(gluedLength);
        m_pieces.assign(rest.begin(), rest.end());
        m_lastBroken = broken;
    }

    void Flush() {
        if (m_tentative > 0) {
            SplitTentative();
        }
        if (m_pieces.empty()) {
            return;
        }
        if (m_latinPending > 0) {
            SplitPendingLatin();
        }
        // The tags glued before the line were a line of their own: the
        // visual conversion writes a line without a Hebrew letter with no
        // line end.
        if (!m_glued.empty()) {
            m_out.append(m_glued).append(m_sep);
            m_glued = {};
        }
        // Where the pieces joined in one line do not give back their own
        // bytes when made visual again, the line was taken wrongly: the
        // first of a few readings as two lines that gives them back is taken
        // instead.
        size_t split = 0;
        if (m_pieces.size() > 1 && m_pieces.size() <= kMostPiecesTried && m_rules.width > 0 &&
            !m_breakString.empty() && !Reproduces(0, m_pieces.size())) {
            split = ReproducingSplit();
            if (split == 0) {
                GluedRunBefore();
            }
        }
        if (split > 0) {
            Join(0, split);
            VisualLineToLogical(m_joined, m_out);
            m_out.append(m_sep);
            Join(split, m_pieces.size());
        } else {
            Join(0, m_pieces.size());
        }
        m_lastPiece = m_pieces.back().size() + (m_pieces.size() > 1 ? 1 : 0);
        m_pieces.clear();
        m_twoSpaces = nullptr;
        m_endOnly = EndOnly::No;
        VisualLineToLogical(m_joined, m_out);
        m_out.append(m_sep);
        m_lastBroken = false;
    }

    // The first place where the pieces, read as two lines, give back their
    // bytes (0 for none).
    size_t ReproducingSplit() {
        for (size_t at = 1; at < m_pieces.size(); ++at) {
            if (Reproduces(0, at) && Reproduces(at, m_pieces.size())) {
                return at;
            }
        }
        return 0;
    }

    // Where no reading of the line gives back its bytes, the Latin or
    // number start of its first piece, before a tag or a space, may be the
    // last piece of the line before: a piece without a Hebrew letter is
    // written with no line end, glued to the next line's first piece
    // ("Zasbkvct 13-884" and "<a href=x> ..." as "Zasbkvct 13-884<a href=x>
    // ..."). The first such start, of a few, after which the line gives
    // back its bytes is put at the end of the line before.
    void GluedRunBefore() {
        const std::string_view first = m_pieces[0];
        const size_t hebrew = FirstHebrewLetter(first);
        // A start is tried where it holds a letter or a digit.
        const auto alnum = std::find_if(first.begin(), first.end(), [](char c) {
            return std::isalnum(static_cast<unsigned char>(c));
        });
        const size_t firstWord = static_cast<size_t>(alnum - first.begin());
        const auto tried = [&](size_t at) {
            std::string_view rest = first.substr(at);
            while (!rest.empty() && rest.front() == ' ') {
                rest.remove_prefix(1);
            }
            m_pieces[0] = rest;
            if (!Reproduces(0, m_pieces.size()) || !(m_out.empty() || EndsWith(m_out, m_sep))) {
                return false;
            }
            m_logical = " ";
            VisualLineToLogical(TrimRight(first.substr(0, at)), m_logical);
            if (m_out.size() > m_sep.size()) {
                m_out.insert(m_out.size() - m_sep.size(), m_logical);
            } else {
                m_out.append(std::string_view(m_logical).substr(1)).append(m_sep);
            }
            return true;
        };
        // The start ends at a tag or a space, or after a closing tag,
        // before the first Hebrew letter (an opening tag goes with what
        // follows it): longest first.
        m_starts.clear();
        bool inTag = false;
        size_t opened = std::string_view::npos;  // the last tag's '<'
        size_t last = 0;                         // the last byte before `at` that is no space
        for (size_t at = 1; at < hebrew; ++at) {
            if (first[at - 1] == '<') {
                inTag = true;
                opened = at - 1;
            } else if (first[at - 1] == '>') {
                inTag = false;
            }
            if (first[at - 1] != ' ') {
                last = at - 1;
            }
            const bool afterOpening =
                first[last] == '>' && opened != std::string_view::npos && first[opened + 1] != '/';
            if (!inTag && at > firstWord && !afterOpening &&
                (first[at] == '<' || first[at] == ' ' || first[at - 1] == '>')) {
                m_starts.push_back(at);
            }
        }
        for (size_t k = m_starts.size(), left = kMostGluedStartsTried; k-- > 0 && left-- > 0;) {
            if (tried(m_starts[k])) {
                return;
            }
        }
        // Else it ends inside the word before the first Hebrew word
        // ("574334 Eqtvmjz" and "onllhrl" as "?574334 Eqtvmjzonllhrl"), at
        // one of the cuts the visual page cannot tell apart: the shortest
        // start that would not have fitted beside the line before's last
        // piece first.
        const size_t wordEnd =
            hebrew == 0 ? std::string_view::npos : first.find_last_not_of(' ', hebrew - 1);
        if (m_rules.width > 0 && wordEnd != std::string_view::npos && wordEnd + 1 < hebrew) {
            size_t wordStart = wordEnd;
            while (wordStart > 0 &&
                   std::isalnum(static_cast<unsigned char>(first[wordStart - 1]))) {
                --wordStart;
            }
            const size_t space = first.rfind(' ', wordStart);
            const size_t lastWord = space == std::string_view::npos ? 0 : space + 1;
            const size_t width = static_cast<size_t>(m_rules.width);
            size_t at = wordStart + 1;
            if (m_lastPiece + 1 + at - lastWord < width) {
                at = width - 1 - m_lastPiece + lastWord;
            }
            for (size_t left = kMostGluedStartsTried; at < wordEnd && left-- > 0; ++at) {
                if (tried(at)) {
                    return;
                }
            }
        }
        m_pieces[0] = first;
    }

    // The visual line of pieces [from, to) in m_joined: the pieces come right
    // end first, so the line is them in reverse order, a space between each
    // two.
    void Join(size_t from, size_t to) {
        m_joined.clear();
        for (size_t k = to; k-- > from;) {
            m_joined.append(m_pieces[k]);
            if (k > from) {
                m_joined.push_back(' ');
            }
            if (k == 1 && from == 0 && m_pieces[k].data() == m_twoSpaces) {
                m_joined.push_back(' ');
            }
        }
    }

    // Whether pieces [from, to) as one line, put in reading order and made
    // visual again with the page's width, give back the same pieces: each
    // piece with a Hebrew letter followed by a line end (its mark left out),
    // the others glued to what follows. The paragraph strings around a
    // piece without a Hebrew letter are gone from the pieces already, so
    // pages with them are measured alike. Lines with a tab (whose handling
    // the page's settings decide) are taken to give them back. Linear in
    // the pieces' length.
    bool Reproduces(size_t from, size_t to) {
        m_expected.clear();
        for (size_t k = from; k < to; ++k) {
            const bool hebrew = kHebrewLetterSet.AnyIn(m_pieces[k]);
            if (m_pieces[k].find('\t') != std::string_view::npos) {
                return true;
            }
            m_expected.append(m_pieces[k]);
            if (hebrew) {
                m_expected.append("\r\n");
            }
        }
        Join(from, to);
        m_logical.clear();
        VisualLineToLogical(m_joined, m_logical);
        convertinto::LogicalToVisual(m_logical, m_joined, 0, false);
        while (!m_joined.empty() && (m_joined.back() == '\n' || m_joined.back() == '\r')) {
            m_joined.pop_back();
        }
        m_wrapped.Clear();
        VisualLineWrapper(m_rules.width, 1, std::string(), 0, std::string(), std::string())
            .Line(m_joined, m_wrapped);
        return m_wrapped.View() == m_expected;
    }

private:
    const ModernPageRules& m_rules;
    // The page has the paragraph strings: a piece without a Hebrew letter
    // is then never glued to a Hebrew piece (a paragraph string and a line
    // end come between them).
    bool m_paragraphs;
    std::string_view m_breakString;  // without the line end it may hold
    bool m_breakEndsLine;
    bool m_afterMark = false;
    std::string_view m_sep;
    std::string& m_out;
    std::vector<std::string_view> m_pieces;
    std::string_view m_glued;  // tags glued before the first piece
    std::string m_joined;
    std::string m_logical;                         // a reading tried (Reproduces)
    std::string m_expected;                        // the bytes it must give back
    ByteSink m_wrapped;                            // what the wrapper makes of it
    static constexpr size_t kMostPiecesTried = 6;  // bounds the readings tried per line
    static constexpr size_t kMostGluedStartsTried = 3;
    std::vector<size_t> m_starts;  // where a glued start may end (GluedRunBefore)
    size_t m_lastPiece = 0;        // the length of the last line's last piece, as measured
    bool m_lastBroken = false;
    bool m_inRawBlock = false;
    const char* m_twoSpaces = nullptr;  // the second piece, cut with two spaces before it
    bool m_spaceLine = false;           // a line of white space, written once more follows
    size_t m_latinPending = 0;          // the Latin start of the first piece, not yet placed
    // A piece after a cut that may only begin or end its line, and which
    // it is taken to do.
    enum class EndOnly { No, First, Last };
    EndOnly m_endOnly = EndOnly::No;
    size_t m_tentative = 0;       // the piece kept with the line before, if any
    size_t m_tentativeGlued = 0;  // the length of the tags before it
};

// Replaces each meta tag that declares an old Hebrew charset by a UTF-8
// declaration; adds one after <head> (or at the start) when the page
// declares no charset at all.
void DeclareUtf8(std::string& page) {
    constexpr std::string_view kUtf8Meta = "<meta charset=\"utf-8\">";
    std::string result;
    const std::string_view text(page);
    bool declared = false;
    size_t copied = 0;
    size_t pos = 0;
    for (size_t lt = FindNoCase(text, "<meta"); lt != std::string_view::npos;
         lt = FindNoCase(text, "<meta", pos)) {
        const size_t gt = text.find('>', lt);
        if (gt == std::string_view::npos) {
            break;
        }
        const std::string_view tag = text.substr(lt, gt + 1 - lt);
        pos = gt + 1;
        if (FindNoCase(tag, "charset") == std::string_view::npos) {
            continue;
        }
        declared = true;
        if (FindNoCase(tag, "visual") != std::string_view::npos ||
            FindNoCase(tag, "iso-8859-8") != std::string_view::npos ||
            FindNoCase(tag, "windows-1255") != std::string_view::npos) {
            result.append(text.substr(copied, lt - copied)).append(kUtf8Meta);
            copied = pos;
        }
    }
    if (copied > 0) {
        result.append(text.substr(copied));
        page.swap(result);
        return;
    }
    if (declared) {
        return;
    }
    size_t at = 0;
    if (const size_t head = FindNoCase(text, "<head");
        head != std::string_view::npos &&
        (head + 5 == text.size() || text[head + 5] == '>' || text[head + 5] == ' ')) {
        const size_t gt = text.find('>', head);
        at = gt == std::string_view::npos ? 0 : gt + 1;
    }
    page.insert(at, kUtf8Meta);
}

bool HasAttribute(std::string_view tag, std::string_view name) {
    for (size_t at = FindNoCase(tag, name); at != std::string_view::npos;
         at = FindNoCase(tag, name, at + 1)) {
        const char before = tag[at - 1];
        if ((before == ' ' || before == '\t' || before == '\r' || before == '\n') &&
            at + name.size() < tag.size() && tag[at + name.size()] == '=') {
            return true;
        }
    }
    return false;
}

// The first tag named `name` (lower case, "<" included): where it starts, or npos.
size_t FindTag(std::string_view text, std::string_view name) {
    for (size_t at = FindNoCase(text, name); at != std::string_view::npos;
         at = FindNoCase(text, name, at + 1)) {
        const size_t after = at + name.size();
        if (after < text.size() && (text[after] == '>' || kWhiteSpaceSet.Contains(text[after]))) {
            return at;
        }
    }
    return std::string_view::npos;
}

// Gives the page its direction and language: on <html>, else on a division
// around the body's content.
void DeclareDirection(std::string& page) {
    const std::string_view text(page);
    if (const size_t html = FindTag(text, "<html"); html != std::string_view::npos) {
        const size_t gt = text.find('>', html);
        if (gt == std::string_view::npos) {
            return;
        }
        const std::string_view tag = text.substr(html, gt + 1 - html);
        std::string added;
        if (!HasAttribute(tag, "dir")) {
            added += " dir=\"rtl\"";
        }
        if (!HasAttribute(tag, "lang")) {
            added += " lang=\"he\"";
        }
        page.insert(html + 5, added);
        return;
    }
    constexpr std::string_view kOpen = "<div dir=\"rtl\" lang=\"he\">";
    size_t start = 0;
    if (const size_t body = FindTag(text, "<body"); body != std::string_view::npos) {
        const size_t gt = text.find('>', body);
        start = gt == std::string_view::npos ? 0 : gt + 1;
    }
    size_t end = FindNoCase(text, "</body", start);
    if (end == std::string_view::npos) {
        end = text.size();
    }
    page.insert(end, "</div>");
    page.insert(start, kOpen);
}

}  // namespace

void CConvert::VisualHtmlToModern(std::string& text, const ModernPageRules& rules) {
    const std::string_view source(text);
    const std::string_view sep = ChooseLineSeparator(source) == "\n" ? "\n" : "\r\n";
    std::string result;
    result.reserve(source.size() + source.size() / 16 + 128);
    // The paragraph strings are written each on a line of its own.
    bool paragraphs = false;
    if (!rules.beforeParagraph.empty()) {
        for (size_t at = source.find(rules.beforeParagraph); at != std::string_view::npos;
             at = source.find(rules.beforeParagraph, at + 1)) {
            const size_t end = at + rules.beforeParagraph.size();
            if (end == source.size() || source[end] == '\r' || source[end] == '\n') {
                paragraphs = true;
                break;
            }
        }
    }
    ModernLines lines(rules, paragraphs, sep, result);
    ForEachTextFileLine(source, [&](std::string_view line) { lines.Line(line); });
    lines.Flush();
    // Lines that, made visual again, do not give back their bytes are read
    // again.
    if (sep == "\r\n") {
        modernreread::RereadUnreproducedLines(source, result, rules, paragraphs,
                                              VisualLineToLogical);
    }
    DeclareDirection(result);
    DeclareUtf8(result);
    text.swap(result);
}
