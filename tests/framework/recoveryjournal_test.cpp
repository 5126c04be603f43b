#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "common/scratchfolder.h"
#include "framework/journalwriter.h"
#include "framework/recoveryfolder.h"
#include "framework/recoveryjournal.h"

namespace {

using namespace recoveryjournal;

// A journal cut at any byte of its last record, or with any bit of that
// record flipped, rebuilds the text as it was before that record; a journal
// cut before its snapshot is whole rebuilds nothing.
TEST(RecoveryJournalTest, DamagedLastRecordIsDroppedNotReplayed) {
    Header header;
    header.path = "/tmp/page.htm";
    header.title = "page.htm";
    header.lfLineEnds = true;
    header.fileExisted = true;
    header.fileMtimeNs = 1234567890123;
    header.fileSize = 42;
    const std::string start = FileStart(header, u"<p>\u05E9\u2029</p>");
    const std::string edits = EditRecord(3, 0, u"\u05D0\u05D1") + EditRecord(0, 3, u"");
    const std::string last = EditRecord(1, 2, u"xyz\u2029");
    const std::string bytes = start + edits + last;

    const auto whole = Replay(bytes);
    ASSERT_TRUE(whole);
    EXPECT_EQ(whole->text, u"\u05D0xyz\u2029\u2029</p>");
    EXPECT_EQ(whole->records, 5u);
    EXPECT_FALSE(whole->damagedTail);
    EXPECT_EQ(whole->header.path, header.path);
    EXPECT_EQ(whole->header.title, header.title);
    EXPECT_TRUE(whole->header.lfLineEnds);
    EXPECT_EQ(whole->header.fileMtimeNs, header.fileMtimeNs);
    EXPECT_EQ(whole->header.fileSize, header.fileSize);

    const std::u16string before = u"\u05D0\u05D1\u05E9\u2029</p>";
    const size_t lastStart = start.size() + edits.size();
    for (size_t cut = lastStart; cut < bytes.size(); ++cut) {
        const auto replayed = Replay(std::string_view(bytes).substr(0, cut));
        ASSERT_TRUE(replayed) << cut;
        EXPECT_EQ(replayed->text, before) << "cut at " << cut;
        EXPECT_EQ(replayed->usedBytes, lastStart);
        EXPECT_EQ(replayed->damagedTail, cut > lastStart);
    }
    for (size_t at = lastStart; at < bytes.size(); ++at) {
        std::string flipped = bytes;
        flipped[at] = static_cast<char>(flipped[at] ^ 0x10);
        const auto replayed = Replay(flipped);
        ASSERT_TRUE(replayed);
        EXPECT_EQ(replayed->text, before) << "flipped byte " << at;
    }
    for (size_t cut = 0; cut < start.size(); ++cut) {
        EXPECT_FALSE(Replay(std::string_view(bytes).substr(0, cut))) << cut;
    }
    // An edit that does not fit the text is damage too.
    EXPECT_EQ(Replay(start + EditRecord(40, 0, u"x"))->text, u"<p>\u05E9\u2029</p>");
}

// The writer's journal is locked while it writes, durable within two
// seconds of an edit without being asked, and left for the next start when
// the writer ends; found then, it can be released for later or removed.
TEST(RecoveryJournalTest, WriterJournalIsLockedDurableAndLeftForTheNextStart) {
    ScratchFolder scratch;
    const std::string folder = scratch.File("journals");
    Header header;
    header.title = "MIRVAL1";
    {
        JournalWriter writer(folder, {});
        writer.Start(header, QStringLiteral("abc"));
        writer.Sync();
        writer.Edit(3, 0, QStringLiteral("d"));
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
        std::optional<Replayed> journal;
        while (std::chrono::steady_clock::now() < deadline) {
            journal = Replay(ScratchFolder::Read(writer.Path()));
            if (journal && journal->text == u"abcd") {
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        ASSERT_TRUE(journal);
        EXPECT_EQ(journal->text, u"abcd") << "the edit was not written within 2 s";
        EXPECT_TRUE(recoveryfolder::FindOrphans(folder).empty()) << "a held journal is no orphan";
        writer.Edit(0, 1, QString());
    }
    std::vector<recoveryfolder::Orphan> orphans = recoveryfolder::FindOrphans(folder);
    ASSERT_EQ(orphans.size(), 1u);
    EXPECT_EQ(orphans[0].journal.text, u"bcd") << "the last edit is written when the writer ends";
    EXPECT_EQ(orphans[0].journal.header.title, "MIRVAL1");
    EXPECT_TRUE(recoveryfolder::FindOrphans(folder).empty()) << "found once, then held";
    recoveryfolder::Release(orphans[0]);
    orphans = recoveryfolder::FindOrphans(folder);
    ASSERT_EQ(orphans.size(), 1u);
    recoveryfolder::Remove(orphans[0]);
    EXPECT_TRUE(recoveryfolder::FindOrphans(folder).empty());
    EXPECT_TRUE(std::filesystem::is_empty(folder));
}

}  // namespace
