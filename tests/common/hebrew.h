#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

// Test texts are written in UTF-8 for readability; the program works on code
// page 1255 bytes. This turns ASCII and the 27 Hebrew letters of a UTF-8
// literal into code page 1255. Other bytes must be written as escapes inside
// the literal's ASCII-compatible parts (e.g. "\xC8"), which pass unchanged
// when they are not part of a Hebrew letter.
inline std::string Heb(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(utf8[i]);
        if (c == 0xD7 && i + 1 < utf8.size()) {
            const unsigned char d = static_cast<unsigned char>(utf8[i + 1]);
            if (d >= 0x90 && d <= 0xAA) {  // U+05D0..U+05EA
                out.push_back(static_cast<char>(0xE0 + (d - 0x90)));
                ++i;
                continue;
            }
        }
        out.push_back(static_cast<char>(c));
    }
    return out;
}
