#include "convert/textsearch.h"

#include <string.h>

#include <cstring>

#include "convert/charset.h"

size_t PatternFinder::Find(std::string_view text, size_t from) const {
    if (m_pattern.empty() || from >= text.size()) {
        return std::string_view::npos;
    }
    const void* hit =
        ::memmem(text.data() + from, text.size() - from, m_pattern.data(), m_pattern.size());
    return hit == nullptr ? std::string_view::npos
                          : static_cast<size_t>(static_cast<const char*>(hit) - text.data());
}

size_t ReplaceAll(std::string& text, std::string_view from, std::string_view to) {
    if (from.empty()) {
        return 0;
    }
    const PatternFinder finder(from);
    size_t hit = finder.Find(text);
    if (hit == std::string::npos) {
        return 0;
    }
    std::string result;
    result.reserve(text.size());
    size_t pos = 0;
    size_t count = 0;
    while (hit != std::string::npos) {
        result.append(text, pos, hit - pos);
        result.append(to);
        pos = hit + from.size();
        ++count;
        hit = finder.Find(text, pos);
    }
    result.append(text, pos, std::string::npos);
    text.swap(result);
    return count;
}

std::string_view TrimmedView(std::string_view text) {
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && kWhiteSpaceSet.Contains(text[begin])) {
        ++begin;
    }
    while (end > begin && kWhiteSpaceSet.Contains(text[end - 1])) {
        --end;
    }
    return text.substr(begin, end - begin);
}

void TrimTrailingWhiteSpace(std::string& text) {
    size_t end = text.size();
    while (end > 0 && kWhiteSpaceSet.Contains(text[end - 1])) {
        --end;
    }
    text.resize(end);
}

void TrimWhiteSpace(std::string& text) {
    TrimTrailingWhiteSpace(text);
    size_t begin = 0;
    while (begin < text.size() && kWhiteSpaceSet.Contains(text[begin])) {
        ++begin;
    }
    text.erase(0, begin);
}

std::string_view ChooseLineSeparator(std::string_view text) {
    // "\r\r\n" holds "\r\n", so the longer separator is tried first.
    for (std::string_view sep : {"\r\r\n", "\r\n", "\n"}) {
        if (text.find(sep) != std::string_view::npos) {
            return sep;
        }
    }
    return "\r";
}

size_t FindSeparator(std::string_view text, size_t from, std::string_view separator) {
    if (separator.empty() || separator.back() != '\n') {
        return text.find(separator, from);
    }
    const size_t before = separator.size() - 1;
    const char* const data = text.data();
    size_t pos = from + before;  // the LF of a separator at `from` or later
    while (pos < text.size()) {
        const void* hit = std::memchr(data + pos, '\n', text.size() - pos);
        if (hit == nullptr) {
            break;
        }
        const size_t lf = static_cast<size_t>(static_cast<const char*>(hit) - data);
        bool match = true;
        for (size_t k = 0; k < before; ++k) {
            match = match && data[lf - before + k] == separator[k];
        }
        if (match) {
            return lf - before;
        }
        pos = lf + 1;
    }
    return std::string_view::npos;
}

size_t FindNoCase(std::string_view text, std::string_view pattern, size_t from) {
    if (pattern.empty() || text.size() < pattern.size()) {
        return std::string_view::npos;
    }
    const auto lower = [](char c) {
        return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    };
    for (size_t i = from; i + pattern.size() <= text.size(); ++i) {
        size_t k = 0;
        while (k < pattern.size() && lower(text[i + k]) == pattern[k]) {
            ++k;
        }
        if (k == pattern.size()) {
            return i;
        }
    }
    return std::string_view::npos;
}

bool EndsWith(std::string_view text, std::string_view suffix) {
    return !suffix.empty() && text.size() >= suffix.size() &&
           text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}
