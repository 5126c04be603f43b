// MakeDosText: bound, recoding to code page 862, letters and digits kept.
//
// Input: the text.
#include <cstddef>
#include <cstdint>
#include <string>

#include "convert/convert.h"
#include "fuzzsupport.h"

namespace {

// Bound. Write L for the number of text lines (CR LF pairs + 1). Every
// written line ("emit") takes bytes off the carry and writes them padded to at
// most 70 columns, plus CR LF: at most its bytes + 72. The bytes that ever
// enter the carry are the n input bytes, at most one joining space per emit
// before the final flush and one in it (2L + 1), and the CR LF that each of
// at most L empty lines leaves on the carry (2L): B <= n + 4L + 1. There are
// L text line emits and at most L more after empty lines. The final flush
// takes, in any two emits in a row, at least 66 bytes or all that is left
// (a cut after the space with the greatest distance from the right end within
// the rightmost 65 bytes leaves no space nearer than that for the next cut),
// so it has at most 2 * ceil(B / 66) + 1 emits. Hence
//   size <= B + 72 * (2L + 2 * ceil(B / 66) + 1),
// a little over 3n plus 150 per line.
size_t MakeDosTextBound(const std::string& input) {
    size_t lines = 1;
    for (size_t hit = input.find("\r\n"); hit != std::string::npos;
         hit = input.find("\r\n", hit + 2)) {
        ++lines;
    }
    const size_t carried = input.size() + 4 * lines + 1;
    const size_t emits = 2 * lines + 2 * ((carried + 65) / 66) + 1;
    return carried + 72 * emits;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::ByteReader reader(data, size);
    const std::string input = reader.Rest();

    std::string output = input;
    CConvert::MakeDosText(output);

    FUZZ_CHECK(output.size() <= MakeDosTextBound(input));

    // Every written line ends in CR LF; nothing in, nothing out.
    if (input.empty()) {
        FUZZ_CHECK(output.empty());
    } else {
        FUZZ_CHECK(output.size() >= 2 && output.compare(output.size() - 2, 2, "\r\n") == 0);
    }

    // A line holding a Hebrew letter is recoded as a whole, so no code page
    // 1255 letter is left and each DOS letter counts the input's letter in
    // both code pages. Only spaces, CR and LF are added, and only the
    // entities "&quot;" and "&nbsp;" remove letters, so without "&" every
    // ASCII letter and digit is kept exactly.
    const fuzz::ByteCounts in = fuzz::CountBytes(input);
    const fuzz::ByteCounts out = fuzz::CountBytes(output);
    const bool noEntities = in['&'] == 0;
    for (unsigned v = 0; v < 256; ++v) {
        if (fuzz::IsHebrewLetter(v)) {
            FUZZ_CHECK(out[v] == 0);
            FUZZ_CHECK(out[v - 0x60] == in[v] + in[v - 0x60]);
        } else if (fuzz::IsAsciiAlnum(v)) {
            FUZZ_CHECK(noEntities ? out[v] == in[v] : out[v] <= in[v]);
        }
    }
    return 0;
}
