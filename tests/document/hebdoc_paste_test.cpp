// The paste commands with the real clipboard of the offscreen platform.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>

#include "common/fakesheet.h"
#include "common/fakeui.h"
#include "common/hebrew.h"
#include "common/scratchfolder.h"
#include "document/hebdoc.h"
#include "framework/commandids.h"
#include "text/editorcodec.h"
#include "view/hebview.h"

namespace {

class HebDocPasteTest : public testing::Test {
protected:
    HebDocPasteTest() : doc(new CHebDoc), view(new CHebView(doc)) {}
    ~HebDocPasteTest() override {
        delete view;
        delete doc;
        Clipboard()->clear();
    }

    static QClipboard* Clipboard() { return QGuiApplication::clipboard(); }
    static void SetClipboard(const char* utf8) { Clipboard()->setText(QString::fromUtf8(utf8)); }
    std::pair<long, long> Sel() const {
        long start = 0;
        long end = 0;
        view->GetSel(start, end);
        return {start, end};
    }
    bool PasteEnabled() {
        CCmdUI ui(CommandId::PasteVisual);
        ui.Enable(false);
        doc->OnUpdatePaste(ui);
        return ui.IsEnabled();
    }
    ConversionSettings Conversion() const {
        ConversionSettings settings;
        doc->GetConversionSettings(settings);
        return settings;
    }

    ScratchFolder scratch;
    FakeUi ui;
    FakeOptionsSheet sheet;
    CHebDoc* doc;
    CHebView* view;
};

TEST_F(HebDocPasteTest, PasteVisualAndItsUndo) {
    doc->SetText("abc XYZ def");
    view->SetSel(4, 7);
    SetClipboard("שלום עולם");
    EXPECT_TRUE(PasteEnabled());
    doc->OnPasteVisual();
    EXPECT_EQ(doc->GetText(), Heb("abc םלוע םולש def"));
    EXPECT_EQ(Sel(), std::make_pair(4L, 13L));
    EXPECT_EQ(sheet.pages, std::vector<int>{kConversionPage});
    EXPECT_TRUE(doc->IsLastConvertVisual());
    EXPECT_TRUE(doc->IsModified());
    // The undo leaves the plain paste.
    doc->OnUndoConvert();
    EXPECT_EQ(doc->GetText(), Heb("abc שלום עולם def"));

    // Lines are broken and marked as a converted selection is.
    doc->SetText("x\r\ny");
    view->SetSel(3, 3);
    SetClipboard("אב\nגד");
    doc->OnPasteVisual();
    EXPECT_EQ(doc->GetText(), Heb("x\r\nבא<br>\r\nדג<br>\r\ny"));
    EXPECT_EQ(Sel(), std::make_pair(3L, 19L));
}

TEST_F(HebDocPasteTest, PasteVisualAndCopyLeavesTheVisualTextOnTheClipboard) {
    doc->SetText("abc ");
    view->SetSel(4, 4);
    SetClipboard("שלום עולם");
    doc->OnPasteVisualCopy();
    EXPECT_EQ(doc->GetText(), Heb("abc םלוע םולש"));
    EXPECT_EQ(EditorCodec::Encode(Clipboard()->text(), LineBreak::CrLf), Heb("םלוע םולש"));

    // Text without Hebrew inserts nothing, and the clipboard keeps it.
    view->SetSel(0, 3);
    SetClipboard("no letters");
    doc->OnPasteVisualCopy();
    EXPECT_EQ(doc->GetText(), Heb("abc םלוע םולש"));
    EXPECT_EQ(Sel(), std::make_pair(0L, 3L));
    EXPECT_EQ(Clipboard()->text(), QStringLiteral("no letters"));
    EXPECT_FALSE(doc->CanUndoConvert());
}

TEST_F(HebDocPasteTest, ClipboardTextArrivesAsCodePage1255UpToANul) {
    // Letters, niqqud, the sheqel sign and a line break from another program.
    SetClipboard("\u05E9\u05B8\u05C1\u05DC\u05D5\u05B9\u05DD \u20AA\r\nab");
    EXPECT_EQ(CHebDoc::ReadClipboardText(), "\xF9\xC8\xD1\xEC\xE5\xC9\xED \xA4\r\nab");
    Clipboard()->setText(QStringLiteral("ab") + QChar(0) + QStringLiteral("cd"));
    EXPECT_EQ(CHebDoc::ReadClipboardText(), "ab");
}

TEST_F(HebDocPasteTest, WithoutClipboardTextNothingIsPasted) {
    doc->SetText(Heb("שלום"));
    doc->OnConvertToLogical();
    const std::string text = doc->GetText();
    Clipboard()->clear();
    EXPECT_FALSE(PasteEnabled());
    view->SetSel(0, 2);
    doc->OnPasteVisual();
    doc->OnPasteVisualCopy();
    EXPECT_EQ(doc->GetText(), text);
    EXPECT_TRUE(doc->CanUndoConvert());  // the conversion's undo is still there
    EXPECT_TRUE(sheet.pages.empty());
}

TEST_F(HebDocPasteTest, PasteTableGivesTheTwoByTwoExampleByteForByte) {
    doc->SetText("ab");
    view->SetSel(1, 1);
    SetClipboard("אב\tגד\nהו\tזח\n");
    const ConversionSettings before = Conversion();
    doc->OnPasteTable();
    const std::string td = "<td align=\"right\" valign=\"top\" nowrap>";
    const std::string table = "<table border=\"1\">\r\n<tr>" + td + Heb("דג") + "</td>" + td +
                              Heb("בא") + "</td></tr>\r\n<tr>" + td + Heb("חז") + "</td>" + td +
                              Heb("וה") + "</td></tr>\r\n<tr>" + td + "</td></tr></table>\r\n";
    EXPECT_EQ(doc->GetText(), "a" + table + "b");
    EXPECT_EQ(Sel(), std::make_pair(1L, 1L + static_cast<long>(table.size())));
    // The table page only: the table's conversion uses nothing of the conversion page.
    EXPECT_EQ(sheet.pages, std::vector<int>{kTablePage});
    EXPECT_EQ(Conversion(), before);
    EXPECT_TRUE(doc->IsModified());
    doc->OnUndoConvert();
    EXPECT_EQ(doc->GetText(), Heb("aאב\tגד\r\nהו\tזח\r\nb"));
}

TEST_F(HebDocPasteTest, PasteTableRestoresTheConversionSettingsOnEveryWayOut) {
    // What the sheet confirms at the table page is the document's own from then on.
    sheet.confirm = true;
    sheet.edit = [](OptionsValues& values) {
        values.table.TDTag = "<td>";
        values.conversion.BeforeHebParagraph = "<p>";
    };
    doc->SetText("keep");
    Clipboard()->clear();
    doc->OnPasteTable();
    EXPECT_EQ(doc->GetText(), "keep");
    ConversionSettings own;
    own.BeforeHebParagraph = "<p>";
    EXPECT_EQ(Conversion(), own);

    sheet.confirm = false;
    SetClipboard("12\t34");  // no Hebrew: one empty cell
    view->SetSel(0, 4);
    doc->OnPasteTable();
    EXPECT_EQ(doc->GetText(), "<table border=\"1\">\r\n<tr><td></td></tr></table>\r\n");
    EXPECT_EQ(Conversion(), own);
}

}  // namespace
