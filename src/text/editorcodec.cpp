#include "text/editorcodec.h"

#include <array>
#include <cstdint>

#include "text/codepage1255.h"

namespace {

// Byte to UTF-16 unit, with the stand-ins for NUL, CR and LF already in place;
// the decoder deals with line breaks before it looks here.
using DecodeTable = std::array<char16_t, 256>;

DecodeTable BuildDecodeTable() {
    DecodeTable table{};
    for (unsigned byte = 0; byte < 256; ++byte) {
        table[byte] =
            static_cast<char16_t>(CodePage1255::ToUnicode(static_cast<unsigned char>(byte)));
    }
    table[0x00] = EditorCodec::kNulStandIn;
    table['\r'] = EditorCodec::kCrStandIn;
    table['\n'] = EditorCodec::kLfStandIn;
    return table;
}

const DecodeTable& Decoding() {
    static const DecodeTable table = BuildDecodeTable();
    return table;
}

// UTF-16 unit to byte for every unit: values below 256 are the byte, the two
// markers say "line break" and "no code page 1255 form".
constexpr uint16_t kBreak = 0x100;
constexpr uint16_t kNoForm = 0x200;
using EncodeTable = std::array<uint16_t, 0x10000>;

EncodeTable BuildEncodeTable() {
    EncodeTable table;
    table.fill(kNoForm);
    for (unsigned byte = 0; byte < 256; ++byte) {
        const char32_t unicode = CodePage1255::ToUnicode(static_cast<unsigned char>(byte));
        table[unicode] = static_cast<uint16_t>(byte);
    }
    table[EditorCodec::kNulStandIn] = 0x00;
    table[EditorCodec::kCrStandIn] = '\r';
    table[EditorCodec::kLfStandIn] = '\n';
    // '\n' and U+2029 separate the blocks of an editor document; CR and
    // U+2028 only come from outside, and are told apart by the caller.
    table['\n'] = kBreak;
    table[0x2029] = kBreak;
    table['\r'] = kBreak;
    table[0x2028] = kBreak;
    return table;
}

const EncodeTable& Encoding() {
    static const EncodeTable table = BuildEncodeTable();
    return table;
}

void AppendBreak(std::string& out, LineBreak lineBreak) {
    if (lineBreak == LineBreak::CrLf) {
        out.push_back('\r');
    }
    out.push_back('\n');
}

}  // namespace

QString EditorCodec::Decode(std::string_view bytes, LineBreak lineBreak) {
    const DecodeTable& table = Decoding();
    QString text(static_cast<qsizetype>(bytes.size()), Qt::Uninitialized);
    char16_t* out = reinterpret_cast<char16_t*>(text.data());
    char16_t* const begin = out;
    const size_t size = bytes.size();
    if (lineBreak == LineBreak::Lf) {
        for (size_t i = 0; i < size; ++i) {
            const unsigned char byte = static_cast<unsigned char>(bytes[i]);
            *out++ = byte == '\n' ? kLineBreak : table[byte];
        }
    } else {
        for (size_t i = 0; i < size; ++i) {
            const unsigned char byte = static_cast<unsigned char>(bytes[i]);
            if (byte == '\r' && i + 1 < size && bytes[i + 1] == '\n') {
                *out++ = kLineBreak;
                ++i;
            } else {
                *out++ = table[byte];
            }
        }
    }
    text.truncate(out - begin);
    return text;
}

std::string EditorCodec::Encode(QStringView text, LineBreak lineBreak) {
    const EncodeTable& table = Encoding();
    std::string out;
    out.reserve(static_cast<size_t>(text.size()) + static_cast<size_t>(text.size()) / 16 + 2);
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t unit = text[i].unicode();
        const uint16_t code = table[unit];
        if (code < 0x100) {
            out.push_back(static_cast<char>(code));
        } else if (code == kBreak) {
            if (unit == u'\r' && i + 1 < size && text[i + 1] == u'\n') {
                ++i;
            }
            AppendBreak(out, lineBreak);
        } else {
            out.push_back(kReplacement);
        }
    }
    return out;
}

void EditorCodec::AppendDocumentText(std::string& out, QStringView text, LineBreak lineBreak) {
    const EncodeTable& table = Encoding();
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t unit = text[i].unicode();
        const uint16_t code = table[unit];
        if (code < 0x100) {
            out.push_back(static_cast<char>(code));
        } else if (code == kBreak && (unit == u'\n' || unit == 0x2029)) {
            AppendBreak(out, lineBreak);
        } else {
            out.push_back(kReplacement);
        }
    }
}

char EditorCodec::EncodeInLine(QChar character) {
    const uint16_t code = Encoding()[character.unicode()];
    return code < 0x100 ? static_cast<char>(code) : kReplacement;
}

bool EditorCodec::HasCodePageForm(QChar character) {
    const char16_t unit = character.unicode();
    return Encoding()[unit] < 0x100 || unit == u'\n' || unit == 0x2029;
}
