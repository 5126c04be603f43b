#pragma once

#include <QString>
#include <QStringView>
#include <QTextCharFormat>
#include <QTextFormat>
#include <algorithm>
#include <string>
#include <string_view>

#include "text/editorcodec.h"

class QTextBlock;
class QTextCursor;
class QTextDocument;

// Byte access to the text of an editor document (a QTextDocument filled
// through EditorCodec): the whole text or a range as code page 1255 bytes,
// and the mapping between byte offsets and document positions.
//
// A text line is one block, except a very long one: the editor lays out and
// re-lays out a whole block at every change, so a line of more than
// kLongLineChars characters is held as pieces of about kPieceChars, each a
// block of its own. The block of every piece after the first carries the
// kContinuesLine property; the break before it is a soft break, which stands
// for no byte. Each piece starts a new screen line; the text a piece ends
// with is the same as when the line is wrapped there.
//
// Every character of a block is one byte, every hard block break is one line
// break (two bytes for CrLf) and every soft break none, so the byte offset of
// a position is
//     position + hardBreaksBefore * (breakBytes - 1) - softBreaksBefore.
// The soft breaks are kept as a sorted list of block numbers, rebuilt when
// the text has changed. Without soft breaks, position to offset and line to
// offset are one block look-up each, O(log n) in the number of blocks; with
// them, and for offset to position and offset to line, a binary search over
// block numbers, O(log² n). Only the whole-text read and write touch every
// character.
class TextDocumentBytes {
public:
    // Lines longer than this are split into pieces of at most kPieceChars
    // (ending after the last blank or ">" in the piece's second half, when
    // there is one) as they come in.
    static constexpr int kLongLineChars = 8192;
    static constexpr int kPieceChars = 4096;
    // The block format property of a piece that continues the line of the
    // block before it.
    static constexpr int kContinuesLine = QTextFormat::UserProperty + 0x1255;

    // The whole text, blocks joined by the line break.
    static std::string Read(const QTextDocument& document, LineBreak lineBreak);
    // The text between two document positions (in either order).
    static std::string ReadRange(const QTextDocument& document, int from, int to,
                                 LineBreak lineBreak);
    // Calls f(text, position) on the document's raw text (blocks separated by
    // U+2029, soft breaks included) a slice of at most kChunkChars at a time,
    // in order, so that a pass over the text never holds all of it twice
    // (at about half the speed of one copy of the whole text).
    static constexpr int kChunkChars = 1 << 20;
    template <class F>
    static void ForEachChunk(const QTextDocument& document, F f) {
        const int end = CharacterCount(document);
        for (int at = 0; at < end; at += kChunkChars) {
            f(QStringView(Chunk(document, at, std::min(end, at + kChunkChars))), at);
        }
    }
    // The editor text between two positions with '\n' as line break and
    // the soft breaks left out (what a copy puts on the clipboard).
    static QString EditorTextRange(const QTextDocument& document, int from, int to);
    // Replaces the whole text with the decoded bytes, every character in the
    // given format, and clears the document's undo history.
    static void Write(QTextDocument& document, std::string_view bytes, LineBreak lineBreak,
                      const QTextCharFormat& format = QTextCharFormat());
    // The same for editor text ('\n' for a line break) already decoded.
    static void WriteText(QTextDocument& document, QStringView text,
                          const QTextCharFormat& format = QTextCharFormat());
    // The position of the first character between two positions (in either
    // order) that has no code page 1255 form; -1 when every one has.
    static int FindWithoutCodePageForm(const QTextDocument& document, int from, int to);
    // The line (0-based) and column (0-based, in characters) of a position.
    static void LineAndColumn(const QTextDocument& document, int position, int& line, int& column);
    // Inserts editor text ('\n' for a line break) at the cursor in place of
    // its selection, as one edit: its line breaks always start new lines, and
    // a line that grows too long is split into pieces. With a format, the
    // text takes it; otherwise the cursor's.
    static void Insert(QTextCursor& cursor, QStringView text,
                       const QTextCharFormat* format = nullptr);
    // Replaces the cursor's selection (or inserts at it) with the decoded
    // bytes, as one undo step of its own: typing is merged into an insertion
    // just before it only when nothing else comes between. The text takes
    // the cursor's format; the cursor ends after it.
    static void Replace(QTextCursor& cursor, std::string_view bytes, LineBreak lineBreak);
    // The character format a whole-text write gives the text: the one last
    // given to the whole text, kept with the document so that every view of
    // it and the document itself write alike.
    static QTextCharFormat TextFormat(const QTextDocument& document);
    static void SetTextFormat(QTextDocument& document, const QTextCharFormat& format);
    // True for a block that continues the line of the block before it.
    static bool ContinuesLine(const QTextBlock& block);

    // Length of the whole text in bytes.
    static long Length(const QTextDocument& document, LineBreak lineBreak);
    // Byte offset of a position; positions outside the text are taken to its
    // nearer end.
    static long OffsetFromPosition(const QTextDocument& document, int position,
                                   LineBreak lineBreak);
    // Position of a byte offset: an offset between the CR and the LF of a line
    // break gives the end of that line; one beyond the text gives its end,
    // a negative one its start.
    static int PositionFromOffset(const QTextDocument& document, long offset, LineBreak lineBreak);

    // Lines are counted from 0; an empty text has one.
    static int LineCount(const QTextDocument& document);
    // The line holding a byte offset (its line break included); offsets past
    // the end give the last line.
    static int LineFromOffset(const QTextDocument& document, long offset, LineBreak lineBreak);
    // Byte offset of a line's first character; -1 for a line that does not exist.
    static long LineOffset(const QTextDocument& document, int line, LineBreak lineBreak);
    // The line a block belongs to, and the first block of a line (clamped to
    // the text's lines).
    static int LineOfBlock(const QTextDocument& document, int blockNumber);
    static int FirstBlockOfLine(const QTextDocument& document, int line);

private:
    static int CharacterCount(const QTextDocument& document);
    static QString Chunk(const QTextDocument& document, int from, int to);
};
