#include "view/viewtext.h"

#include <algorithm>

#include "text/codepage862.h"

namespace viewtext {

namespace {

// An attribute's value is quoted with either kind of quote mark, and a link
// written bare in the text ends at a blank.
bool BoundsLink(char c) {
    return c == '"' || c == '\'' || c == ' ' || c == '\r' || c == '\n';
}

}  // namespace

Range LinkAround(std::string_view text, size_t caret) {
    caret = std::min(caret, text.size());
    size_t start = caret;
    while (start > 0 && !BoundsLink(text[start - 1])) {
        --start;
    }
    size_t end = caret;
    while (end < text.size() && !BoundsLink(text[end])) {
        ++end;
    }
    return {start, end};
}

std::optional<std::string> LinkTarget(std::string_view text, size_t caret) {
    const Range bounds = LinkAround(text, caret);
    std::string_view link = text.substr(bounds.start, bounds.end - bounds.start);
    link = link.substr(0, link.find('#'));
    link = link.substr(0, link.find('?'));
    if (link.find(".htm") == std::string_view::npos &&
        link.find(".txt") == std::string_view::npos) {
        return std::nullopt;
    }
    std::string target(link);
    std::replace(target.begin(), target.end(), '\\', '/');
    return target;
}

bool HoldsDosLetter(std::string_view text) {
    return std::any_of(text.begin(), text.end(), [](char c) {
        return CodePage862::IsHebrewLetter(static_cast<unsigned char>(c));
    });
}

}  // namespace viewtext
