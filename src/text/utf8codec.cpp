#include "text/utf8codec.h"

#include <array>
#include <cstdio>
#include <optional>

#include "text/codepage1255.h"
#include "text/codepage862.h"

namespace {

// The UTF-8 form of one byte's character, at most three bytes.
struct Utf8Form {
    std::array<char, 3> bytes;
    unsigned char length;
};

using EncodeTable = std::array<Utf8Form, 256>;

Utf8Form EncodeCodePoint(char32_t cp) {
    // Every character either code page maps to lies in the Basic Multilingual Plane.
    if (cp < 0x80) {
        return {{static_cast<char>(cp), 0, 0}, 1};
    }
    if (cp < 0x800) {
        return {{static_cast<char>(0xC0 | (cp >> 6)), static_cast<char>(0x80 | (cp & 0x3F)), 0}, 2};
    }
    return {{static_cast<char>(0xE0 | (cp >> 12)), static_cast<char>(0x80 | ((cp >> 6) & 0x3F)),
             static_cast<char>(0x80 | (cp & 0x3F))},
            3};
}

EncodeTable BuildTable(bool dosLetters) {
    EncodeTable table{};
    for (unsigned b = 0; b < 256; ++b) {
        const auto byte = static_cast<unsigned char>(b);
        const char32_t cp = dosLetters && CodePage862::IsHebrewLetter(byte)
                                ? CodePage862::LetterToUnicode(byte)
                                : CodePage1255::ToUnicode(byte);
        table[b] = EncodeCodePoint(cp);
    }
    return table;
}

std::string Encode(std::string_view bytes, const EncodeTable& table) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 2);
    for (char c : bytes) {
        const Utf8Form& form = table[static_cast<unsigned char>(c)];
        out.append(form.bytes.data(), form.length);
    }
    return out;
}

bool IsContinuation(unsigned char b) {
    return (b & 0xC0) == 0x80;
}

}  // namespace

std::string Utf8DecodeResult::Describe() const {
    char buffer[128];
    switch (error) {
        case Error::None:
            return "no error";
        case Error::NoCodePageForm:
            std::snprintf(buffer, sizeof buffer,
                          "line %zu, column %zu: U+%04X has no code page 1255 form", line, column,
                          static_cast<unsigned>(codePoint));
            return buffer;
        case Error::InvalidSequence:
            std::snprintf(buffer, sizeof buffer, "line %zu, column %zu: invalid UTF-8", line,
                          column);
            return buffer;
    }
    return {};
}

std::optional<char32_t> Utf8Codec::DecodeOne(std::string_view text, std::size_t& pos) {
    const auto at = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = at(pos);
    std::size_t length;
    char32_t cp;
    unsigned char low = 0x80;  // allowed range of the second byte
    unsigned char high = 0xBF;
    if (lead < 0x80) {
        ++pos;
        return lead;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        cp = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        cp = lead & 0x0F;
        if (lead == 0xE0) {
            low = 0xA0;  // no overlong forms
        } else if (lead == 0xED) {
            high = 0x9F;  // no surrogates
        }
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        cp = lead & 0x07;
        if (lead == 0xF0) {
            low = 0x90;  // no overlong forms
        } else if (lead == 0xF4) {
            high = 0x8F;  // nothing above U+10FFFF
        }
    } else {
        return std::nullopt;
    }
    if (text.size() - pos < length) {
        return std::nullopt;
    }
    const unsigned char second = at(pos + 1);
    if (second < low || second > high) {
        return std::nullopt;
    }
    cp = (cp << 6) | (second & 0x3F);
    for (std::size_t i = 2; i < length; ++i) {
        if (!IsContinuation(at(pos + i))) {
            return std::nullopt;
        }
        cp = (cp << 6) | (at(pos + i) & 0x3F);
    }
    pos += length;
    return cp;
}

Utf8DecodeResult Utf8Codec::DecodeToCp1255(std::string_view utf8, std::string& out) {
    out.clear();
    out.reserve(utf8.size());
    std::size_t pos = utf8.starts_with("\xEF\xBB\xBF") ? 3 : 0;
    Utf8DecodeResult result;
    std::size_t line = 1;
    std::size_t column = 1;
    while (pos < utf8.size()) {
        const std::optional<char32_t> cp = DecodeOne(utf8, pos);
        if (!cp) {
            result.error = Utf8DecodeResult::Error::InvalidSequence;
            result.line = line;
            result.column = column;
            return result;
        }
        const std::optional<unsigned char> byte = CodePage1255::FromUnicode(*cp);
        if (!byte) {
            result.error = Utf8DecodeResult::Error::NoCodePageForm;
            result.line = line;
            result.column = column;
            result.codePoint = *cp;
            return result;
        }
        out.push_back(static_cast<char>(*byte));
        if (*cp == '\n') {
            ++line;
            column = 1;
        } else {
            ++column;
        }
    }
    return result;
}

std::string Utf8Codec::EncodeCp1255(std::string_view bytes) {
    static const EncodeTable table = BuildTable(false);
    return Encode(bytes, table);
}

std::string Utf8Codec::EncodeDosText(std::string_view bytes) {
    static const EncodeTable table = BuildTable(true);
    return Encode(bytes, table);
}
