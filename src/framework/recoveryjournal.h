#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The recovery journal of one modified document: a file that holds enough to
// rebuild the editor's text after a crash.
//
// The file starts with an 8-byte magic and then holds records:
//     u32 payload length, u8 kind, payload, u32 CRC-32 of the length, kind and
//     payload bytes                                   (integers little-endian)
// Kinds: a header (the document's path or title, its line ends and encoding,
// and the file's stamp when the journal began), a snapshot (the whole editor
// text) and an edit (position, removed length, inserted text). Text is the
// editor's UTF-16, little-endian; positions and lengths count UTF-16 units.
// A file is one header and one snapshot followed by edits; a new snapshot
// goes into a new file that replaces the old one by rename.
//
// Reading stops at the first record that is cut short, fails its checksum or
// does not fit the text: a record torn by a crash is dropped, never replayed,
// and everything before it counts.
namespace recoveryjournal {

inline constexpr std::string_view kMagic{"MIRVALJ1", 8};
// Journal files end in this; a file being written ends in kTempSuffix.
inline constexpr std::string_view kSuffix{".journal"};
inline constexpr std::string_view kTempSuffix{".journal.new"};

struct Header {
    std::string path;   // the document's file (file-system bytes); empty: untitled
    std::string title;  // UTF-8; the title an untitled document had
    std::string encoding = "cp1255";
    bool lfLineEnds = false;     // the file is saved with LF alone
    std::int64_t startedMs = 0;  // when the journal began (ms since the epoch)
    // The document's file as it was on disk when the journal began.
    bool fileExisted = false;
    std::int64_t fileMtimeNs = 0;
    std::int64_t fileSize = 0;
};

std::uint32_t Crc32(std::string_view bytes, std::uint32_t crc = 0);

// One record each, ready to append to a journal.
std::string HeaderRecord(const Header& header);
std::string SnapshotRecord(std::u16string_view text);
std::string EditRecord(std::uint32_t position, std::uint32_t removed, std::u16string_view inserted);

struct Replayed {
    Header header;
    std::u16string text;
    std::size_t records = 0;    // records replayed (header and snapshot included)
    std::size_t usedBytes = 0;  // bytes up to the end of the last good record
    bool damagedTail = false;   // bytes after usedBytes were dropped
};

// The text a journal's bytes rebuild; nothing when they hold no header and
// snapshot.
std::optional<Replayed> Replay(std::string_view bytes);

// The header and snapshot that begin a journal file.
std::string FileStart(const Header& header, std::u16string_view text);
// The same bytes in pieces, so that a large text is written from where it
// is, without a copy: the magic, the header and the snapshot record's
// opening; then the text's UTF-16 bytes (little-endian hosts hold them so
// already); then SnapshotEnd of the checksum so far.
std::string FileStartOpening(const Header& header, std::size_t textUnits);
std::uint32_t SnapshotChecksumStart(std::size_t textUnits);
std::string SnapshotEnd(std::uint32_t checksum);

// The file's stamp (existence, modification time, size) into the header.
void StampFile(Header& header);

}  // namespace recoveryjournal
