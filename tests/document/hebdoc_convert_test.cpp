#include <gtest/gtest.h>

#include <functional>

#include <QCoreApplication>
#include <QDir>

#include "common/fakesheet.h"
#include "common/fakeui.h"
#include "common/hebrew.h"
#include "common/scratchfolder.h"
#include "document/hebdoc.h"
#include "document/optionssheet.h"
#include "framework/commandids.h"
#include "framework/profile.h"
#include "view/hebview.h"

namespace {

class HebDocConvertTest : public testing::Test {
protected:
    HebDocConvertTest() : doc(new CHebDoc), view(new CHebView(doc)) { view->resize(400, 200); }
    ~HebDocConvertTest() override {
        delete view;
        delete doc;
    }

    void SetText(const std::string& text) { doc->SetText(text); }
    std::pair<long, long> Sel() const {
        long start = 0;
        long end = 0;
        view->GetSel(start, end);
        return {start, end};
    }
    bool Enabled(int id) {
        CCmdUI ui(id);
        EXPECT_TRUE(doc->OnUpdateCmdMsg(ui));
        return ui.IsEnabled();
    }
    void Run(int id) { ASSERT_TRUE(doc->OnCmdMsg(id)); }

    ScratchFolder scratch;
    FakeUi ui;
    FakeOptionsSheet sheet;
    CHebDoc* doc;
    CHebView* view;
};

TEST_F(HebDocConvertTest, WholeTextToVisualShowsTheSheetFirst) {
    SetText(Heb("שלום עולם"));
    Run(CommandId::ConvertToVisual);
    EXPECT_EQ(doc->GetText(), Heb("םלוע םולש<br>\r\n"));
    EXPECT_EQ(sheet.pages, std::vector<int>{kConversionPage});
    EXPECT_TRUE(doc->IsLastConvertVisual());
    EXPECT_TRUE(doc->IsModified());
    EXPECT_TRUE(doc->CanUndoConvert());
    // Not offered twice in a row on the whole text.
    EXPECT_FALSE(Enabled(CommandId::ConvertToVisual));
    view->SetSel(0, 2);
    EXPECT_TRUE(Enabled(CommandId::ConvertToVisual));
}

TEST_F(HebDocConvertTest, SheetCancelledStillConvertsWithSettingsAsTheyStand) {
    sheet.edit = [](OptionsValues& values) { values.conversion.BreakLines = 0; };
    sheet.confirm = false;
    SetText(Heb("שלום"));
    Run(CommandId::ConvertToVisual);
    EXPECT_EQ(doc->GetText(), Heb("םולש<br>\r\n"));

    sheet.confirm = true;  // confirmed: the new setting applies at once
    SetText(Heb("שלום"));
    Run(CommandId::ConvertToVisual);
    EXPECT_EQ(doc->GetText(), Heb("םולש"));
}

TEST_F(HebDocConvertTest, ShortSelectionIsConvertedInPlaceAndStaysSelected) {
    SetText(Heb("abc שלום עולם def"));
    view->SetSel(4, 13);
    Run(CommandId::ConvertToVisual);
    EXPECT_EQ(doc->GetText(), Heb("abc םלוע םולש def"));
    EXPECT_EQ(Sel(), std::make_pair(4L, 13L));
}

TEST_F(HebDocConvertTest, SelectionOfSeveralLinesIsMarked) {
    SetText(Heb("x\r\nאב\r\nגד\r\ny"));
    view->SetSel(3, 11);
    Run(CommandId::ConvertToVisual);
    EXPECT_EQ(doc->GetText(), Heb("x\r\nבא<br>\r\nדג<br>\r\ny"));
    EXPECT_EQ(Sel(), std::make_pair(3L, 19L));
}

TEST_F(HebDocConvertTest, NoHebrewConvertsNothingAndForgetsTheUndo) {
    SetText(Heb("שלום"));
    Run(CommandId::ConvertToLogical);
    ASSERT_TRUE(doc->CanUndoConvert());
    SetText("plain <b>text</b>");
    doc->SetDocModified(false);
    Run(CommandId::ConvertToVisual);
    EXPECT_EQ(doc->GetText(), "plain <b>text</b>");
    EXPECT_FALSE(doc->CanUndoConvert());
    EXPECT_FALSE(doc->IsModified());
}

TEST_F(HebDocConvertTest, UndoRestoresTheWholeTextAndItsScrollPosition) {
    std::string text;
    for (int i = 0; i < 200; ++i) {
        text += Heb("שורה ") + std::to_string(i) + "\r\n";
    }
    SetText(text);
    view->SetSel(0, 4);
    Run(CommandId::ConvertToVisual);
    // Editing after the conversion is undone with it.
    view->SetSel(20, 20);
    view->ReplaceSel("edit", true);
    view->LineScroll(50);
    const int first = view->GetFirstVisibleLine();
    EXPECT_TRUE(Enabled(CommandId::UndoConvert));
    Run(CommandId::UndoConvert);
    EXPECT_EQ(doc->GetText(), text);
    EXPECT_EQ(doc->GetLastConvert(), CHebDoc::kNotConverted);
    EXPECT_EQ(view->GetFirstVisibleLine(), first);
    EXPECT_FALSE(Enabled(CommandId::UndoConvert));
}

TEST_F(HebDocConvertTest, CommonConversions) {
    const struct {
        int id;
        std::string text;
        std::string expected;
        int lastConvert;
    } cases[] = {
        {CommandId::ConvertToLogical, Heb("<p>םלוע םולש</p>"), Heb("שלום עולם"),
         CHebDoc::kConvertedToLogical},
        {CommandId::ConvertDos, Heb("<p>םולש</p>"), std::string(66, ' ') + "\x8D\x85\x8C\x99\r\n",
         CHebDoc::kConvertedToDos},
        {CommandId::ConvertSemiLogical, Heb("<p>םולש</p>"), Heb("<p>שלום</p>"),
         CHebDoc::kToggledSemiLogical},
        {CommandId::LowerTags, "<P>X</P>", "<p>X</p>", CHebDoc::kToggledSemiLogical},
    };
    for (const auto& c : cases) {
        SetText(c.text);
        Run(c.id);
        EXPECT_EQ(doc->GetText(), c.expected) << c.id;
        EXPECT_EQ(doc->GetLastConvert(), c.lastConvert) << c.id;
    }
}

TEST_F(HebDocConvertTest, ConversionOfASelectionLeavesTheRest) {
    SetText(Heb("<P>a</P><P>b</P>"));
    view->SetSel(0, 8);
    Run(CommandId::LowerTags);
    EXPECT_EQ(doc->GetText(), "<p>a</p><P>b</P>");
    EXPECT_EQ(Sel(), std::make_pair(8L, 8L));
}

TEST_F(HebDocConvertTest, EmptyDocument) {
    doc->SetUndoText("before");
    Run(CommandId::ConvertToLogical);
    EXPECT_TRUE(doc->CanUndoConvert());  // the common commands stop at once
    Run(CommandId::ConvertToVisual);
    EXPECT_FALSE(doc->CanUndoConvert());  // 32771 records the empty text first
    EXPECT_FALSE(Enabled(CommandId::ConvertToVisual));
    EXPECT_FALSE(Enabled(CommandId::ConvertSemiLogical));
    EXPECT_FALSE(doc->IsModified());
}

TEST_F(HebDocConvertTest, FileKindDisablesWholeTextConversions) {
    const std::string page = scratch.File("page.htm");
    ScratchFolder::Write(page, Heb("שלום"));
    ASSERT_TRUE(doc->OnOpenDocument(QString::fromStdString(page)));
    doc->SetPathName(QString::fromStdString(page), false);
    EXPECT_FALSE(Enabled(CommandId::ConvertToVisual));
    EXPECT_TRUE(Enabled(CommandId::ConvertToLogical));
    const std::string notes = scratch.File("notes.txt");
    doc->SetPathName(QString::fromStdString(notes), false);
    EXPECT_TRUE(Enabled(CommandId::ConvertToVisual));
    EXPECT_FALSE(Enabled(CommandId::ConvertToLogical));
    EXPECT_FALSE(Enabled(CommandId::ConvertDos));
    view->SetSel(0, 1);
    EXPECT_TRUE(Enabled(CommandId::ConvertToLogical));
}

TEST_F(HebDocConvertTest, SpecialCharacters) {
    const QString def = QDir(QCoreApplication::applicationDirPath()).filePath("mirval.def");
    QFile::remove(def);
    SetText("a &lt; b");
    Run(CommandId::SpecialChars);
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.messages[0],
              QStringLiteral("MIRVAL.DEF not found. Cannot replace special characters."));
    EXPECT_EQ(doc->GetText(), "a &lt; b");

    ScratchFolder::Write(def.toStdString(), "&lt;,&#60;,<\r\n&gt;,,>\r\n");
    view->SetSel(0, 6);  // "a &lt;": only the selection changes
    Run(CommandId::SpecialChars);
    EXPECT_EQ(doc->GetText(), "a < b");
    EXPECT_EQ(Sel(), std::make_pair(3L, 3L));
    view->SetSel(0, 0);
    doc->SetDocModified(false);
    SetText("&#60;&gt; nothing else");
    Run(CommandId::SpecialChars);
    EXPECT_EQ(doc->GetText(), "<> nothing else");
    EXPECT_TRUE(doc->IsModified());
    Run(CommandId::UndoConvert);
    EXPECT_EQ(doc->GetText(), "&#60;&gt; nothing else");

    // An empty document asks for no file, so it shows no message.
    QFile::remove(def);
    SetText("");
    Run(CommandId::SpecialChars);
    EXPECT_EQ(ui.messages.size(), 1);
}

TEST_F(HebDocConvertTest, OptionsConfirmedAreStoredAndWritten) {
    sheet.confirm = true;
    sheet.edit = [](OptionsValues& values) {
        values.conversion.BreakLinesAt = 40;
        values.table.TableDisplay = 0;
        values.image.ImageAlt = 1;  // not shown by the sheet: the record keeps its own
        values.textFont.Face = "DejaVu Sans";
        values.showSyntax = true;
    };
    Run(CommandId::Options);
    EXPECT_EQ(sheet.pages, std::vector<int>{kConversionPage});
    ConversionSettings conversion;
    doc->GetConversionSettings(conversion);
    EXPECT_EQ(conversion.BreakLinesAt, 40);
    ImageSettings image;
    doc->GetImageSettings(image);
    EXPECT_EQ(image.ImageAlt, 0);
    EXPECT_EQ(CHebDoc::ReadFontSettings("RegFont").Face, "DejaVu Sans");
    EXPECT_TRUE(CHebDoc::IsShowSyntax());
    IniProfile profile;
    ASSERT_TRUE(profile.Load(scratch.File("profile.ini")));
    EXPECT_EQ(profile.GetString("Settings", "TableDisplay", ""), "-1");
    EXPECT_EQ(profile.GetString("Settings", "BreakLinesAt", ""), "40");
    EXPECT_FALSE(profile.HasValue("Settings", "ImageAlt"));
    EXPECT_EQ(profile.GetString("General", "ShowSyntax", ""), "1");
}

TEST_F(HebDocConvertTest, AValueTheProfileRefusesIsReportedAndTheRestIsStored) {
    const std::pair<const char*, std::function<void(OptionsValues&)>> edits[] = {
        {"BreakLinesAt", [](OptionsValues& v) { v.table.TRTag = "<tr>\r\n"; }},
        {"ShowSyntax", [](OptionsValues& v) { v.textFont.Face = "Sans\n"; }},
    };
    for (const auto& [stored, edit] : edits) {
        ui.messages.clear();
        sheet.confirm = true;
        sheet.edit = [&](OptionsValues& values) {
            values.conversion.BreakLinesAt = 44;
            values.showSyntax = true;
            edit(values);
        };
        doc->ShowOptions(kConversionPage);
        ASSERT_EQ(ui.messages.size(), 1) << stored;
        EXPECT_TRUE(ui.messages[0].contains(QString::fromStdString(scratch.File("profile.ini"))));
        IniProfile profile;
        ASSERT_TRUE(profile.Load(scratch.File("profile.ini")));
        EXPECT_EQ(profile.GetString("Settings", "BreakLinesAt", ""), "44") << stored;
        EXPECT_EQ(profile.GetString("General", "ShowSyntax", ""), "1") << stored;
    }
}

TEST_F(HebDocConvertTest, OptionsCancelledStoreNothing) {
    sheet.confirm = false;
    sheet.edit = [](OptionsValues& values) { values.conversion.BreakLinesAt = 40; };
    doc->ShowOptions(kTablePage);
    EXPECT_EQ(sheet.pages, std::vector<int>{kTablePage});
    ConversionSettings conversion;
    doc->GetConversionSettings(conversion);
    EXPECT_EQ(conversion.BreakLinesAt, 70);
    EXPECT_FALSE(std::filesystem::exists(scratch.File("profile.ini")));
}

}  // namespace
