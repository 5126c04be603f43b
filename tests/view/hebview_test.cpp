#include "view/hebview.h"

#include <gtest/gtest.h>

#include <vector>

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <string>

#include "common/hebrew.h"
#include "common/scratchfolder.h"
#include "document/hebdoc.h"
#include "framework/cmdui.h"
#include "framework/commandids.h"
#include "text/editorcodec.h"
#include "text/textdocumentbytes.h"

namespace {

// Lines of a long page; every seventh is long enough to wrap in a small view.
std::string LongText(int lines, const std::string& tag) {
    std::string text;
    for (int i = 0; i < lines; ++i) {
        text += tag + std::to_string(i) + Heb(" שורה של טקסט\xA0");
        for (int word = 0; i % 7 == 3 && word < 40; ++word) {
            text += Heb(" מילה word");
        }
        text += "\r\n";
    }
    return text;
}

class HebViewTest : public ::testing::Test {
protected:
    HebViewTest() {
        view.resize(320, 240);
        QObject::connect(&view, &CHebView::TextEdited, [this] { ++edits; });
    }

    void Show() {
        view.show();
        QApplication::processEvents();
    }
    void TypeKey(int key, Qt::KeyboardModifiers modifiers, const QString& text) {
        QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
        QApplication::sendEvent(&view, &press);
    }
    std::pair<long, long> Sel() const {
        long start = -2;
        long end = -2;
        view.GetSel(start, end);
        return {start, end};
    }
    bool IsEnabled(int id) {
        CCmdUI ui(id);
        EXPECT_TRUE(view.OnUpdateCmdMsg(ui)) << id;
        return ui.IsEnabled();
    }

    ScratchFolder folder;  // first: the document reads the profile it names
    CHebDoc doc;
    CHebView view{&doc};
    int edits = 0;
};

TEST_F(HebViewTest, WholeTextComesBackByteForByteFromTheTop) {
    Show();
    view.SetWindowText(LongText(300, "<a>"));
    view.SetSel(5000, 5010);
    view.ReplaceSel("x", true);
    ASSERT_GT(view.GetFirstVisibleLine(), 0);

    const std::string text = Heb("שלום\xA0עולם\r\n\r\n<p align=\"right\">") +
                             std::string("\0x\ry\nz\r\r\n", 10) + "\x80\x9A\xFF\r\n";
    view.SetWindowText(text);
    EXPECT_EQ(view.GetWindowText(), text);
    EXPECT_EQ(Sel(), std::make_pair(0L, 0L));
    EXPECT_EQ(view.GetFirstVisibleLine(), 0);
    EXPECT_FALSE(IsEnabled(CommandId::EditUndo));
}

TEST_F(HebViewTest, SelectionOffsetsCountLineBreaksAsTwoBytes) {
    const std::string text = Heb("אבג\r\nדה\xA0ו\r\n\r\nend");
    const long length = static_cast<long>(text.size());
    view.SetWindowText(text);

    view.SetSel(5, 9);
    EXPECT_EQ(Sel(), std::make_pair(5L, 9L));
    EXPECT_EQ(view.GetSelText(), Heb("דה\xA0ו"));
    view.SetSel(2, 13);
    EXPECT_EQ(view.GetSelText(), text.substr(2, 11));
    // Offsets 4 and 10 are the LFs of line breaks: the lines' ends.
    view.SetSel(4, 10);
    EXPECT_EQ(Sel(), std::make_pair(3L, 9L));
    view.SetSel(0, -1);
    EXPECT_EQ(view.GetSelText(), text);
    view.SetSel(7, 1000);
    EXPECT_EQ(Sel(), std::make_pair(7L, length));
    view.SetSel(9, 5);
    EXPECT_EQ(Sel(), std::make_pair(5L, 9L));
}

TEST_F(HebViewTest, ReplaceSelPutsTheExactBytesAndUndoTakesThemBack) {
    const std::string text = Heb("אחת\r\nשתיים\r\nשלוש");
    view.SetWindowText(text);
    const std::string inserted = Heb("חדש\xA0\r\n") + std::string("\0\r", 2) + "x";
    view.SetSel(5, 10);
    view.ReplaceSel(inserted, true);
    const std::string expected = text.substr(0, 5) + inserted + text.substr(10);
    EXPECT_EQ(view.GetWindowText(), expected);
    const long after = 5 + static_cast<long>(inserted.size());
    EXPECT_EQ(Sel(), std::make_pair(after, after));

    view.undo();
    EXPECT_EQ(view.GetWindowText(), text);

    view.SetSel(0, 1);
    view.ReplaceSel("y", false);
    EXPECT_EQ(view.GetWindowText(), "y" + text.substr(1));
    EXPECT_FALSE(IsEnabled(CommandId::EditUndo));
}

TEST_F(HebViewTest, LinesAreTextLinesHoweverTheyWrap) {
    view.SetWindowText("");
    EXPECT_EQ(view.GetLineCount(), 1);
    EXPECT_EQ(view.LineIndex(0), 0);
    EXPECT_EQ(view.LineIndex(1), -1);
    EXPECT_EQ(view.LineFromChar(-1), 0);

    Show();
    std::string longLine = "ccc";
    for (int word = 0; word < 60; ++word) {
        longLine += Heb(" מילה word");
    }
    view.SetWindowText("a\r\nbb\r\n\r\n" + longLine);
    EXPECT_EQ(view.GetLineCount(), 4);
    const long starts[] = {0, 3, 7, 9};
    for (int line = 0; line < 4; ++line) {
        EXPECT_EQ(view.LineIndex(line), starts[line]) << line;
        EXPECT_EQ(view.LineFromChar(starts[line]), line) << line;
    }
    EXPECT_EQ(view.LineIndex(4), -1);
    EXPECT_EQ(view.LineFromChar(2), 0);  // a line break belongs to its line
    EXPECT_EQ(view.LineFromChar(100000), 3);
    view.SetSel(4, 7);  // the caret is at the selection's end
    EXPECT_EQ(view.LineFromChar(-1), 2);
    EXPECT_EQ(view.LineIndex(-1), 7);
}

TEST_F(HebViewTest, FirstVisibleLineRestoresAfterAWholeTextWrite) {
    Show();
    view.SetWindowText(LongText(2000, "<td>"));
    view.LineScroll(500);
    const int first = view.GetFirstVisibleLine();
    EXPECT_EQ(first, 500);
    view.LineScroll(-120);
    EXPECT_EQ(view.GetFirstVisibleLine(), 380);

    // What a conversion does: note the line, write the text, scroll back.
    view.SetWindowText(LongText(2000, "<TD>"));
    EXPECT_EQ(view.GetFirstVisibleLine(), 0);
    view.LineScroll(first);
    EXPECT_EQ(view.GetFirstVisibleLine(), first);
    QApplication::processEvents();  // painting lays the visible lines out
    EXPECT_EQ(view.GetFirstVisibleLine(), first);

    view.LineScroll(-100000);
    EXPECT_EQ(view.GetFirstVisibleLine(), 0);
    view.LineScroll(100000);  // as far as the text goes
    EXPECT_GT(view.GetFirstVisibleLine(), 1900);
}

TEST_F(HebViewTest, HiddenSelectionMovesWithoutShowingOrScrolling) {
    Show();
    view.SetWindowText(LongText(400, "<p>"));
    view.SetSel(2, 4);
    view.HideSelection(true);
    EXPECT_EQ(Sel(), std::make_pair(2L, 4L));
    EXPECT_FALSE(view.textCursor().hasSelection());

    const long far = view.LineIndex(350);
    view.SetSel(far, far + 3);
    EXPECT_EQ(Sel(), std::make_pair(far, far + 3));
    EXPECT_EQ(view.GetSelText(), LongText(400, "<p>").substr(far, 3));
    EXPECT_FALSE(view.textCursor().hasSelection());

    view.HideSelection(false);
    EXPECT_EQ(Sel(), std::make_pair(far, far + 3));
    EXPECT_TRUE(view.textCursor().hasSelection());
    EXPECT_EQ(view.GetFirstVisibleLine(), 0);
}

TEST_F(HebViewTest, FontSettingBecomesTheCharacterFormat) {
    view.SetWindowText(Heb("אבג\r\ndef"));
    edits = 0;
    FontSettings font;
    font.Face = "DejaVu Sans";
    font.Effects = 1 | 4;
    font.Color = 0x00FF8000;  // blue FF, green 80, red 00
    font.Height = 240;
    view.SetSel(0, -1);
    view.SetSelectionCharFormat(font);
    auto expectFont = [](const QTextCharFormat& format) {
        EXPECT_EQ(format.fontFamilies().toStringList(), QStringList{"DejaVu Sans"});
        EXPECT_EQ(format.fontPointSize(), 12.0);
        EXPECT_EQ(format.fontWeight(), QFont::Bold);
        EXPECT_FALSE(format.fontItalic());
        EXPECT_TRUE(format.fontUnderline());
        EXPECT_FALSE(format.fontStrikeOut());
        EXPECT_EQ(format.foreground().color(), QColor(0x00, 0x80, 0xFF));
    };
    QTextCursor probe(view.document());
    probe.setPosition(6);
    expectFont(probe.charFormat());
    EXPECT_EQ(edits, 0);

    // A later whole-text write keeps the text's font.
    view.SetWindowText("new\r\ntext");
    probe.setPosition(7);
    expectFont(probe.charFormat());

    // No selection: the format is for what is typed next at the caret.
    edits = 0;
    font.Height = 400;
    view.SetSel(5, 5);
    view.SetSelectionCharFormat(font);
    TypeKey(Qt::Key_Q, Qt::NoModifier, QStringLiteral("q"));
    EXPECT_EQ(view.GetWindowText(), "new\r\nqtext");
    probe.setPosition(5);
    EXPECT_EQ(probe.charFormat().fontPointSize(), 20.0);
    EXPECT_EQ(edits, 1);  // the typing, not the format
}

TEST_F(HebViewTest, EditsMarkTheDocumentModifiedAndFormatsDoNot) {
    doc.SetText("abc\r\ndef");
    doc.SetDocModified(false);
    doc.ApplyTextFont();
    EXPECT_FALSE(doc.IsModified());

    view.SetSel(1, 1);
    view.ReplaceSel("x", true);
    EXPECT_TRUE(doc.IsModified());
    doc.SetDocModified(false);
    TypeKey(Qt::Key_Y, Qt::NoModifier, QStringLiteral("y"));
    EXPECT_EQ(view.GetWindowText(), "axybc\r\ndef");
    EXPECT_TRUE(doc.IsModified());
    doc.SetDocModified(false);
    view.undo();  // the typing only: the program's step is one of its own
    EXPECT_EQ(view.GetWindowText(), "axbc\r\ndef");
    EXPECT_TRUE(doc.IsModified());
    // Text replaced by text of the same length is an edit too.
    doc.SetDocModified(false);
    view.SetSel(0, 2);
    view.ReplaceSel("zz", false);
    EXPECT_TRUE(doc.IsModified());

    // A second view shows the same text; its edits count as well.
    CHebView second(&doc);
    EXPECT_EQ(doc.GetView(), static_cast<IEditorText*>(&view));
    doc.SetDocModified(false);
    second.SetSel(0, 0);
    second.ReplaceSel("2", true);
    EXPECT_EQ(view.GetWindowText(), "2zzbc\r\ndef");
    EXPECT_TRUE(doc.IsModified());
}

TEST_F(HebViewTest, FirstDisplayAppliesTheTextFontAndCountsAsUnmodified) {
    ScratchFolder::Write(folder.File("profile.ini"),
                         "[RegFont]\r\nFace=DejaVu Sans Mono\r\nHeight=280\r\nEffects=2\r\n");
    doc.SetText("one\r\ntwo");
    doc.SetDocModified(true);
    view.OnInitialUpdate();

    EXPECT_FALSE(doc.IsModified());
    EXPECT_FALSE(IsEnabled(CommandId::EditUndo));
    QTextCursor probe(view.document());
    probe.setPosition(6);
    EXPECT_EQ(probe.charFormat().fontFamilies().toStringList(), QStringList{"DejaVu Sans Mono"});
    EXPECT_EQ(probe.charFormat().fontPointSize(), 14.0);
    EXPECT_TRUE(probe.charFormat().fontItalic());
    EXPECT_FALSE(view.IsColourOn());
    EXPECT_EQ(view.PrintMarginTwips(), 720);
    EXPECT_NEAR(view.PrintMarginsMm().top(), 12.7, 1e-9);
}

TEST_F(HebViewTest, CopyPasteAndTypingKeepTheByteRules) {
    const std::string text = Heb("א\xA0ב\rג");
    view.SetWindowText(text);
    view.SetSel(0, -1);
    view.Copy();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QString::fromUtf8("א\u00A0ב\u240Dג"));
    view.SetSel(-1, 0);  // no selection, the caret stays at the end
    view.paste();
    EXPECT_EQ(view.GetWindowText(), text + text);

    // A line separator, pasted or typed with Shift+Enter, breaks the line.
    QGuiApplication::clipboard()->setText(QString::fromUtf8("x\u2028y"));
    view.SetSel(0, 0);
    view.paste();
    TypeKey(Qt::Key_Return, Qt::ShiftModifier, QStringLiteral("\r"));
    EXPECT_EQ(view.GetWindowText(), "x\r\ny\r\n" + text + text);
    EXPECT_EQ(view.GetLineCount(), 3);
}

TEST_F(HebViewTest, EditCommandsFollowTheTextAndSelection) {
    view.SetWindowText("");
    EXPECT_FALSE(IsEnabled(CommandId::EditSelectAll));
    view.SetWindowText("abc\r\nd");
    EXPECT_TRUE(IsEnabled(CommandId::EditSelectAll));
    EXPECT_FALSE(IsEnabled(CommandId::EditCopy));
    EXPECT_FALSE(IsEnabled(CommandId::EditCut));

    EXPECT_TRUE(view.OnCmdMsg(CommandId::EditSelectAll));
    EXPECT_EQ(Sel(), std::make_pair(0L, 6L));
    EXPECT_TRUE(IsEnabled(CommandId::EditCopy));
    EXPECT_TRUE(view.OnCmdMsg(CommandId::EditCut));
    EXPECT_EQ(view.GetWindowText(), "");
    EXPECT_TRUE(IsEnabled(CommandId::EditPaste));
    EXPECT_TRUE(view.OnCmdMsg(CommandId::EditUndo));
    EXPECT_EQ(view.GetWindowText(), "abc\r\nd");
    view.SetSel(1, 3);
    EXPECT_TRUE(view.OnCmdMsg(CommandId::EditPaste));
    EXPECT_EQ(view.GetWindowText(), "aabc\r\nd\r\nd");

    QGuiApplication::clipboard()->clear();
    EXPECT_FALSE(IsEnabled(CommandId::EditPaste));
    CCmdUI other(CommandId::ConvertToVisual);
    EXPECT_FALSE(view.OnUpdateCmdMsg(other));
}

TEST_F(HebViewTest, OffsetsOfALargeText) {
    std::string text;
    std::vector<long> lineStarts;
    for (int line = 0; line < 150000; ++line) {
        lineStarts.push_back(static_cast<long>(text.size()));
        text += Heb("<p>שורה ") + std::to_string(line) + " of the page text\r\n";
    }
    view.SetWindowText(text);
    const long length = static_cast<long>(text.size());
    view.HideSelection(true);
    for (int line = 0; line < 150000; line += 997) {
        const long start = lineStarts[static_cast<size_t>(line)];
        EXPECT_EQ(view.LineIndex(line), start);
        EXPECT_EQ(view.LineFromChar(start + 3), line);
        view.SetSel(start + 1, start + 4);
        EXPECT_EQ(Sel(), std::make_pair(start + 1, start + 4));
    }
    view.SetSel(length - 5, -1);
    EXPECT_EQ(view.GetSelText(), text.substr(static_cast<size_t>(length - 5)));
    EXPECT_EQ(view.GetLineCount(), 150001);
}

// A page that is one line of 2 MB: opened from its file, it reads back byte
// for byte, is one line wherever the caret is, and a selection across the
// pieces it is held in copies and reads as its bytes.
TEST_F(HebViewTest, SingleTwoMegabyteLineOpensAndComesBackExactly) {
    std::string bytes;
    for (int i = 0; bytes.size() < (size_t{2} << 20); ++i) {
        bytes += i % 5 == 0 ? "<a href=\"p.htm\">" : Heb("מילה\xA0");
        bytes.push_back(static_cast<char>(0x80 + i % 27));
    }
    const std::string path = folder.File("long.htm");
    ScratchFolder::Write(path, bytes);
    ASSERT_TRUE(doc.OnOpenDocument(QString::fromStdString(path)));
    view.OnInitialUpdate();
    Show();
    EXPECT_TRUE(view.GetWindowText() == bytes);
    EXPECT_TRUE(doc.GetFileBytes() == bytes);
    EXPECT_EQ(view.GetLineCount(), 1);
    const long length = static_cast<long>(bytes.size());
    view.SetSel(length, length);
    EXPECT_EQ(view.LineFromChar(-1), 0);
    EXPECT_EQ(view.LineIndex(-1), 0);
    EXPECT_EQ(view.GetFirstVisibleLine(), 0);

    view.SetSel(5000, 13000);
    EXPECT_EQ(view.GetSelText(), bytes.substr(5000, 8000));
    view.Copy();
    EXPECT_EQ(QApplication::clipboard()->text(),
              EditorCodec::Decode(bytes.substr(5000, 8000), LineBreak::CrLf));
}

// Enter, Backspace and Delete where a long line is broken into pieces do
// to the bytes what they do inside a line, and undo takes them back.
TEST_F(HebViewTest, KeysAtTheBreaksOfALongLineEditItsBytes) {
    const std::string text = std::string(20000, 'a') + "\r\nend";
    view.SetWindowText(text);
    Show();
    QTextDocument& document = *view.document();
    auto firstPiece = [&document] {
        for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
            if (TextDocumentBytes::ContinuesLine(block)) {
                return block.position();
            }
        }
        return -1;
    };
    auto caretAt = [this](int position) {
        QTextCursor cursor(view.document());
        cursor.setPosition(position);
        view.setTextCursor(cursor);
    };
    std::string model = text;
    const int piece = firstPiece();
    ASSERT_GT(piece, 0);
    const long offset = TextDocumentBytes::OffsetFromPosition(document, piece, LineBreak::CrLf);

    // The arrow keys step over the soft break as over no character.
    caretAt(piece - 1);
    TypeKey(Qt::Key_Right, Qt::NoModifier, QString());
    EXPECT_EQ(Sel(), std::make_pair(offset + 1, offset + 1));
    TypeKey(Qt::Key_Left, Qt::NoModifier, QString());
    EXPECT_EQ(Sel(), std::make_pair(offset, offset));
    EXPECT_EQ(view.textCursor().position(), piece);
    TypeKey(Qt::Key_Left, Qt::NoModifier, QString());
    EXPECT_EQ(Sel(), std::make_pair(offset - 1, offset - 1));

    caretAt(piece);
    model.replace(offset - 1, 1, "");
    TypeKey(Qt::Key_Backspace, Qt::NoModifier, QString());
    EXPECT_EQ(view.GetWindowText(), model);

    caretAt(firstPiece() - 1);
    model.replace(offset - 1, 1, "");
    TypeKey(Qt::Key_Delete, Qt::NoModifier, QString());
    EXPECT_EQ(view.GetWindowText(), model);

    caretAt(firstPiece() + 10);
    model.insert(offset - 1 + 10, "\r\n");
    TypeKey(Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    EXPECT_EQ(view.GetWindowText(), model);
    EXPECT_EQ(view.GetLineCount(), 3);
    EXPECT_EQ(view.LineFromChar(-1), 1);

    for (int step = 0; step < 3; ++step) {
        view.OnEditUndo();
    }
    EXPECT_EQ(view.GetWindowText(), text);
}

}  // namespace
