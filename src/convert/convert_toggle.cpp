// Visual HTML to semi-logical HTML and back.
#include "convert/convert.h"
#include "convert/linereverser.h"

namespace {
constexpr CharSet kToggleRunSet{charsets::kToggleRun};
constexpr CharSet kTogglePunctuationSet{charsets::kTogglePunctuation};
}  // namespace

void CConvert::ToggleSemiLogical(std::string& text, const CharSet& hebrewSet) {
    if (text.empty()) {
        return;
    }
    // No entity or tab rules here: "&" and ";" are run bytes, so entities stay
    // whole; line ends inside a segment are turned around like other bytes.
    const ReverseRules rules{kToggleRunSet, kTogglePunctuationSet, false, false};
    const LineReverser reverser(rules);
    const std::string_view source(text);
    std::string result;
    result.reserve(source.size() + source.size() / 16 + 16);

    size_t pos = 0;
    bool firstSegment = true;
    for (;;) {
        size_t hebrew = pos;
        while (hebrew < source.size() && !hebrewSet.Contains(source[hebrew])) {
            ++hebrew;
        }
        if (hebrew == source.size()) {
            break;
        }
        // Plain text at the very start is a segment of its own, Hebrew or not.
        const size_t start = firstSegment && source[0] != '<' ? 0 : hebrew;
        firstSegment = false;
        size_t end = source.find('<', start);
        if (end == std::string_view::npos) {
            end = source.size();
        }
        result.append(source.substr(pos, start - pos));
        reverser.Append(source.substr(start, end - start), result);
        pos = end;
    }
    result.append(source.substr(pos));
    text.swap(result);
}
