#include "framework/recoveryjournal.h"

#include <sys/stat.h>
#include <zlib.h>

#include <algorithm>
#include <bit>
#include <chrono>
#include <cstring>

namespace recoveryjournal {

namespace {

enum Kind : std::uint8_t { kHeader = 1, kSnapshot = 2, kEdit = 3 };

constexpr std::size_t kRecordOverhead = 4 + 1 + 4;  // length, kind, checksum

void PutU32(std::string& out, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
    }
}

void PutI64(std::string& out, std::int64_t value) {
    const auto bits = static_cast<std::uint64_t>(value);
    for (int i = 0; i < 8; ++i) {
        out.push_back(static_cast<char>((bits >> (8 * i)) & 0xFF));
    }
}

void PutString(std::string& out, std::string_view text) {
    PutU32(out, static_cast<std::uint32_t>(text.size()));
    out.append(text);
}

void PutText(std::string& out, std::u16string_view text) {
    const std::size_t at = out.size();
    out.resize(at + 2 * text.size());
    char* p = out.data() + at;
    if constexpr (std::endian::native == std::endian::little) {
        std::memcpy(p, text.data(), 2 * text.size());
        return;
    }
    for (const char16_t c : text) {
        *p++ = static_cast<char>(c & 0xFF);
        *p++ = static_cast<char>(c >> 8);
    }
}

std::string Record(Kind kind, const std::string& payload) {
    std::string record;
    record.reserve(payload.size() + kRecordOverhead);
    PutU32(record, static_cast<std::uint32_t>(payload.size()));
    record.push_back(static_cast<char>(kind));
    record.append(payload);
    PutU32(record, Crc32(record));
    return record;
}

// Reads fields of a payload; any read past its end makes it bad.
class Fields {
public:
    explicit Fields(std::string_view bytes) : m_bytes(bytes) {}
    bool Ok() const { return m_ok; }
    bool AtEnd() const { return m_at == m_bytes.size(); }
    std::uint64_t Unsigned(int width) {
        if (!Has(static_cast<std::size_t>(width))) {
            return 0;
        }
        std::uint64_t value = 0;
        for (int i = 0; i < width; ++i) {
            value |= std::uint64_t{static_cast<unsigned char>(m_bytes[m_at + i])} << (8 * i);
        }
        m_at += static_cast<std::size_t>(width);
        return value;
    }
    std::string String() {
        const auto size = static_cast<std::size_t>(Unsigned(4));
        if (!Has(size)) {
            return {};
        }
        std::string text(m_bytes.substr(m_at, size));
        m_at += size;
        return text;
    }
    // The rest of the payload as UTF-16 text.
    std::u16string Text() {
        const std::string_view rest = m_bytes.substr(m_at);
        if (rest.size() % 2 != 0) {
            m_ok = false;
            return {};
        }
        std::u16string text(rest.size() / 2, u'\0');
        for (std::size_t i = 0; i < text.size(); ++i) {
            text[i] = static_cast<char16_t>(static_cast<unsigned char>(rest[2 * i]) |
                                            static_cast<unsigned char>(rest[2 * i + 1]) << 8);
        }
        m_at = m_bytes.size();
        return text;
    }

private:
    bool Has(std::size_t size) {
        if (m_bytes.size() - m_at < size) {
            m_ok = false;
        }
        return m_ok;
    }
    std::string_view m_bytes;
    std::size_t m_at = 0;
    bool m_ok = true;
};

// The text being rebuilt, with a gap at the last edit: typing edits one place
// after another, so each costs the distance from the previous one rather than
// the length of the text.
class GapText {
public:
    void Reset(std::u16string text) {
        m_buffer = std::move(text);
        m_gapStart = m_gapEnd = m_buffer.size();
    }
    std::size_t Size() const { return m_buffer.size() - (m_gapEnd - m_gapStart); }
    void Replace(std::size_t position, std::size_t removed, std::u16string_view inserted) {
        MoveGap(position);
        m_gapEnd += removed;
        if (m_gapEnd - m_gapStart < inserted.size()) {
            Grow(inserted.size());
        }
        std::memcpy(m_buffer.data() + m_gapStart, inserted.data(),
                    inserted.size() * sizeof(char16_t));
        m_gapStart += inserted.size();
    }
    std::u16string Take() {
        MoveGap(Size());
        m_buffer.resize(m_gapStart);
        return std::move(m_buffer);
    }

private:
    void MoveGap(std::size_t position) {
        char16_t* data = m_buffer.data();
        if (position < m_gapStart) {
            const std::size_t count = m_gapStart - position;
            std::memmove(data + m_gapEnd - count, data + position, count * sizeof(char16_t));
            m_gapStart -= count;
            m_gapEnd -= count;
        } else if (position > m_gapStart) {
            const std::size_t count = position - m_gapStart;
            std::memmove(data + m_gapStart, data + m_gapEnd, count * sizeof(char16_t));
            m_gapStart += count;
            m_gapEnd += count;
        }
    }
    void Grow(std::size_t needed) {
        const std::size_t tail = m_buffer.size() - m_gapEnd;
        const std::size_t extra = needed + m_buffer.size() / 2 + 64;
        m_buffer.resize(m_buffer.size() + extra);
        char16_t* data = m_buffer.data();
        std::memmove(data + m_buffer.size() - tail, data + m_gapEnd, tail * sizeof(char16_t));
        m_gapEnd = m_buffer.size() - tail;
    }

    std::u16string m_buffer;
    std::size_t m_gapStart = 0;
    std::size_t m_gapEnd = 0;
};

}  // namespace

std::uint32_t Crc32(std::string_view bytes, std::uint32_t crc) {
    // zlib's CRC-32 (the same polynomial as gzip and PNG), several times
    // faster than a byte table on the snapshot of a large text.
    while (!bytes.empty()) {
        const auto chunk = static_cast<uInt>(std::min<std::size_t>(bytes.size(), 1u << 30));
        crc = static_cast<std::uint32_t>(
            ::crc32(crc, reinterpret_cast<const Bytef*>(bytes.data()), chunk));
        bytes.remove_prefix(chunk);
    }
    return crc;
}

std::string HeaderRecord(const Header& header) {
    std::string payload;
    PutString(payload, header.path);
    PutString(payload, header.title);
    PutString(payload, header.encoding);
    payload.push_back(header.lfLineEnds ? 1 : 0);
    PutI64(payload, header.startedMs);
    payload.push_back(header.fileExisted ? 1 : 0);
    PutI64(payload, header.fileMtimeNs);
    PutI64(payload, header.fileSize);
    return Record(kHeader, payload);
}

std::string SnapshotRecord(std::u16string_view text) {
    std::string payload;
    PutText(payload, text);
    return Record(kSnapshot, payload);
}

std::string EditRecord(std::uint32_t position, std::uint32_t removed,
                       std::u16string_view inserted) {
    std::string payload;
    payload.reserve(8 + 2 * inserted.size());
    PutU32(payload, position);
    PutU32(payload, removed);
    PutText(payload, inserted);
    return Record(kEdit, payload);
}

std::string FileStart(const Header& header, std::u16string_view text) {
    std::string bytes(kMagic);
    bytes += HeaderRecord(header);
    bytes += SnapshotRecord(text);
    return bytes;
}

std::string FileStartOpening(const Header& header, std::size_t textUnits) {
    std::string bytes(kMagic);
    bytes += HeaderRecord(header);
    PutU32(bytes, static_cast<std::uint32_t>(2 * textUnits));
    bytes.push_back(static_cast<char>(kSnapshot));
    return bytes;
}

std::uint32_t SnapshotChecksumStart(std::size_t textUnits) {
    std::string opening;
    PutU32(opening, static_cast<std::uint32_t>(2 * textUnits));
    opening.push_back(static_cast<char>(kSnapshot));
    return Crc32(opening);
}

std::string SnapshotEnd(std::uint32_t checksum) {
    std::string end;
    PutU32(end, checksum);
    return end;
}

void StampFile(Header& header) {
    struct stat info {};
    header.fileExisted = !header.path.empty() && ::stat(header.path.c_str(), &info) == 0;
    if (header.fileExisted) {
        header.fileMtimeNs = std::int64_t{info.st_mtim.tv_sec} * 1000000000 + info.st_mtim.tv_nsec;
        header.fileSize = info.st_size;
    }
}

std::optional<Replayed> Replay(std::string_view bytes) {
    if (bytes.substr(0, kMagic.size()) != kMagic) {
        return std::nullopt;
    }
    Replayed result;
    GapText text;
    bool haveHeader = false;
    bool haveText = false;
    std::size_t at = kMagic.size();
    result.usedBytes = at;
    while (at < bytes.size()) {
        const std::string_view rest = bytes.substr(at);
        if (rest.size() < kRecordOverhead) {
            break;
        }
        Fields prefix(rest);
        const auto length = static_cast<std::size_t>(prefix.Unsigned(4));
        if (length > rest.size() - kRecordOverhead) {
            break;
        }
        const std::string_view covered = rest.substr(0, 5 + length);
        Fields stored(rest.substr(5 + length, 4));
        if (Crc32(covered) != static_cast<std::uint32_t>(stored.Unsigned(4))) {
            break;
        }
        const auto kind = static_cast<std::uint8_t>(covered[4]);
        Fields fields(covered.substr(5));
        if (kind == kHeader) {
            Header header;
            header.path = fields.String();
            header.title = fields.String();
            header.encoding = fields.String();
            header.lfLineEnds = fields.Unsigned(1) != 0;
            header.startedMs = static_cast<std::int64_t>(fields.Unsigned(8));
            header.fileExisted = fields.Unsigned(1) != 0;
            header.fileMtimeNs = static_cast<std::int64_t>(fields.Unsigned(8));
            header.fileSize = static_cast<std::int64_t>(fields.Unsigned(8));
            if (!fields.Ok() || !fields.AtEnd()) {
                break;
            }
            result.header = std::move(header);
            haveHeader = true;
        } else if (kind == kSnapshot) {
            std::u16string snapshot = fields.Text();
            if (!fields.Ok()) {
                break;
            }
            text.Reset(std::move(snapshot));
            haveText = true;
        } else if (kind == kEdit && haveText) {
            const auto position = static_cast<std::size_t>(fields.Unsigned(4));
            const auto removed = static_cast<std::size_t>(fields.Unsigned(4));
            const std::u16string inserted = fields.Text();
            if (!fields.Ok() || position > text.Size() || removed > text.Size() - position) {
                break;
            }
            text.Replace(position, removed, inserted);
        } else {
            break;
        }
        at += covered.size() + 4;
        result.usedBytes = at;
        ++result.records;
    }
    if (!haveHeader || !haveText) {
        return std::nullopt;
    }
    result.damagedTail = result.usedBytes < bytes.size();
    result.text = text.Take();
    return result;
}

}  // namespace recoveryjournal
