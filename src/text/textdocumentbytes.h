#pragma once

#include <QTextCharFormat>
#include <string>
#include <string_view>

#include "text/editorcodec.h"

class QTextDocument;

// Byte access to the text of an editor document (a QTextDocument filled
// through EditorCodec): the whole text or a range as code page 1255 bytes,
// and the mapping between byte offsets and document positions.
//
// Every character of a block is one byte and every block break is one line
// break (two bytes for CrLf), so the byte offset of a position is
//     position + blockNumber * (breakBytes - 1).
// Position to offset and line to offset are one block look-up each, O(log n)
// in the number of blocks. Offset to position and offset to line search the
// block numbers with one O(log n) block look-up per step: O(log² n) at worst
// (a text of nearly empty lines), a handful of look-ups in ordinary text.
// Only the whole-text read and write touch every character.
class TextDocumentBytes {
public:
    // The whole text, blocks joined by the line break.
    static std::string Read(const QTextDocument& document, LineBreak lineBreak);
    // The text between two document positions (in either order).
    static std::string ReadRange(const QTextDocument& document, int from, int to,
                                 LineBreak lineBreak);
    // Replaces the whole text with the decoded bytes, every character in the
    // given format, and clears the document's undo history.
    static void Write(QTextDocument& document, std::string_view bytes, LineBreak lineBreak,
                      const QTextCharFormat& format = QTextCharFormat());

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

    // Lines are the document's blocks, counted from 0; an empty text has one.
    static int LineCount(const QTextDocument& document);
    // The line holding a byte offset (its line break included); offsets past
    // the end give the last line.
    static int LineFromOffset(const QTextDocument& document, long offset, LineBreak lineBreak);
    // Byte offset of a line's first character; -1 for a line that does not exist.
    static long LineOffset(const QTextDocument& document, int line, LineBreak lineBreak);
};
