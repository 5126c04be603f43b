#include "text/codepage862.h"

namespace {

// Distance between a code page 1255 letter and the same letter in code page 862.
constexpr unsigned char kLetterShift = 0xE0 - CodePage862::kFirstLetter;

}  // namespace

unsigned char CodePage862::CharToOem(unsigned char byte) {
    return byte >= 0xE0 && byte <= 0xFA ? static_cast<unsigned char>(byte - kLetterShift) : byte;
}

void CodePage862::CharToOem(std::string& text) {
    for (char& c : text) {
        c = static_cast<char>(CharToOem(static_cast<unsigned char>(c)));
    }
}

unsigned char CodePage862::OemToChar(unsigned char byte) {
    return IsHebrewLetter(byte) ? static_cast<unsigned char>(byte + kLetterShift) : byte;
}

void CodePage862::OemToChar(std::string& text) {
    for (char& c : text) {
        c = static_cast<char>(OemToChar(static_cast<unsigned char>(c)));
    }
}
