#include "text/textdocumentbytes.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>

namespace {

long ExtraBreakBytes(LineBreak lineBreak) {
    return lineBreak == LineBreak::CrLf ? 1 : 0;
}

// Characters of the text, without the paragraph end every document carries.
int CharacterLength(const QTextDocument& document) {
    return document.characterCount() - 1;
}

long BlockStartOffset(const QTextBlock& block, int blockNumber, LineBreak lineBreak) {
    return block.position() + blockNumber * ExtraBreakBytes(lineBreak);
}

// The last block whose first byte is at or before offset (offset within
// 0 .. Length). Block k starts at byte position(k) + k, so:
//   - the answer is at most the block of character position offset - low,
//     for any lower bound low (its start would be after offset otherwise);
//   - the block of character position offset - high, for any upper bound
//     high, starts at or before offset, so it is a lower bound.
// A few rounds of these narrow the range to a few blocks in ordinary text
// (each round divides it by about the line length); a binary search over
// block numbers, one block look-up per probe, finishes.
int BlockNumberOfOffset(const QTextDocument& document, long offset, LineBreak lineBreak) {
    const long characters = CharacterLength(document);
    auto blockAt = [&](long position) {
        return document.findBlock(static_cast<int>(std::clamp(position, 0L, characters)))
            .blockNumber();
    };
    if (lineBreak == LineBreak::Lf) {
        return blockAt(offset);
    }
    int low = 0;
    int high = blockAt(offset);
    constexpr int kNarrowingRounds = 4;
    for (int round = 0; round < kNarrowingRounds && low < high; ++round) {
        const int newLow = std::max(low, blockAt(offset - high));
        const int newHigh = std::min(high, blockAt(offset - newLow));
        if (newLow == low && newHigh == high) {
            break;
        }
        low = newLow;
        high = newHigh;
    }
    while (low < high) {
        const int middle = low + (high - low + 1) / 2;
        if (BlockStartOffset(document.findBlockByNumber(middle), middle, lineBreak) <= offset) {
            low = middle;
        } else {
            high = middle - 1;
        }
    }
    return low;
}

}  // namespace

std::string TextDocumentBytes::Read(const QTextDocument& document, LineBreak lineBreak) {
    std::string bytes;
    bytes.reserve(static_cast<size_t>(Length(document, lineBreak)));
    // The raw text keeps U+00A0 and separates blocks with U+2029, unlike
    // toPlainText, which turns both into other characters.
    EditorCodec::AppendDocumentText(bytes, document.toRawText(), lineBreak);
    return bytes;
}

std::string TextDocumentBytes::ReadRange(const QTextDocument& document, int from, int to,
                                         LineBreak lineBreak) {
    const int end = CharacterLength(document);
    from = std::clamp(from, 0, end);
    to = std::clamp(to, 0, end);
    if (from == to) {
        return std::string();
    }
    QTextCursor cursor(const_cast<QTextDocument*>(&document));
    cursor.setPosition(from);
    cursor.setPosition(to, QTextCursor::KeepAnchor);
    const QString text = cursor.selectedText();
    std::string bytes;
    bytes.reserve(static_cast<size_t>(text.size()) + 16);
    EditorCodec::AppendDocumentText(bytes, text, lineBreak);
    return bytes;
}

void TextDocumentBytes::Write(QTextDocument& document, std::string_view bytes, LineBreak lineBreak,
                              const QTextCharFormat& format) {
    const QString text = EditorCodec::Decode(bytes, lineBreak);
    // As QTextDocument::setPlainText does, but with the given character
    // format, so that a whole-text write keeps the text font.
    const bool undoEnabled = document.isUndoRedoEnabled();
    document.setUndoRedoEnabled(false);
    QTextCursor cursor(&document);
    cursor.beginEditBlock();
    document.clear();
    cursor.setBlockCharFormat(format);
    cursor.insertText(text, format);
    cursor.endEditBlock();
    document.setUndoRedoEnabled(undoEnabled);
}

long TextDocumentBytes::Length(const QTextDocument& document, LineBreak lineBreak) {
    return CharacterLength(document) + (document.blockCount() - 1) * ExtraBreakBytes(lineBreak);
}

long TextDocumentBytes::OffsetFromPosition(const QTextDocument& document, int position,
                                           LineBreak lineBreak) {
    position = std::clamp(position, 0, CharacterLength(document));
    return position + document.findBlock(position).blockNumber() * ExtraBreakBytes(lineBreak);
}

int TextDocumentBytes::PositionFromOffset(const QTextDocument& document, long offset,
                                          LineBreak lineBreak) {
    offset = std::clamp(offset, 0L, Length(document, lineBreak));
    const int number = BlockNumberOfOffset(document, offset, lineBreak);
    const QTextBlock block = document.findBlockByNumber(number);
    const long inBlock = offset - BlockStartOffset(block, number, lineBreak);
    // Past the block's last character lies only its line break.
    return block.position() + static_cast<int>(std::min<long>(inBlock, block.length() - 1));
}

int TextDocumentBytes::LineCount(const QTextDocument& document) {
    return document.blockCount();
}

int TextDocumentBytes::LineFromOffset(const QTextDocument& document, long offset,
                                      LineBreak lineBreak) {
    offset = std::clamp(offset, 0L, Length(document, lineBreak));
    return BlockNumberOfOffset(document, offset, lineBreak);
}

long TextDocumentBytes::LineOffset(const QTextDocument& document, int line, LineBreak lineBreak) {
    if (line < 0 || line >= document.blockCount()) {
        return -1;
    }
    return BlockStartOffset(document.findBlockByNumber(line), line, lineBreak);
}
