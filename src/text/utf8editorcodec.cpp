#include "text/utf8editorcodec.h"
#include "text/utf8codec.h"

#include <algorithm>

namespace {

// Characters that, read from a file, the editor would not give back as they
// came: the stand-ins (they would be written as the bytes they stand for),
// the paragraph separator (it becomes a line break) and the text-frame
// markers QTextDocument uses internally.
bool EditorCannotHold(char16_t unit) {
    switch (unit) {
        case EditorCodec::kNulStandIn:
        case EditorCodec::kLfStandIn:
        case EditorCodec::kCrStandIn:
        case 0x2029:
        case 0xFDD0:
        case 0xFDD1:
            return true;
        default:
            return false;
    }
}

void AppendBreak(std::string& out, LineBreak lineBreak) {
    if (lineBreak == LineBreak::CrLf) {
        out.push_back('\r');
    }
    out.push_back('\n');
}

}  // namespace

bool Utf8EditorCodec::IsValid(std::string_view bytes) {
    for (size_t i = 0; i < bytes.size();) {
        if (!Utf8Codec::DecodeOne(bytes, i)) {
            return false;
        }
    }
    return true;
}

bool Utf8EditorCodec::OpensAsUtf8(std::string_view bytes) {
    // Line breaks do not matter for whether the text can be held.
    bool byteOrderMark = false;
    return DecodeFile(bytes, LineBreak::CrLf, byteOrderMark).has_value();
}

std::optional<QString> Utf8EditorCodec::DecodeFile(std::string_view bytes, LineBreak lineBreak,
                                                   bool& byteOrderMark) {
    byteOrderMark = bytes.starts_with(kByteOrderMark);
    if (byteOrderMark) {
        bytes.remove_prefix(kByteOrderMark.size());
    }
    // In valid UTF-8 every byte from 0x80 on belongs to a multi-byte sequence.
    const bool multiByte = std::any_of(
        bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
    if (!byteOrderMark && !multiByte) {
        return std::nullopt;
    }
    return Decode(bytes, lineBreak);
}

std::optional<QString> Utf8EditorCodec::Decode(std::string_view bytes, LineBreak lineBreak) {
    if (!IsValid(bytes)) {
        return std::nullopt;
    }
    const QString raw = QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
    QString text(raw.size(), Qt::Uninitialized);
    char16_t* out = reinterpret_cast<char16_t*>(text.data());
    char16_t* const begin = out;
    const qsizetype size = raw.size();
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t unit = raw[i].unicode();
        switch (unit) {
            case u'\0':
                *out++ = EditorCodec::kNulStandIn;
                break;
            case u'\r':
                if (lineBreak == LineBreak::CrLf && i + 1 < size && raw[i + 1] == u'\n') {
                    *out++ = EditorCodec::kLineBreak;
                    ++i;
                } else {
                    *out++ = EditorCodec::kCrStandIn;
                }
                break;
            case u'\n':
                *out++ =
                    lineBreak == LineBreak::Lf ? EditorCodec::kLineBreak : EditorCodec::kLfStandIn;
                break;
            default:
                if (EditorCannotHold(unit)) {
                    return std::nullopt;
                }
                *out++ = unit;
        }
    }
    text.truncate(out - begin);
    return text;
}

std::string Utf8EditorCodec::Encode(QStringView text, LineBreak lineBreak) {
    std::string out;
    out.reserve(static_cast<size_t>(text.size()) * 2 + 2);
    const qsizetype size = text.size();
    qsizetype run = 0;  // start of the characters not yet written
    const auto flush = [&](qsizetype to) {
        if (to > run) {
            const QByteArray utf8 = text.sliced(run, to - run).toUtf8();
            out.append(utf8.constData(), static_cast<size_t>(utf8.size()));
        }
        run = to + 1;
    };
    for (qsizetype i = 0; i < size; ++i) {
        switch (text[i].unicode()) {
            case EditorCodec::kLineBreak:
            case 0x2029:
                flush(i);
                AppendBreak(out, lineBreak);
                break;
            case EditorCodec::kNulStandIn:
                flush(i);
                out.push_back('\0');
                break;
            case EditorCodec::kCrStandIn:
                flush(i);
                out.push_back('\r');
                break;
            case EditorCodec::kLfStandIn:
                flush(i);
                out.push_back('\n');
                break;
            default:
                break;
        }
    }
    flush(size);
    return out;
}
