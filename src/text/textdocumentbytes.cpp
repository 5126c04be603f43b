#include "text/textdocumentbytes.h"

#include <QList>
#include <QObject>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QVariant>
#include <algorithm>
#include <vector>

namespace {

// The document property that holds the whole text's format.
const char kTextFormatProperty[] = "mirvalTextFormat";

long ExtraBreakBytes(LineBreak lineBreak) {
    return lineBreak == LineBreak::CrLf ? 1 : 0;
}

// Characters of the text, without the paragraph end every document carries.
int CharacterLength(const QTextDocument& document) {
    return document.characterCount() - 1;
}

// The block numbers of the pieces that continue a line, in order, kept with
// the document (a child object, so it goes with it). Any change of the text
// or of a block format makes it stale; it is rebuilt when next asked for,
// which walks the blocks only when some block format of the document marks a
// piece at all.
class SoftBreakIndex : public QObject {
public:
    explicit SoftBreakIndex(QTextDocument* document) : QObject(document) {
        connect(document, &QTextDocument::contentsChange, this, [this] { m_bValid = false; });
    }

    static SoftBreakIndex& Of(const QTextDocument& document) {
        for (QObject* child : document.children()) {
            if (auto* index = dynamic_cast<SoftBreakIndex*>(child)) {
                return *index;
            }
        }
        return *new SoftBreakIndex(const_cast<QTextDocument*>(&document));
    }

    const std::vector<int>& Blocks(const QTextDocument& document) {
        // The counts catch a change whose signal has not reached the index
        // yet (a slot connected before it that asks for offsets).
        if (!m_bValid || document.blockCount() != m_nBlocks ||
            document.characterCount() != m_nCharacters) {
            Rebuild(document);
        }
        return m_blocks;
    }

private:
    void Rebuild(const QTextDocument& document) {
        m_blocks.clear();
        std::vector<int> marking;
        const QList<QTextFormat> formats = document.allFormats();
        for (qsizetype i = 0; i < formats.size(); ++i) {
            if (formats[i].isBlockFormat() &&
                formats[i].boolProperty(TextDocumentBytes::kContinuesLine)) {
                marking.push_back(static_cast<int>(i));
            }
        }
        if (!marking.empty()) {
            int number = 0;
            for (QTextBlock block = document.begin(); block.isValid();
                 block = block.next(), ++number) {
                // The first block has no line to continue.
                if (number > 0 && std::find(marking.begin(), marking.end(),
                                            block.blockFormatIndex()) != marking.end()) {
                    m_blocks.push_back(number);
                }
            }
        }
        m_nBlocks = document.blockCount();
        m_nCharacters = document.characterCount();
        m_bValid = true;
    }

    std::vector<int> m_blocks;
    int m_nBlocks = -1;
    int m_nCharacters = -1;
    bool m_bValid = false;
};

const std::vector<int>& SoftBreaks(const QTextDocument& document) {
    return SoftBreakIndex::Of(document).Blocks(document);
}

// Soft breaks before a block and at its start.
int SoftBreaksThrough(const std::vector<int>& soft, int blockNumber) {
    return static_cast<int>(std::upper_bound(soft.begin(), soft.end(), blockNumber) - soft.begin());
}

long BlockStartOffset(const QTextBlock& block, int blockNumber, LineBreak lineBreak,
                      const std::vector<int>& soft) {
    const long softBefore = soft.empty() ? 0 : SoftBreaksThrough(soft, blockNumber);
    return block.position() + (blockNumber - softBefore) * ExtraBreakBytes(lineBreak) - softBefore;
}

// The last block whose first byte is at or before offset (offset within
// 0 .. Length).
int BlockNumberOfOffset(const QTextDocument& document, long offset, LineBreak lineBreak,
                        const std::vector<int>& soft) {
    const long characters = CharacterLength(document);
    auto blockAt = [&](long position) {
        return document.findBlock(static_cast<int>(std::clamp(position, 0L, characters)))
            .blockNumber();
    };
    int low = 0;
    int high = document.blockCount() - 1;
    if (soft.empty()) {
        if (lineBreak == LineBreak::Lf) {
            return blockAt(offset);
        }
        // Block k starts at byte position(k) + k, so:
        //   - the answer is at most the block of character position
        //     offset - low, for any lower bound low (its start would be after
        //     offset otherwise);
        //   - the block of character position offset - high, for any upper
        //     bound high, starts at or before offset, so it is a lower bound.
        // A few rounds of these narrow the range to a few blocks in ordinary
        // text (each round divides it by about the line length); the binary
        // search below finishes.
        high = blockAt(offset);
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
    }
    // A binary search over block numbers, one block look-up per probe.
    while (low < high) {
        const int middle = low + (high - low + 1) / 2;
        if (BlockStartOffset(document.findBlockByNumber(middle), middle, lineBreak, soft) <=
            offset) {
            low = middle;
        } else {
            high = middle - 1;
        }
    }
    return low;
}

// Calls f with the position of every soft break in [from, to), in order.
template <class F>
void ForEachSoftBreak(const QTextDocument& document, int from, int to, F f) {
    const std::vector<int>& soft = SoftBreaks(document);
    if (soft.empty() || from >= to) {
        return;
    }
    // A soft break is the separator just before its piece's block.
    const int firstBlock = document.findBlock(from).blockNumber() + 1;
    const int lastBlock = document.findBlock(to).blockNumber();
    for (auto it = std::lower_bound(soft.begin(), soft.end(), firstBlock);
         it != soft.end() && *it <= lastBlock; ++it) {
        const int separator = document.findBlockByNumber(*it).position() - 1;
        if (separator >= from && separator < to) {
            f(separator);
        }
    }
}

// Appends text (document positions from..) to out, the soft breaks left out.
template <class Append>
void AppendWithoutSoftBreaks(const QTextDocument& document, QStringView text, int from,
                             Append append) {
    qsizetype done = 0;
    ForEachSoftBreak(document, from, from + static_cast<int>(text.size()), [&](int separator) {
        const qsizetype at = separator - from;
        append(text.sliced(done, at - done));
        done = at + 1;
    });
    append(text.sliced(done));
}

}  // namespace

int TextDocumentBytes::CharacterCount(const QTextDocument& document) {
    return CharacterLength(document);
}

QString TextDocumentBytes::Chunk(const QTextDocument& document, int from, int to) {
    // The raw text, as a cursor's selected text gives it: U+00A0 kept and the
    // blocks separated by U+2029 (toPlainText turns both into other
    // characters). It is read block by block rather than through a cursor:
    // a cursor placed in a block lays that block out, and the change of the
    // text's height that can follow has the view lay out every block of it.
    QString text;
    if (from >= to) {
        return text;
    }
    text.reserve(to - from);
    for (QTextBlock block = document.findBlock(from); block.isValid() && block.position() < to;
         block = block.next()) {
        const int start = block.position();
        const int separator = start + block.length() - 1;
        const int first = std::max(from, start);
        const int last = std::min(to, separator);
        if (first < last) {
            text += QStringView(block.text()).sliced(first - start, last - first);
        }
        if (separator < to) {
            text += QChar::ParagraphSeparator;
        }
    }
    return text;
}

bool TextDocumentBytes::ContinuesLine(const QTextBlock& block) {
    return block.isValid() && block.blockFormat().boolProperty(kContinuesLine);
}

std::string TextDocumentBytes::Read(const QTextDocument& document, LineBreak lineBreak) {
    std::string bytes;
    bytes.reserve(static_cast<size_t>(Length(document, lineBreak)));
    // The raw text keeps U+00A0 and separates blocks with U+2029, unlike
    // toPlainText, which turns both into other characters. It is copied out
    // of the document in one piece, twice as fast as in slices.
    const QString raw = document.toRawText();
    AppendWithoutSoftBreaks(document, raw, 0, [&](QStringView part) {
        EditorCodec::AppendDocumentText(bytes, part, lineBreak);
    });
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
    AppendWithoutSoftBreaks(document, text, std::min(from, to), [&](QStringView part) {
        EditorCodec::AppendDocumentText(bytes, part, lineBreak);
    });
    return bytes;
}

QString TextDocumentBytes::EditorTextRange(const QTextDocument& document, int from, int to) {
    const int end = CharacterLength(document);
    from = std::clamp(from, 0, end);
    to = std::clamp(to, 0, end);
    QTextCursor cursor(const_cast<QTextDocument*>(&document));
    cursor.setPosition(from);
    cursor.setPosition(to, QTextCursor::KeepAnchor);
    const QString selected = cursor.selectedText();
    QString text;
    text.reserve(selected.size());
    AppendWithoutSoftBreaks(document, selected, std::min(from, to),
                            [&](QStringView part) { text.append(part); });
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    return text;
}

namespace {

// Replaces the document's whole text, with the given character format and no
// undo step: fill inserts the new text through the cursor.
template <typename Fill>
void ReplaceWholeText(QTextDocument& document, const QTextCharFormat& format, Fill fill) {
    const bool undoEnabled = document.isUndoRedoEnabled();
    document.setUndoRedoEnabled(false);
    QTextCursor cursor(&document);
    cursor.beginEditBlock();
    document.clear();
    cursor.setBlockCharFormat(format);
    fill(cursor);
    cursor.endEditBlock();
    document.setUndoRedoEnabled(undoEnabled);
}

}  // namespace

void TextDocumentBytes::Write(QTextDocument& document, std::string_view bytes, LineBreak lineBreak,
                              const QTextCharFormat& format) {
    // As QTextDocument::setPlainText does, but with the given character
    // format, so that a whole-text write keeps the text font, and with long
    // lines in pieces. The bytes are decoded a slice at a time, so that
    // besides the document's own copy only one slice is held as Unicode.
    constexpr size_t kSliceBytes = size_t{1} << 20;
    ReplaceWholeText(document, format, [&](QTextCursor& cursor) {
        for (size_t at = 0; at < bytes.size();) {
            size_t end = std::min(bytes.size(), at + kSliceBytes);
            // A CR LF pair stays in one slice.
            if (lineBreak == LineBreak::CrLf && end < bytes.size() && bytes[end - 1] == '\r' &&
                bytes[end] == '\n') {
                ++end;
            }
            Insert(cursor, EditorCodec::Decode(bytes.substr(at, end - at), lineBreak), &format);
            at = end;
        }
    });
}

void TextDocumentBytes::WriteText(QTextDocument& document, QStringView text,
                                  const QTextCharFormat& format) {
    constexpr qsizetype kSliceChars = qsizetype{1} << 20;
    ReplaceWholeText(document, format, [&](QTextCursor& cursor) {
        for (qsizetype at = 0; at < text.size(); at += kSliceChars) {
            Insert(cursor, text.sliced(at, std::min(kSliceChars, text.size() - at)), &format);
        }
    });
}

int TextDocumentBytes::FindWithoutCodePageForm(const QTextDocument& document, int from, int to) {
    const int end = CharacterLength(document);
    from = std::clamp(from, 0, end);
    to = std::clamp(to, 0, end);
    if (from > to) {
        std::swap(from, to);
    }
    for (int at = from; at < to; at += kChunkChars) {
        const QString chunk = Chunk(document, at, std::min(to, at + kChunkChars));
        for (qsizetype i = 0; i < chunk.size(); ++i) {
            if (!EditorCodec::HasCodePageForm(chunk[i])) {
                return at + static_cast<int>(i);
            }
        }
    }
    return -1;
}

void TextDocumentBytes::LineAndColumn(const QTextDocument& document, int position, int& line,
                                      int& column) {
    const QTextBlock block = document.findBlock(position);
    line = LineOfBlock(document, block.blockNumber());
    // Each soft break between the line's pieces takes a position of its own.
    const int first = FirstBlockOfLine(document, line);
    column =
        position - document.findBlockByNumber(first).position() - (block.blockNumber() - first);
}

void TextDocumentBytes::Insert(QTextCursor& cursor, QStringView text,
                               const QTextCharFormat* format) {
    // Without a format, the text takes the cursor's, as QTextCursor::insertText
    // gives it (with a selection: the format at the cursor's position).
    QTextCharFormat charFormat = format != nullptr ? *format : cursor.charFormat();
    charFormat.clearProperty(QTextFormat::ObjectType);
    cursor.beginEditBlock();
    if (cursor.hasSelection()) {
        cursor.removeSelectedText();
    }
    QTextBlockFormat lineStart = cursor.blockFormat();
    lineStart.clearProperty(kContinuesLine);
    QTextBlockFormat piece = lineStart;
    piece.setProperty(kContinuesLine, true);
    auto insertText = [&](qsizetype from, qsizetype to) {
        if (from < to) {
            cursor.insertText(text.sliced(from, to - from).toString(), charFormat);
        }
    };

    // Characters in the block before the cursor, and after it: those end up
    // after the inserted text.
    qsizetype blockLength = cursor.positionInBlock();
    const qsizetype tail = cursor.block().length() - 1 - blockLength;
    // Text with line breaks goes in as it is (its new blocks take the format
    // of the cursor's block) while that block starts a line and no line gets
    // too long; a line break inside a piece, and every piece, go in one by
    // one.
    bool inPiece = ContinuesLine(cursor.block());
    qsizetype runStart = 0;
    qsizetype i = 0;
    const qsizetype size = text.size();
    while (i < size) {
        qsizetype lineEnd = text.indexOf(EditorCodec::kLineBreak, i);
        const bool hasBreak = lineEnd >= 0;
        if (!hasBreak) {
            lineEnd = size;
        }
        const qsizetype after = hasBreak ? 0 : tail;
        if (blockLength + (lineEnd - i) + after <= kLongLineChars && !(hasBreak && inPiece)) {
            blockLength = hasBreak ? 0 : blockLength + (lineEnd - i);
            i = hasBreak ? lineEnd + 1 : lineEnd;
            continue;
        }
        insertText(runStart, i);
        qsizetype p = i;
        while (p < lineEnd && blockLength + (lineEnd - p) + after > kLongLineChars) {
            const qsizetype take =
                std::min<qsizetype>(std::max<qsizetype>(0, kPieceChars - blockLength), lineEnd - p);
            qsizetype cut = p + take;
            // Where the line could wrap anyway: after a blank or a tag's end.
            for (qsizetype k = cut; k > p && blockLength + (k - p) > kPieceChars / 2; --k) {
                const char16_t c = text[k - 1].unicode();
                if (c == u' ' || c == u'>') {
                    cut = k;
                    break;
                }
            }
            insertText(p, cut);
            cursor.insertBlock(piece, charFormat);
            inPiece = true;
            blockLength = 0;
            p = cut;
        }
        insertText(p, lineEnd);
        blockLength += lineEnd - p;
        if (hasBreak) {
            cursor.insertBlock(lineStart, charFormat);
            inPiece = false;
            blockLength = 0;
            i = lineEnd + 1;
        } else {
            i = lineEnd;
        }
        runStart = i;
    }
    insertText(runStart, size);
    cursor.endEditBlock();
}

void TextDocumentBytes::Replace(QTextCursor& cursor, std::string_view bytes, LineBreak lineBreak) {
    // The block format set to itself is something else than an insertion,
    // so the document does not merge later typing into this step.
    cursor.beginEditBlock();
    Insert(cursor, EditorCodec::Decode(bytes, lineBreak));
    cursor.setBlockFormat(cursor.blockFormat());
    cursor.endEditBlock();
}

QTextCharFormat TextDocumentBytes::TextFormat(const QTextDocument& document) {
    const QVariant format = document.property(kTextFormatProperty);
    return format.isValid() ? qvariant_cast<QTextFormat>(format).toCharFormat() : QTextCharFormat();
}

void TextDocumentBytes::SetTextFormat(QTextDocument& document, const QTextCharFormat& format) {
    document.setProperty(kTextFormatProperty, QVariant::fromValue(QTextFormat(format)));
}

long TextDocumentBytes::Length(const QTextDocument& document, LineBreak lineBreak) {
    const long soft = static_cast<long>(SoftBreaks(document).size());
    return CharacterLength(document) +
           (document.blockCount() - 1 - soft) * ExtraBreakBytes(lineBreak) - soft;
}

long TextDocumentBytes::OffsetFromPosition(const QTextDocument& document, int position,
                                           LineBreak lineBreak) {
    position = std::clamp(position, 0, CharacterLength(document));
    const std::vector<int>& soft = SoftBreaks(document);
    const long number = document.findBlock(position).blockNumber();
    const long softBefore = soft.empty() ? 0 : SoftBreaksThrough(soft, static_cast<int>(number));
    return position + (number - softBefore) * ExtraBreakBytes(lineBreak) - softBefore;
}

int TextDocumentBytes::PositionFromOffset(const QTextDocument& document, long offset,
                                          LineBreak lineBreak) {
    offset = std::clamp(offset, 0L, Length(document, lineBreak));
    const std::vector<int>& soft = SoftBreaks(document);
    const int number = BlockNumberOfOffset(document, offset, lineBreak, soft);
    const QTextBlock block = document.findBlockByNumber(number);
    const long inBlock = offset - BlockStartOffset(block, number, lineBreak, soft);
    // Past the block's last character lies only its line break.
    return block.position() + static_cast<int>(std::min<long>(inBlock, block.length() - 1));
}

int TextDocumentBytes::LineCount(const QTextDocument& document) {
    return document.blockCount() - static_cast<int>(SoftBreaks(document).size());
}

int TextDocumentBytes::LineOfBlock(const QTextDocument& document, int blockNumber) {
    const std::vector<int>& soft = SoftBreaks(document);
    blockNumber = std::clamp(blockNumber, 0, document.blockCount() - 1);
    return blockNumber - (soft.empty() ? 0 : SoftBreaksThrough(soft, blockNumber));
}

int TextDocumentBytes::FirstBlockOfLine(const QTextDocument& document, int line) {
    const std::vector<int>& soft = SoftBreaks(document);
    line = std::clamp(line, 0, document.blockCount() - 1 - static_cast<int>(soft.size()));
    // The first block whose line is `line`: blocks before it hold `line`
    // line starts and some pieces, so it lies in line .. line + pieces.
    int low = line;
    int high = line + static_cast<int>(soft.size());
    while (low < high) {
        const int middle = low + (high - low) / 2;
        if (middle - SoftBreaksThrough(soft, middle) >= line) {
            high = middle;
        } else {
            low = middle + 1;
        }
    }
    return low;
}

int TextDocumentBytes::LineFromOffset(const QTextDocument& document, long offset,
                                      LineBreak lineBreak) {
    offset = std::clamp(offset, 0L, Length(document, lineBreak));
    const std::vector<int>& soft = SoftBreaks(document);
    const int number = BlockNumberOfOffset(document, offset, lineBreak, soft);
    return number - (soft.empty() ? 0 : SoftBreaksThrough(soft, number));
}

long TextDocumentBytes::LineOffset(const QTextDocument& document, int line, LineBreak lineBreak) {
    if (line < 0 || line >= LineCount(document)) {
        return -1;
    }
    const int number = FirstBlockOfLine(document, line);
    return BlockStartOffset(document.findBlockByNumber(number), number, lineBreak,
                            SoftBreaks(document));
}
