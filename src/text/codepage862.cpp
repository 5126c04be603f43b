#include "text/codepage862.h"

namespace {

// Distance between a code page 1255 letter and the same letter in code page 862.
constexpr unsigned char kLetterShift = 0xE0 - CodePage862::kFirstLetter;
constexpr unsigned char kFirstWindowsLetter = 0xE0;
constexpr unsigned char kLastWindowsLetter = 0xFA;

}  // namespace

unsigned char CodePage862::SwapLetters(unsigned char byte) {
    if (IsHebrewLetter(byte)) {
        return static_cast<unsigned char>(byte + kLetterShift);
    }
    if (byte >= kFirstWindowsLetter && byte <= kLastWindowsLetter) {
        return static_cast<unsigned char>(byte - kLetterShift);
    }
    return byte;
}

void CodePage862::SwapLetters(std::string& text) {
    for (char& c : text) {
        c = static_cast<char>(SwapLetters(static_cast<unsigned char>(c)));
    }
}
