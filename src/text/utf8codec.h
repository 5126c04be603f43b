#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// Where and why UTF-8 text could not be turned into code page 1255.
struct Utf8DecodeResult {
    enum class Error {
        None,
        NoCodePageForm,   // a valid character that code page 1255 cannot hold
        InvalidSequence,  // bytes that are not well-formed UTF-8
    };

    Error error = Error::None;
    std::size_t line = 0;    // 1-based line of the offending character
    std::size_t column = 0;  // 1-based column, counted in characters
    char32_t codePoint = 0;  // the character, for NoCodePageForm

    bool Ok() const { return error == Error::None; }

    // One line for a user: "line 3, column 7: U+4E2D has no code page 1255 form".
    std::string Describe() const;
};

// Conversions between UTF-8 and the system's code page 1255 bytes. All run in
// time and memory linear in their input.
class Utf8Codec {
public:
    // Decodes UTF-8 into code page 1255 bytes. Lines end at LF (so also at
    // CR LF); a byte order mark at the very start is skipped. On failure `out`
    // holds the bytes decoded before the offending character.
    static Utf8DecodeResult DecodeToCp1255(std::string_view utf8, std::string& out);

    // Decodes the well-formed sequence starting at text[pos] and advances pos
    // past it; nothing (and pos unchanged) when the bytes there are not
    // well-formed (overlong forms, surrogates and values above U+10FFFF are
    // not).
    static std::optional<char32_t> DecodeOne(std::string_view text, std::size_t& pos);

    // Encodes code page 1255 bytes as UTF-8. Undefined bytes become their
    // private-use characters, so DecodeToCp1255 gives the bytes back.
    static std::string EncodeCp1255(std::string_view bytes);

    // Encodes DOS text as UTF-8: bytes 0x80-0x9A are the Hebrew letters of
    // code page 862, every other byte is read as code page 1255.
    static std::string EncodeDosText(std::string_view bytes);
};
