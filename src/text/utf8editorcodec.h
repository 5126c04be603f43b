#pragma once

#include <QString>
#include <QStringView>
#include <optional>
#include <string>
#include <string_view>

#include "text/editorcodec.h"

// The encodings a document's file can have: code page 1255 (one byte per
// character, through EditorCodec) or UTF-8.
enum class TextEncoding { Cp1255, Utf8 };

// The bridge between a UTF-8 file and the Unicode text of the editor widget,
// the counterpart of EditorCodec for UTF-8 documents. Line breaks and the
// stand-ins for a lone CR, a lone LF and NUL are those of EditorCodec, so the
// editor text of either encoding is the same kind of text.
class Utf8EditorCodec {
public:
    static constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

    // True when a file of these bytes opens as UTF-8: it starts with a byte
    // order mark or holds at least one multi-byte sequence, it is valid UTF-8
    // throughout, and the editor can hold its text unchanged (see Decode).
    // Every other file is code page 1255.
    static bool OpensAsUtf8(std::string_view bytes);
    // The editor text of a file that opens as UTF-8 (its byte order mark
    // left out, and byteOrderMark telling whether it had one); nothing for
    // every other file.
    static std::optional<QString> DecodeFile(std::string_view bytes, LineBreak lineBreak,
                                             bool& byteOrderMark);

    // Valid UTF-8 (no overlong forms, no surrogates, nothing above U+10FFFF),
    // in one linear pass.
    static bool IsValid(std::string_view bytes);

    // The editor text of UTF-8 bytes (without their byte order mark): line
    // breaks as lineBreak says become '\n', a lone CR or LF and NUL their
    // stand-ins. Nothing when the bytes are not valid UTF-8, or hold a
    // character the editor would not give back as it is (a stand-in
    // character itself, a paragraph separator or a text-frame marker).
    static std::optional<QString> Decode(std::string_view bytes, LineBreak lineBreak);

    // Editor text ('\n' or U+2029 for a line break) to UTF-8: line breaks
    // written as lineBreak says, stand-ins as their bytes. Encode(Decode(b))
    // gives b back.
    static std::string Encode(QStringView text, LineBreak lineBreak);
};
