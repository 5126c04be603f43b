// Visual HTML down to its lines, and tags to lower case.
#include <cstring>

#include "convert/convert.h"
#include "convert/textsearch.h"

namespace {

// The first occurrence of a pattern at or after a position that only ever
// grows: remembers the last hit so that the text is scanned once in all.
class ForwardSearch {
public:
    ForwardSearch(std::string_view text, std::string_view pattern)
        : m_text(text), m_pattern(pattern) {}

    size_t FirstAtOrAfter(size_t from) {
        if (!m_searched || (m_hit != std::string_view::npos && m_hit < from)) {
            m_hit = m_text.find(m_pattern, from);
            m_searched = true;
        }
        return m_hit;
    }

private:
    std::string_view m_text;
    std::string_view m_pattern;
    size_t m_hit = std::string_view::npos;
    bool m_searched = false;
};

// Cuts out the script blocks opened by `opener`, from left to right: each block
// runs from the opener to the end of the first `closer` after it, else of the
// first `otherCloser` after it. Only closing tags after the opener count, so a
// block never reaches back before its opening tag. An opener with no closing
// tag after it ends the pass; the rest of the text stays as it is. The text is
// compacted in place (what is kept only ever moves left, behind every byte
// still to be searched), so a large page needs no second copy.
void CutScripts(std::string& text, std::string_view opener, std::string_view closer,
                std::string_view otherCloser) {
    const std::string_view view(text);
    ForwardSearch closes(view, closer);
    ForwardSearch otherCloses(view, otherCloser);
    size_t pos = 0;
    size_t kept = 0;
    for (;;) {
        const size_t open = view.find(opener, pos);
        if (open == std::string_view::npos) {
            break;
        }
        size_t close = closes.FirstAtOrAfter(open);
        if (close == std::string_view::npos) {
            close = otherCloses.FirstAtOrAfter(open);
        }
        if (close == std::string_view::npos) {
            break;
        }
        std::memmove(text.data() + kept, text.data() + pos, open - pos);
        kept += open - pos;
        pos = close + closer.size();  // both closers are 8 bytes long
    }
    if (kept != pos) {
        text.erase(kept, pos - kept);
    }
}

// Lower-case script openers are cut first, then upper-case ones, as the
// program always did. Text on the two sides of a cut is not searched again as
// one: a cut never makes a new script tag out of the pieces around it.
void RemoveScripts(std::string& text) {
    CutScripts(text, "<script", "/script>", "/SCRIPT>");
    CutScripts(text, "<SCRIPT", "/SCRIPT>", "/script>");
}

// Appends chunk to out with every line separator replaced by one space.
void AppendJoined(std::string_view chunk, std::string_view sep, std::string& out) {
    size_t pos = 0;
    for (size_t hit = chunk.find(sep); hit != std::string_view::npos; hit = chunk.find(sep, pos)) {
        out.append(chunk.substr(pos, hit - pos)).push_back(' ');
        pos = hit + sep.size();
    }
    out.append(chunk.substr(pos));
}

bool IsLineEndTag(std::string_view text, size_t lt) {
    return text.compare(lt, 4, "<BR>") == 0 || text.compare(lt, 4, "<br>") == 0 ||
           text.compare(lt, 7, "</title") == 0 || text.compare(lt, 7, "</TITLE") == 0;
}

}  // namespace

void CConvert::VisualHtmlToLines(std::string& text, const CharSet& hebrewSet) {
    const std::string_view sep = ChooseLineSeparator(text);
    RemoveScripts(text);
    const std::string_view source(text);

    std::string result;
    result.reserve(source.size());
    size_t pos = 0;
    while (pos < source.size()) {
        const size_t lt = source.find('<', pos);
        // A "<" without a ">" after it opens no tag: the rest is kept as text.
        const size_t gt = lt == std::string_view::npos ? lt : source.find('>', lt);
        if (gt == std::string_view::npos) {
            result.append(source.substr(pos));
            break;
        }
        const std::string_view chunk = source.substr(pos, lt - pos);
        if (hebrewSet.AnyIn(chunk)) {
            AppendJoined(chunk, sep, result);
        } else {
            result.append(chunk);
        }
        if (IsLineEndTag(source, lt)) {
            result.append("\r\n");
        }
        pos = gt + 1;
        // Source line ends after a tag: an empty source line stays an empty line.
        while (pos < source.size() &&
               (source[pos] == '\r' || source[pos] == '\n' || source[pos] == '\t')) {
            ++pos;
            if (source.compare(pos, sep.size(), sep) == 0 && result != "\r\n") {
                result.append("\r\n");
            }
        }
    }
    text.swap(result);
}

std::string CConvert::LowerTagCase(std::string text) {
    // A "<" with no ">" after it is no complete tag and stays as it is.
    size_t pos = 0;
    for (size_t lt = text.find('<'); lt != std::string::npos; lt = text.find('<', pos)) {
        const size_t gt = text.find('>', lt);
        if (gt == std::string::npos) {
            break;
        }
        for (size_t k = lt; k < gt; ++k) {
            if (text[k] >= 'A' && text[k] <= 'Z') {
                text[k] = static_cast<char>(text[k] - 'A' + 'a');
            }
        }
        pos = gt;
    }
    return text;
}
