#include "framework/journalwriter.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <bit>
#include <cerrno>
#include <cstring>
#include <filesystem>

namespace {

// The writer thread's nice value: the editor's thread comes first.
constexpr int kNice = 10;

std::u16string_view View(const QString& text) {
    return {reinterpret_cast<const char16_t*>(text.utf16()), static_cast<size_t>(text.size())};
}

std::string UniqueName() {
    static std::atomic<unsigned> counter{0};
    const auto now = std::chrono::duration_cast<std::chrono::milliseconds>(
                         std::chrono::system_clock::now().time_since_epoch())
                         .count();
    return std::to_string(::getpid()) + "-" + std::to_string(now) + "-" +
           std::to_string(counter.fetch_add(1));
}

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        bytes.remove_prefix(static_cast<size_t>(written));
    }
    return true;
}

std::string Reason() {
    return std::strerror(errno);
}

}  // namespace

JournalWriter::JournalWriter(std::string folder, ErrorHandler onError,
                             std::chrono::milliseconds syncDelay)
    : m_folder(std::move(folder)), m_onError(std::move(onError)), m_syncDelay(syncDelay) {
    m_thread = std::thread([this] { Run(); });
}

JournalWriter::~JournalWriter() {
    {
        const std::lock_guard lock(m_mutex);
        m_stop = true;
        m_urgent = true;
    }
    m_wake.notify_one();
    m_thread.join();
    if (m_fd >= 0) {
        ::close(m_fd);  // the file stays; closing releases its lock
    }
    if (m_predecessorFd >= 0) {
        ::close(m_predecessorFd);
    }
}

void JournalWriter::Start(recoveryjournal::Header header, QString text) {
    Operation operation;
    operation.kind = Operation::kStart;
    operation.header = std::move(header);
    operation.text = std::move(text);
    Queue(std::move(operation), true);
}

void JournalWriter::Edit(std::uint32_t position, std::uint32_t removed, QString inserted) {
    Operation operation;
    operation.kind = Operation::kEdit;
    operation.text = std::move(inserted);
    operation.position = position;
    operation.removed = removed;
    Queue(std::move(operation), false);
}

void JournalWriter::Discard() {
    Operation operation;
    operation.kind = Operation::kDiscard;
    Queue(std::move(operation), true);
}

void JournalWriter::AdoptPredecessor(std::string path, int fd) {
    Operation operation;
    operation.kind = Operation::kAdopt;
    operation.path = std::move(path);
    operation.fd = fd;
    Queue(std::move(operation), false);
}

void JournalWriter::Sync() {
    std::unique_lock lock(m_mutex);
    const std::uint64_t target = m_queuedCount;
    m_urgent = true;
    m_wake.notify_one();
    m_done.wait(lock, [this, target] { return m_doneCount >= target; });
}

std::string JournalWriter::Path() const {
    const std::lock_guard lock(m_mutex);
    return m_pathShown;
}

void JournalWriter::Queue(Operation operation, bool urgent) {
    bool wake = urgent;
    {
        const std::lock_guard lock(m_mutex);
        if (m_queue.empty()) {
            m_firstQueued = std::chrono::steady_clock::now();
            wake = true;  // the writer waits for a first record
        }
        m_queue.push_back(std::move(operation));
        ++m_queuedCount;
        m_urgent = m_urgent || urgent;
    }
    // Otherwise the writer sleeps until the sync time of the oldest record,
    // and a keystroke costs no wake-up of its thread.
    if (wake) {
        m_wake.notify_one();
    }
}

void JournalWriter::Run() {
    // Below the user's own work: on Linux the nice value is the thread's.
    ::setpriority(PRIO_PROCESS, static_cast<id_t>(::gettid()), kNice);
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return m_stop || !m_queue.empty(); });
        if (!m_urgent && !m_queue.empty()) {
            const auto due = m_firstQueued + m_syncDelay;
            m_wake.wait_until(lock, due, [this] { return m_urgent; });
        }
        std::deque<Operation> operations;
        operations.swap(m_queue);
        const std::uint64_t taken = m_queuedCount;
        m_urgent = false;
        lock.unlock();
        Process(operations);
        lock.lock();
        m_pathShown = m_path;
        m_doneCount = taken;
        m_done.notify_all();
        if (m_stop && m_queue.empty()) {
            return;
        }
    }
}

void JournalWriter::Process(std::deque<Operation>& operations) {
    std::string pending;
    for (Operation& operation : operations) {
        switch (operation.kind) {
            case Operation::kStart:
                pending.clear();  // the snapshot holds what they did
                if (WriteNewFile(operation.header, operation.text)) {
                    m_failing = false;
                    m_reported = false;
                    DropPredecessor();
                }
                break;
            case Operation::kEdit:
                if (!m_failing && m_fd >= 0) {
                    pending += recoveryjournal::EditRecord(operation.position, operation.removed,
                                                           View(operation.text));
                }
                break;
            case Operation::kDiscard:
                pending.clear();
                RemoveFile();
                break;
            case Operation::kAdopt:
                if (m_predecessorFd >= 0) {
                    ::close(m_predecessorFd);
                }
                m_predecessorPath = std::move(operation.path);
                m_predecessorFd = operation.fd;
                break;
        }
    }
    if (!pending.empty() && m_fd >= 0 && !m_failing) {
        Append(pending);
    }
}

bool JournalWriter::WriteNewFile(const recoveryjournal::Header& header, const QString& text) {
    std::error_code error;
    if (std::filesystem::create_directories(m_folder, error)) {
        ::chmod(m_folder.c_str(), 0700);
    }
    if (m_path.empty()) {
        m_path = m_folder + "/" + UniqueName() + std::string(recoveryjournal::kSuffix);
    }
    const std::string temporary = m_path + ".new";
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) {
        Fail(m_folder + ": " + Reason());
        return false;
    }
    // Locked before it holds anything: a start that looks for orphans skips it.
    std::uint64_t size = 0;
    if (::fchmod(fd, 0600) != 0 || ::flock(fd, LOCK_EX | LOCK_NB) != 0 ||
        (size = WriteStart(fd, header, text)) == 0 || ::fdatasync(fd) != 0 ||
        ::rename(temporary.c_str(), m_path.c_str()) != 0) {
        Fail(m_path + ": " + Reason());
        ::close(fd);
        ::unlink(temporary.c_str());
        return false;
    }
    SyncFolder();
    if (m_fd >= 0) {
        ::close(m_fd);
    }
    m_fd = fd;
    m_size = size;
    m_bytesWritten += size;
    return true;
}

std::uint64_t JournalWriter::WriteStart(int fd, const recoveryjournal::Header& header,
                                        const QString& text) {
    if constexpr (std::endian::native != std::endian::little) {
        const std::string bytes = recoveryjournal::FileStart(header, View(text));
        return WriteAll(fd, bytes) ? bytes.size() : 0;
    }
    // The text is written from the string itself, a piece at a time: no copy
    // of a large text, and the checksum runs over each piece as it goes.
    const auto units = static_cast<std::size_t>(text.size());
    const std::string opening = recoveryjournal::FileStartOpening(header, units);
    if (!WriteAll(fd, opening)) {
        return 0;
    }
    std::uint32_t checksum = recoveryjournal::SnapshotChecksumStart(units);
    const std::string_view bytes(reinterpret_cast<const char*>(text.utf16()), 2 * units);
    constexpr std::size_t kPiece = std::size_t{1} << 20;
    for (std::size_t at = 0; at < bytes.size(); at += kPiece) {
        const std::string_view piece = bytes.substr(at, kPiece);
        checksum = recoveryjournal::Crc32(piece, checksum);
        if (!WriteAll(fd, piece)) {
            return 0;
        }
    }
    const std::string end = recoveryjournal::SnapshotEnd(checksum);
    if (!WriteAll(fd, end)) {
        return 0;
    }
    return opening.size() + bytes.size() + end.size();
}

bool JournalWriter::Append(const std::string& bytes) {
    if (!WriteAll(m_fd, bytes) || ::fdatasync(m_fd) != 0) {
        Fail(m_path + ": " + Reason());
        // What was written of the batch goes: the journal ends at its last
        // whole record, and stays valid for a start that finds it.
        if (::ftruncate(m_fd, static_cast<off_t>(m_size)) == 0) {
            ::lseek(m_fd, static_cast<off_t>(m_size), SEEK_SET);
        }
        return false;
    }
    m_size += bytes.size();
    m_bytesWritten += bytes.size();
    return true;
}

void JournalWriter::RemoveFile() {
    if (!m_path.empty()) {
        ::unlink(m_path.c_str());
        ::unlink((m_path + ".new").c_str());
        SyncFolder();
    }
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
    m_path.clear();
    m_size = 0;
    m_failing = false;
    m_reported = false;
    DropPredecessor();
}

void JournalWriter::DropPredecessor() {
    if (m_predecessorPath.empty()) {
        return;
    }
    ::unlink(m_predecessorPath.c_str());
    SyncFolder();
    m_predecessorPath.clear();
    if (m_predecessorFd >= 0) {
        ::close(m_predecessorFd);
        m_predecessorFd = -1;
    }
}

void JournalWriter::Fail(const std::string& message) {
    m_failing = true;
    if (!m_reported) {
        m_reported = true;
        if (m_onError) {
            m_onError(message);
        }
    }
}

void JournalWriter::SyncFolder() {
    const int fd = ::open(m_folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}
