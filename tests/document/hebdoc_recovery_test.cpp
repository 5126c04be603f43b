#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTextCursor>
#include <QTextDocument>
#include <filesystem>
#include <random>

#include "common/fakeui.h"
#include "common/hebrew.h"
#include "common/scratchfolder.h"
#include "document/hebdoc.h"
#include "document/recoveryrecorder.h"
#include "framework/recoveryfolder.h"
#include "text/editorcodec.h"
#include "text/textdocumentbytes.h"
#include "view/hebview.h"

namespace {

std::string EditorBytes(const CHebDoc& doc) {
    return TextDocumentBytes::Read(*doc.TextDocument(), LineBreak::CrLf);
}

// The bytes a journal's text stands for, as the document reads its text.
std::string JournalBytes(const std::u16string& text) {
    std::string bytes;
    EditorCodec::AppendDocumentText(
        bytes, QStringView(text.data(), static_cast<qsizetype>(text.size())), LineBreak::CrLf);
    return bytes;
}

std::vector<std::filesystem::path> Journals(const std::string& folder) {
    std::vector<std::filesystem::path> files;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        files.push_back(entry.path());
    }
    return files;
}

// Random pieces of code page 1255 text: markup, Hebrew letters, CR LF, lone
// LF and CR, NUL and bytes the code page leaves undefined.
std::string Piece(std::mt19937& random) {
    static const std::string pieces[] = {"<p>",
                                         Heb("שלום"),
                                         "\r\n",
                                         "\n",
                                         "\r",
                                         std::string(1, '\0'),
                                         "\x80\x9A",
                                         "text ",
                                         Heb("א"),
                                         "x",
                                         Heb("עולם ומלואו\r\n")};
    std::string text;
    const int count = std::uniform_int_distribution<int>(1, 4)(random);
    for (int i = 0; i < count; ++i) {
        text += pieces[std::uniform_int_distribution<size_t>(0, std::size(pieces) - 1)(random)];
    }
    return text;
}

// A document with a view, journalled into the scratch folder, as the
// application makes them.
class HebDocRecoveryTest : public testing::Test {
protected:
    HebDocRecoveryTest() : folder(scratch.File("journals")) { Make(); }
    ~HebDocRecoveryTest() override { Drop(); }
    void Make() {
        doc = new CHebDoc;
        doc->EnableRecovery(QString::fromStdString(folder));
        view = new CHebView(doc);
        view->OnInitialUpdate();
    }
    void Drop() {
        delete view;
        delete doc;
        view = nullptr;
        doc = nullptr;
    }
    std::optional<recoveryjournal::Replayed> ReadJournal() {
        doc->GetRecovery()->Sync();
        return recoveryjournal::Replay(
            ScratchFolder::Read(doc->GetRecovery()->JournalPath().toStdString()));
    }

    ScratchFolder scratch;
    FakeUi ui;
    std::string folder;
    CHebDoc* doc = nullptr;
    CHebView* view = nullptr;
};

// Random edits through the text (insertions, deletions, replacements of the
// whole text, undo), each followed by the journal rebuilt and compared byte
// for byte with the editor's text; enough of them that the journal is
// replaced by new snapshots along the way.
TEST_F(HebDocRecoveryTest, JournalRebuildsTheEditorTextAfterEveryEdit) {
    std::mt19937 random(12);
    doc->SetText("<html>\r\n" + Heb("שלום") + "\r\n</html>\r\n");
    ASSERT_TRUE(doc->IsModified());
    QTextDocument& text = *doc->TextDocument();
    size_t lastRecords = 0;
    bool replaced = false;
    for (int step = 0; step < 400; ++step) {
        const int length = text.characterCount() - 1;
        const int kind = std::uniform_int_distribution<int>(0, 19)(random);
        QTextCursor cursor(&text);
        cursor.setPosition(std::uniform_int_distribution<int>(0, length)(random));
        if (kind < 10) {
            cursor.insertText(EditorCodec::Decode(Piece(random), LineBreak::CrLf));
        } else if (kind < 16) {
            cursor.setPosition(
                std::min(length,
                         cursor.position() + std::uniform_int_distribution<int>(1, 30)(random)),
                QTextCursor::KeepAnchor);
            cursor.removeSelectedText();
        } else if (kind < 18) {
            std::string whole;
            for (int i = 0; i < 200; ++i) {
                whole += Piece(random);
            }
            doc->SetText(whole);
        } else {
            text.undo();
        }
        if (step % 20 == 19 || step == 399) {
            const auto journal = ReadJournal();
            ASSERT_TRUE(journal) << "step " << step;
            ASSERT_FALSE(journal->damagedTail);
            ASSERT_EQ(JournalBytes(journal->text), EditorBytes(*doc)) << "step " << step;
            replaced = replaced || journal->records < lastRecords;
            lastRecords = journal->records;
        }
    }
    EXPECT_TRUE(replaced) << "no new snapshot was written";
    EXPECT_EQ(Journals(folder).size(), 1u);
}

// The journal's life: made 0600 when the document is modified, kept when the
// program ends without a choice, recovered into a new document (path, line
// ends, text, modified) which takes over, and gone on save and on close.
TEST_F(HebDocRecoveryTest, JournalLivesUntilSavedOrDiscarded) {
    const std::string page = scratch.File("page.htm");
    ScratchFolder::Write(page, "<p>\n" + Heb("אב") + "\n");
    ASSERT_TRUE(doc->OnOpenDocument(QString::fromStdString(page)));
    doc->SetPathName(QString::fromStdString(page), false);
    EXPECT_TRUE(Journals(folder).empty()) << "an unmodified document has no journal";

    QTextCursor(doc->TextDocument()).insertText(QStringLiteral("typed "));
    const auto journal = ReadJournal();
    ASSERT_TRUE(journal);
    EXPECT_EQ(journal->header.path, page);
    EXPECT_TRUE(journal->header.lfLineEnds);
    const auto journalPath = Journals(folder);
    ASSERT_EQ(journalPath.size(), 1u);
    EXPECT_EQ(std::filesystem::status(journalPath[0]).permissions() & std::filesystem::perms::all,
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    // While the document is open its journal is no orphan.
    EXPECT_TRUE(recoveryfolder::FindOrphans(folder).empty());

    // The program ends without saving or discarding (as a kill would): the
    // journal stays and is found by the next start.
    const std::string expected = EditorBytes(*doc);
    Drop();
    std::vector<recoveryfolder::Orphan> orphans = recoveryfolder::FindOrphans(folder);
    ASSERT_EQ(orphans.size(), 1u);
    EXPECT_FALSE(orphans[0].fileNewer);
    ScratchFolder::Write(page, "changed on disk\n");
    recoveryfolder::Release(orphans[0]);
    orphans = recoveryfolder::FindOrphans(folder);
    ASSERT_EQ(orphans.size(), 1u);
    EXPECT_TRUE(orphans[0].fileNewer);

    Make();
    doc->RestoreFromJournal(orphans[0]);
    EXPECT_EQ(EditorBytes(*doc), expected);
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(doc->GetPathName().toStdString(), page);
    EXPECT_EQ(doc->GetLineEnds(), LineEnds::Lf);
    doc->GetRecovery()->Sync();
    const auto now = Journals(folder);
    ASSERT_EQ(now.size(), 1u) << "the old journal goes once the new one is durable";
    EXPECT_NE(now[0], journalPath[0]);

    ASSERT_TRUE(doc->DoFileSave());
    doc->GetRecovery()->Sync();
    EXPECT_TRUE(Journals(folder).empty()) << "a saved document has no journal";
    EXPECT_EQ(ScratchFolder::Read(page), "typed <p>\n" + Heb("אב") + "\n");

    // Modified again, then closed by the user's choice.
    QTextCursor(doc->TextDocument()).insertText(QStringLiteral("x"));
    doc->GetRecovery()->Sync();
    EXPECT_EQ(Journals(folder).size(), 1u);
    doc->GetRecovery()->DiscardJournal();
    doc->GetRecovery()->Sync();
    EXPECT_TRUE(Journals(folder).empty());
}

// A folder the journal cannot be written in is said once in the status bar,
// never in a message box, and typing goes on.
TEST_F(HebDocRecoveryTest, UnwritableFolderIsReportedOnceInTheStatusBar) {
    ScratchFolder::Write(folder, "a file where the folder should be");
    for (int i = 0; i < 5; ++i) {
        QTextCursor(doc->TextDocument()).insertText(QStringLiteral("a"));
        doc->GetRecovery()->Sync();
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(ui.statusMessages.size(), 1);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(EditorBytes(*doc), "aaaaa");
}

}  // namespace
