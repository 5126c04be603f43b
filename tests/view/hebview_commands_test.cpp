// Colouring and the view's own commands: go to line, DOS display, the line
// indicator and the double-click that opens a linked page.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QMouseEvent>
#include <QTextBlock>
#include <memory>
#include <vector>

#include "common/hebrew.h"
#include "framework/commandids.h"
#include "framework/doctemplate.h"
#include "view/gotolinedialog.h"
#include "view/viewfixture.h"

namespace {

class ColourTest : public ViewFixture {
protected:
    // Per character: C in the code font (green), T in the text font (black),
    // ? in neither; "|" between lines.
    std::string Kinds() const {
        std::string kinds;
        for (QTextBlock block = doc.TextDocument()->begin(); block.isValid();
             block = block.next()) {
            kinds += block.blockNumber() > 0 ? "|" : "";
            for (auto it = block.begin(); !it.atEnd(); ++it) {
                const QTextCharFormat format = it.fragment().charFormat();
                const QColor color = format.foreground().color();
                const char kind = !format.hasProperty(QTextFormat::ForegroundBrush) ? '?'
                                  : color == QColor(0, 128, 0)                      ? 'C'
                                  : color == Qt::black                              ? 'T'
                                                                                    : '?';
                kinds.append(static_cast<size_t>(it.fragment().length()), kind);
            }
        }
        return kinds;
    }
};

TEST_F(ColourTest, MarkupTakesTheCodeFontByTheWalkRules) {
    const std::pair<const char*, const char*> cases[] = {
        {"a<b", "TCC"},
        {"x>y<z>", "TTTCCC"},
        {"<!-- a > b -->", "CCCCCCCCTTTTTT"},
        {"<a <b><i>&nbsp;", "CCCCCCCCCTTTTTT"},
        {"<p>\r\nab<br\r\nc>d", "CCC|TTCCC|CCT"},
        {"no tags > here", "TTTTTTTTTTTTTT"},
    };
    for (const auto& [text, kinds] : cases) {
        view.SetWindowText(text);
        doc.SetDocModified(false);
        view.Colourize(true);
        EXPECT_EQ(Kinds(), kinds) << text;
        EXPECT_EQ(view.GetWindowText(), text);  // only formats change
        EXPECT_FALSE(doc.IsModified());
    }

    // Properties of another kind stay with their characters.
    view.SetWindowText("a<b>c");
    QTextCursor mark(doc.TextDocument());
    mark.setPosition(1);
    mark.setPosition(3, QTextCursor::KeepAnchor);
    QTextCharFormat highlight;
    highlight.setBackground(Qt::yellow);
    mark.mergeCharFormat(highlight);
    view.Colourize(true);
    EXPECT_EQ(Kinds(), "TCCCT");
    mark.setPosition(2);
    EXPECT_TRUE(mark.charFormat().hasProperty(QTextFormat::BackgroundBrush));
}

TEST_F(ColourTest, CommandsSwitchRefreshAndReadTheFontsEachTime) {
    view.SetWindowText("plain > text");
    EXPECT_FALSE(State(CommandId::ShowSyntax).IsEnabled());
    EXPECT_FALSE(State(CommandId::RefreshSyntax).IsEnabled());
    view.SetSel(0, 0);
    view.ReplaceSel("<", true);
    EXPECT_TRUE(State(CommandId::ShowSyntax).IsEnabled());
    view.SetWindowText("x>y<z>");
    EXPECT_FALSE(State(CommandId::ShowSyntax).IsChecked());
    EXPECT_FALSE(State(CommandId::RefreshSyntax).IsEnabled());

    EXPECT_TRUE(view.OnCmdMsg(CommandId::ShowSyntax));
    EXPECT_EQ(Kinds(), "TTTCCC");
    EXPECT_TRUE(State(CommandId::ShowSyntax).IsChecked());
    EXPECT_TRUE(State(CommandId::RefreshSyntax).IsEnabled());
    EXPECT_TRUE(view.OnCmdMsg(CommandId::ShowSyntax));  // off: all of it text
    EXPECT_EQ(Kinds(), "TTTTTT");
    EXPECT_FALSE(State(CommandId::RefreshSyntax).IsEnabled());

    WriteProfile("[CodeFont]\r\nColor=255\r\nFace=DejaVu Sans Mono\r\n");
    EXPECT_TRUE(view.OnCmdMsg(CommandId::RefreshSyntax));
    EXPECT_TRUE(view.IsColourOn());
    QTextCursor probe(doc.TextDocument());
    probe.setPosition(5);
    EXPECT_EQ(probe.charFormat().foreground().color(), QColor(255, 0, 0));
    EXPECT_EQ(probe.charFormat().fontFamilies().toStringList(), QStringList{"DejaVu Sans Mono"});

    // The options sheet applies the text font and leaves the flag; F7 recolours.
    WriteProfile("");
    doc.ApplyTextFont();
    EXPECT_EQ(Kinds(), "TTTTTT");
    EXPECT_TRUE(view.OnCmdMsg(CommandId::RefreshSyntax));
    EXPECT_EQ(Kinds(), "TTTCCC");
    EXPECT_EQ(ui.waitCursors, 0);
}

TEST_F(ColourTest, SelectionAndTopLineStayWhereTheyWere) {
    Show();
    std::string page;
    for (int line = 0; line < 1500; ++line) {
        page += "<td>" + std::to_string(line) + Heb(" שורה <b>של</b> טקסט");
        page += line % 7 == 3 ? std::string(300, 'w') + " end\r\n" : "\r\n";
    }
    view.SetWindowText(page);
    doc.SetDocModified(false);
    const long start = view.LineIndex(700) + 3;
    view.SetSel(start, start + 9);
    view.LineScroll(12);
    const int first = view.GetFirstVisibleLine();
    ASSERT_GT(first, 600);

    for (const int id : {CommandId::RefreshSyntax, CommandId::ShowSyntax}) {
        EXPECT_TRUE(view.OnCmdMsg(id));
        EXPECT_EQ(Sel(), std::make_pair(start, start + 9));
        EXPECT_TRUE(view.textCursor().hasSelection());  // shown again
        EXPECT_TRUE(view.updatesEnabled());
        QApplication::processEvents();
        EXPECT_EQ(view.GetFirstVisibleLine(), first);
    }
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(ColourTest, FirstDisplayColoursATextWhenTheProfileSaysSo) {
    WriteProfile("[General]\r\nShowSyntax=1\r\n");
    doc.SetText("<p>ab\r\nc</p>");
    doc.SetDocModified(true);
    view.OnInitialUpdate();
    EXPECT_EQ(Kinds(), "CCCTT|TCCCC");
    EXPECT_FALSE(doc.IsModified());
    EXPECT_FALSE(view.document()->isUndoAvailable());

    // An empty text (new from a template) stays uncoloured, and so does the
    // text that comes into it afterwards, until F7.
    CHebDoc empty;
    CHebView second(&empty);
    second.OnInitialUpdate();
    EXPECT_TRUE(second.IsColourOn());
    empty.SetText("<p>");
    QTextCursor probe(empty.TextDocument());
    probe.setPosition(2);
    EXPECT_NE(probe.charFormat().foreground().color(), QColor(0, 128, 0));
}

using CommandTest = ViewFixture;

TEST_F(CommandTest, GoToLine) {
    view.SetWindowText("one\r\ntwo\r\nthree\r\nfour");
    view.SetSel(6, 6);  // in line 2
    // Each entry: what is typed, and where the caret is afterwards.
    const std::pair<const char*, long> steps[] = {{" 3 ", 10}, {"5", 10}, {"-3", 10}};
    for (const auto& [typed, caret] : steps) {
        WhenModal<CGoToLineDialog>([typed](CGoToLineDialog* dialog) {
            dialog->LineEdit()->setText(typed);
            dialog->accept();
        });
        EXPECT_TRUE(view.OnCmdMsg(CommandId::GoToLine));
        EXPECT_EQ(Sel(), std::make_pair(caret, caret)) << typed;
    }
    // 0 asks for the start of the caret's own line.
    view.SetSel(13, 13);
    WhenModal<CGoToLineDialog>([](CGoToLineDialog* dialog) {
        EXPECT_EQ(dialog->LineEdit()->selectedText(), "3");  // the caret's line
        dialog->LineEdit()->setText("0");
        dialog->accept();
    });
    view.OnCmdMsg(CommandId::GoToLine);
    EXPECT_EQ(Sel(), std::make_pair(10L, 10L));

    // Not a number: a message and the dialog stays open; cancel changes nothing.
    bool stayedOpen = false;
    WhenModal<CGoToLineDialog>([this, &stayedOpen](CGoToLineDialog* dialog) {
        dialog->LineEdit()->setText("4x");
        dialog->accept();
        stayedOpen = dialog->isVisible() && ui.messages.size() == 1;
        dialog->LineEdit()->setText("4");
        dialog->reject();
    });
    view.OnCmdMsg(CommandId::GoToLine);
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(Sel(), std::make_pair(10L, 10L));
    view.SetWindowText("");
    EXPECT_FALSE(State(CommandId::GoToLine).IsEnabled());
}

TEST_F(CommandTest, DosDisplayTwiceGivesBackTheBytes) {
    const std::string dosPage = "<p>\x80\x81\x9A abc\r\n\x8F";
    view.SetWindowText(dosPage);
    EXPECT_TRUE(State(CommandId::DosDisplay).IsEnabled());
    EXPECT_FALSE(State(CommandId::DosDisplay).IsChecked());
    EXPECT_TRUE(view.OnCmdMsg(CommandId::DosDisplay));
    EXPECT_EQ(view.GetWindowText(), "<p>\xE0\xE1\xFA abc\r\n\xEF");
    EXPECT_TRUE(doc.IsDosDisplay());
    EXPECT_TRUE(State(CommandId::DosDisplay).IsChecked());
    EXPECT_TRUE(view.OnCmdMsg(CommandId::DosDisplay));
    EXPECT_EQ(view.GetWindowText(), dosPage);
    EXPECT_FALSE(doc.IsDosDisplay());

    view.SetWindowText(Heb("שלום"));
    EXPECT_FALSE(State(CommandId::DosDisplay).IsEnabled());
    view.ReplaceSel("\x85", true);
    EXPECT_TRUE(State(CommandId::DosDisplay).IsEnabled());
    view.SetWindowText("");
    doc.SetDosDisplay(true);
    EXPECT_TRUE(State(CommandId::DosDisplay).IsEnabled());
    view.OnDosDisplay();  // an empty text: nothing happens
    EXPECT_TRUE(doc.IsDosDisplay());
}

TEST_F(CommandTest, DosDisplayOfAnyPageComesBackByteForByte) {
    // Each page as loaded and as the DOS display shows it. Code page 1255
    // punctuation (0x80-0x9A: euro sign, quotes, dashes) next to Hebrew
    // letters, and code page 862 symbols at 0xE0-0xFA next to DOS letters.
    const std::pair<std::string, std::string> pages[] = {
        {"\xE0\x94", "\x80\xF4"},
        {"\x80\x96\xE9\xF9 \x84x\x93", "\xE0\xF6\x89\x99 \xE4x\xF3"},
        {"<p>\x80 \xE0\xFA \xB3\xFB\x9B\r\n", "<p>\xE0 \x80\x9A \xB3\xFB\x9B\r\n"},
    };
    const std::string path = folder.File("page.htm");
    for (const auto& [loaded, shown] : pages) {
        ScratchFolder::Write(path, loaded);
        ASSERT_TRUE(doc.OnOpenDocument(QString::fromStdString(path)));
        view.OnDosDisplay();
        EXPECT_EQ(view.GetWindowText(), shown);
        EXPECT_TRUE(doc.IsDosDisplay());
        view.OnDosDisplay();
        EXPECT_EQ(view.GetWindowText(), loaded);
        EXPECT_FALSE(doc.IsDosDisplay());

        view.OnDosDisplay();
        ASSERT_TRUE(doc.OnSaveDocument(QString::fromStdString(path)));
        EXPECT_EQ(ScratchFolder::Read(path), loaded);
        EXPECT_EQ(view.GetWindowText(), loaded);
        EXPECT_FALSE(doc.IsDosDisplay());
    }
}

TEST_F(CommandTest, LineIndicatorShowsTheCaretLineAndTheCount) {
    view.SetWindowText("");
    EXPECT_EQ(State(CommandId::LineIndicator).Text(), "Ln 1/1");
    view.SetWindowText("a\r\nb\r\n\r\nc");
    view.SetSel(3, 4);
    EXPECT_EQ(State(CommandId::LineIndicator).Text(), "Ln 2/4");
}

// A document whose opening records the path, and fails unless told otherwise.
class RecordingDoc : public CDocument {
public:
    RecordingDoc(QStringList* opened, bool succeed) : m_opened(opened), m_bSucceed(succeed) {}
    bool OnOpenDocument(const QString& path) override {
        m_opened->append(path);
        return m_bSucceed;
    }

private:
    QStringList* m_opened;
    bool m_bSucceed;
};

class StubView : public QWidget, public CView {
public:
    explicit StubView(CDocument* document) : CView(document) {}
    QWidget* Widget() override { return this; }
};

class LinkTest : public ViewFixture, public IFrameHost {
protected:
    LinkTest() {
        Show();
        doc.SetDocTemplate(&editor);
        CDocTemplate::SetFrameHost(this);
    }
    ~LinkTest() override {
        CDocTemplate::SetFrameHost(nullptr);
        doc.SetDocTemplate(nullptr);
        qDeleteAll(editor.Documents());
    }
    void AddFrame(CDocTemplate*, CView*, bool) override {}
    void ActivateDocument(CDocument* document) override { activated.append(document); }
    void CloseFrame(CView*) override {}

    // A double-click at a byte offset, where its first click put the caret.
    void DoubleClickAt(size_t offset) {
        view.SetSel(static_cast<long>(offset), static_cast<long>(offset));
        const QPoint at = view.cursorRect().center();
        QMouseEvent click(QEvent::MouseButtonDblClick, at, view.viewport()->mapToGlobal(at),
                          Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(view.viewport(), &click);
    }

    QStringList opened;
    bool openSucceeds = false;
    QList<CDocument*> activated;
    std::vector<std::unique_ptr<StubView>> views;
    CDocTemplate editor{129, QStringLiteral("HebDoc"),
                        [this] { return new RecordingDoc(&opened, openSucceeds); },
                        [this](CDocument* document) {
                            views.push_back(std::make_unique<StubView>(document));
                            return views.back().get();
                        }};
};

TEST_F(LinkTest, DoubleClickOpensTheLinkedPageBesideTheDocument) {
    doc.SetPathName(QStringLiteral("/site/index.htm"), false);
    const std::string page =
        "<a href=\"page.htm\">x</a> <a href=\"list.htm?x=1\">y</a>\r\n"
        "<a href=\"../top.htm#part\">z</a> <a href=\"..\\img\\a.htm\">\r\n"
        "<a href='quoted.htm'>q</a> <a href='..\\one.htm#s'>o</a>\r\nsee notes.txt";
    view.SetWindowText(page);
    // Followed on its line by a closing quote only; a query; a fragment and
    // "../"; "..\"; two in single quotes; a link that runs to the end of the
    // text.
    for (const char* link : {"ge.htm", "st.htm", "op.htm", "img", "ted.htm", "one", "tes.txt"}) {
        DoubleClickAt(page.find(link));
    }
    EXPECT_EQ(opened, QStringList({"/site/page.htm", "/site/list.htm", "/top.htm", "/img/a.htm",
                                   "/site/quoted.htm", "/one.htm", "/site/notes.txt"}));
    EXPECT_EQ(view.GetWindowText(), page);
    EXPECT_EQ(Sel().first, Sel().second);  // no word was selected

    // A page that is open already is brought forward.
    openSucceeds = true;
    DoubleClickAt(page.find("ge.htm"));
    DoubleClickAt(page.find("ge.htm"));
    ASSERT_EQ(editor.Documents().size(), 1);
    EXPECT_EQ(opened.size(), 8);
    EXPECT_EQ(activated, QList<CDocument*>{editor.Documents().first()});
}

TEST_F(LinkTest, AWordThatNamesNoPageIsSelected) {
    doc.SetPathName(QStringLiteral("/site.htm.d/index.htm"), false);
    view.SetWindowText("plain words here");
    DoubleClickAt(7);
    EXPECT_TRUE(opened.isEmpty());
    EXPECT_EQ(view.GetSelText(), "words");
}

}  // namespace
