#pragma once

#include <QString>
#include <QStringView>
#include <string>
#include <string_view>

// How line breaks are written as bytes: CR LF (the program's own form and the
// default of every document), or LF alone (files that ended their lines so).
enum class LineBreak { CrLf, Lf };

// The bridge between the program's code page 1255 bytes and the Unicode text
// of the editor widget. Decoding is one-to-one: every byte string comes back
// from Encode(Decode(bytes)) unchanged.
//   - Every byte becomes exactly one UTF-16 unit: its code page 1255
//     character, or a private-use character for a byte the code page leaves
//     undefined (see CodePage1255).
//   - A line break becomes '\n', which the editor turns into a block break.
//   - Bytes the editor would otherwise swallow or turn into line breaks get
//     visible stand-ins: NUL, a CR that is not part of a line break, and (for
//     CR LF text) a LF that is not part of one.
// Encoding maps the stand-ins back to their bytes. A character without a code
// page 1255 form (typed or pasted) becomes '?', one '?' per UTF-16 unit.
class EditorCodec {
public:
    static constexpr char16_t kLineBreak = u'\n';
    static constexpr char16_t kNulStandIn = u'\u2400';  // SYMBOL FOR NULL
    static constexpr char16_t kLfStandIn = u'\u240A';   // SYMBOL FOR LINE FEED
    static constexpr char16_t kCrStandIn = u'\u240D';   // SYMBOL FOR CARRIAGE RETURN
    static constexpr char kReplacement = '?';

    // Bytes to editor text. For CrLf, the pair CR LF is the line break; for
    // Lf, LF alone is, and every CR gets its stand-in.
    static QString Decode(std::string_view bytes, LineBreak lineBreak);

    // Text from anywhere (the clipboard, another program) to bytes: CR LF, CR,
    // LF, U+2028 and U+2029 are line breaks, written as lineBreak says.
    static std::string Encode(QStringView text, LineBreak lineBreak);

    // Text read out of an editor document (block text, raw text or a
    // selection) appended to out: only '\n' and U+2029 are line breaks, and
    // every other UTF-16 unit gives exactly one byte, so that byte offsets can
    // be computed from character positions.
    static void AppendDocumentText(std::string& out, QStringView text, LineBreak lineBreak);

    // The byte of one character inside a line, as AppendDocumentText writes it.
    static char EncodeInLine(QChar character);

    // True when a character of an editor document has a byte of its own
    // (line breaks and the stand-ins included), false for one that
    // AppendDocumentText would write as the replacement.
    static bool HasCodePageForm(QChar character);
};
