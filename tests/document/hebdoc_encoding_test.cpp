#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QString>
#include <QTextCursor>
#include <string>

#include "common/fakesheet.h"
#include "common/fakeui.h"
#include "common/hebrew.h"
#include "common/scratchfolder.h"
#include "convert/conversionchain.h"
#include "document/hebdoc.h"
#include "document/recoveryrecorder.h"
#include "framework/commandids.h"
#include "framework/recoveryfolder.h"
#include "text/utf8codec.h"
#include "view/findreplacedialog.h"
#include "view/hebview.h"

using namespace std::string_literals;

namespace {

QString Q(const std::string& path) {
    return QString::fromStdString(path);
}

class HebDocEncodingTest : public testing::Test {
protected:
    HebDocEncodingTest() : doc(new CHebDoc), view(new CHebView(doc)) {}
    ~HebDocEncodingTest() override {
        delete view;
        delete doc;
    }

    void Open(const std::string& bytes) {
        const std::string path = scratch.File("page.htm");
        ScratchFolder::Write(path, bytes);
        ASSERT_TRUE(doc->OnOpenDocument(Q(path)));
        doc->SetPathName(Q(path));
    }
    std::string Save() {
        const std::string path = scratch.File("saved.htm");
        EXPECT_TRUE(doc->OnSaveDocument(Q(path)));
        return ScratchFolder::Read(path);
    }

    ScratchFolder scratch;
    FakeUi ui;
    FakeOptionsSheet sheet;
    CHebDoc* doc;
    CHebView* view;
};

// UTF-8 text of Hebrew and of a character code page 1255 lacks (U+4E2D).
const std::string kShalom = "\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D";
const std::string kChinese = "\xE4\xB8\xAD";

TEST_F(HebDocEncodingTest, FilesOpenInTheirEncodingAndSaveBackByteForByte) {
    const std::string bom(Utf8EditorCodec::kByteOrderMark);
    struct Case {
        std::string bytes;
        TextEncoding encoding;
        LineEnds lineEnds;
    };
    const Case cases[] = {
        {"<p>" + kShalom + "</p>\r\n<p>" + kChinese + "</p>\r\n", TextEncoding::Utf8,
         LineEnds::CrLf},
        {kShalom + "\n" + kChinese + "\n\nlone\rcr", TextEncoding::Utf8, LineEnds::Lf},
        {bom + "ascii\r\nlone\nlf and nul\0\r\n"s, TextEncoding::Utf8, LineEnds::CrLf},
        {bom + "ascii\nonly\n", TextEncoding::Utf8, LineEnds::Lf},
        {bom, TextEncoding::Utf8, LineEnds::CrLf},
        {Heb("<p>שלום</p>\r\n"), TextEncoding::Cp1255, LineEnds::CrLf},
        {Heb("שלום\nעולם\n"), TextEncoding::Cp1255, LineEnds::Lf},
        {"plain ascii\r\n", TextEncoding::Cp1255, LineEnds::CrLf},
        {bom + Heb("שלום"), TextEncoding::Cp1255, LineEnds::CrLf},
    };
    for (const Case& c : cases) {
        Open(c.bytes);
        EXPECT_EQ(doc->GetEncoding(), c.encoding) << c.bytes;
        EXPECT_EQ(doc->GetLineEnds(), c.lineEnds) << c.bytes;
        EXPECT_EQ(Save(), c.bytes);
    }
}

TEST_F(HebDocEncodingTest, Utf8PageShowsReadableTextAndKeepsEveryUneditedByte) {
    Open("\xEF\xBB\xBF<p>" + kShalom + "</p>\n<p>" + kChinese + "</p>\n");
    EXPECT_TRUE(doc->HasByteOrderMark());
    EXPECT_TRUE(doc->TextDocument()->toPlainText().startsWith(QStringLiteral("<p>שלום</p>")));
    // The commands' text is the code page 1255 form, offsets one per character.
    EXPECT_EQ(doc->GetText().substr(0, 14), Heb("<p>שלום</p>\r\n<"));
    view->SetSel(3, 7);
    view->ReplaceSel(Heb("עולם"), true);
    EXPECT_EQ(Save(),
              "\xEF\xBB\xBF<p>\xD7\xA2\xD7\x95\xD7\x9C\xD7\x9D</p>\n<p>" + kChinese + "</p>\n");
}

TEST_F(HebDocEncodingTest, CommandsOnTextWithoutCodePageFormRefuseAndChangeNothing) {
    const std::string page = "<p>" + kShalom + "</p>\r\nab" + kChinese + "c\r\n";
    Open(page);
    const QString message = CHebDoc::NoCodePageFormMessage(QStringLiteral("中"), 2, 3);
    EXPECT_TRUE(message.contains(QStringLiteral("U+4E2D")));
    EXPECT_TRUE(message.contains(QStringLiteral("בשורה 2, עמודה 3")));
    // Whole-text commands, a wrap of a selection holding the character, the
    // DOS display and the choice of code page 1255.
    view->SetSel(14, 17);
    const int ids[] = {CommandId::ConvertToVisual, CommandId::ConvertToLogical,
                       CommandId::SpecialChars,    CommandId::PasteVisual,
                       CommandId::Browse,          CommandId::Bold};
    for (const int id : ids) {
        ui.messages.clear();
        EXPECT_TRUE(doc->OnCmdMsg(id)) << id;
        EXPECT_EQ(ui.messages, QStringList{message}) << id;
    }
    ui.messages.clear();
    EXPECT_TRUE(view->OnCmdMsg(CommandId::DosDisplay));
    EXPECT_FALSE(doc->SetEncoding(TextEncoding::Cp1255));
    EXPECT_TRUE(view->OnCmdMsg(CommandId::EditReplace));
    CFindReplaceDialog* dialog = view->ReplaceDialog();
    ASSERT_NE(dialog, nullptr);
    dialog->FindEdit()->setText(QStringLiteral("ab"));
    dialog->ReplaceEdit()->setText(QStringLiteral("xy"));
    dialog->ReplaceAllButton()->click();
    dialog->close();
    EXPECT_EQ(ui.messages, (QStringList{message, message, message}));
    EXPECT_EQ(doc->GetEncoding(), TextEncoding::Utf8);
    EXPECT_FALSE(doc->IsModified());
    EXPECT_FALSE(doc->CanUndoConvert());
    EXPECT_EQ(Save(), page);

    // A selection without the character is wrapped, in UTF-8.
    ui.messages.clear();
    view->SetSel(3, 7);
    EXPECT_TRUE(doc->OnCmdMsg(CommandId::Bold));
    EXPECT_TRUE(ui.messages.isEmpty());
    EXPECT_EQ(Save(), "<p><b>" + kShalom + "</b></p>\r\nab" + kChinese + "c\r\n");
}

TEST_F(HebDocEncodingTest, ChosenEncodingIsTheOneSaved) {
    Open(Heb("<p>שלום</p>\n"));
    ASSERT_EQ(doc->GetEncoding(), TextEncoding::Cp1255);
    EXPECT_TRUE(doc->OnCmdMsg(CommandId::EncodingUtf8));
    EXPECT_TRUE(doc->IsModified());
    CCmdUI utf8(CommandId::EncodingUtf8);
    CCmdUI pane(CommandId::EncodingIndicator);
    ASSERT_TRUE(doc->OnUpdateCmdMsg(utf8));
    ASSERT_TRUE(doc->OnUpdateCmdMsg(pane));
    EXPECT_TRUE(utf8.IsChecked());
    EXPECT_EQ(pane.Text(), QStringLiteral("UTF-8"));
    EXPECT_EQ(Save(), "<p>" + kShalom + "</p>\n");

    EXPECT_TRUE(doc->OnCmdMsg(CommandId::EncodingCp1255));
    EXPECT_EQ(Save(), Heb("<p>שלום</p>\n"));
}

TEST_F(HebDocEncodingTest, Utf8PageConvertsToVisualAsItsCodePageForm) {
    const std::string page =
        Heb("<html><body>\r\n<p>שלום עולם, זהו דף (מספר 12) של \"בדיקה\".</p>\r\n"
            "<p>עוד שורה ארוכה למדי כדי שתישבר לשתיים או יותר בהמרה הזאת, עם מילים רבות.</p>\r\n"
            "</body></html>\r\n");
    Open(page);
    ASSERT_TRUE(doc->OnCmdMsg(CommandId::ConvertToVisual));
    const std::string visual = Save();
    ASSERT_NE(visual, page);

    Open(Utf8Codec::EncodeCp1255(page));
    ASSERT_EQ(doc->GetEncoding(), TextEncoding::Utf8);
    ASSERT_TRUE(doc->OnCmdMsg(CommandId::ConvertToVisual));
    EXPECT_EQ(Save(), Utf8Codec::EncodeCp1255(visual));
}

// A visual page becomes a logical UTF-8 page, told once per document, and the
// conversion undo brings back both the page and its encoding.
TEST_F(HebDocEncodingTest, ConvertToModernMakesAUtf8PageAndUndoesWithItsEncoding) {
    Open(Heb("<html><body>\r\n<p>שלום עולם, זהו דף של בדיקה.</p>\r\n</body></html>\r\n"));
    CCmdUI modern(CommandId::ConvertToModern);
    ASSERT_TRUE(doc->OnUpdateCmdMsg(modern));
    EXPECT_FALSE(modern.IsEnabled());  // a logical page
    ASSERT_TRUE(doc->OnCmdMsg(CommandId::ConvertToVisual));
    const std::string visual = doc->GetText();
    ASSERT_TRUE(doc->OnUpdateCmdMsg(modern));
    EXPECT_TRUE(modern.IsEnabled());

    ui.choiceAnswers = {false};  // the explanation declined: nothing happens
    ASSERT_TRUE(doc->OnCmdMsg(CommandId::ConvertToModern));
    EXPECT_EQ(doc->GetText(), visual);
    ui.choiceAnswers = {true};
    ASSERT_TRUE(doc->OnCmdMsg(CommandId::ConvertToModern));
    ConversionSettings settings;
    doc->GetConversionSettings(settings);
    std::string expected = visual;
    ASSERT_TRUE(conversion::ToModern(expected, settings, false));
    EXPECT_EQ(doc->GetText(), expected);
    EXPECT_EQ(doc->GetEncoding(), TextEncoding::Utf8);
    EXPECT_NE(expected.find("charset=\"utf-8\""), std::string::npos);

    ASSERT_TRUE(doc->OnCmdMsg(CommandId::UndoConvert));
    EXPECT_EQ(doc->GetText(), visual);
    EXPECT_EQ(doc->GetEncoding(), TextEncoding::Cp1255);
    ASSERT_TRUE(doc->OnCmdMsg(CommandId::ConvertToModern));  // not asked again
    EXPECT_EQ(ui.choiceQuestions.size(), 2);
    EXPECT_EQ(doc->GetEncoding(), TextEncoding::Utf8);
}

// A UTF-8 document journalled and taken back is UTF-8 again, with its byte
// order mark and every character, code page 1255 form or not.
TEST(HebDocEncodingRecoveryTest, JournalKeepsTheEncodingAndEveryCharacter) {
    ScratchFolder scratch;
    FakeUi ui;
    const QString folder = QString::fromStdString(scratch.File("journals"));
    const std::string page = scratch.File("page.htm");
    const std::string bytes = "\xEF\xBB\xBF<p>" + kShalom + kChinese + "</p>\n";
    ScratchFolder::Write(page, bytes);
    {
        CHebDoc doc;
        doc.EnableRecovery(folder);
        CHebView view(&doc);
        view.OnInitialUpdate();
        ASSERT_TRUE(doc.OnOpenDocument(Q(page)));
        doc.SetPathName(Q(page), false);
        QTextCursor(doc.TextDocument()).insertText(QStringLiteral("x"));
        doc.GetRecovery()->Sync();
    }
    std::vector<recoveryfolder::Orphan> orphans =
        recoveryfolder::FindOrphans(scratch.File("journals"));
    ASSERT_EQ(orphans.size(), 1u);
    CHebDoc doc;
    doc.EnableRecovery(folder);
    CHebView view(&doc);
    view.OnInitialUpdate();
    doc.RestoreFromJournal(orphans[0]);
    EXPECT_EQ(doc.GetEncoding(), TextEncoding::Utf8);
    ASSERT_TRUE(doc.DoFileSave());
    EXPECT_EQ(ScratchFolder::Read(page), "\xEF\xBB\xBFx<p>" + kShalom + kChinese + "</p>\n");
}

}  // namespace
