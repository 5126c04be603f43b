#pragma once

#include <QString>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

#include "framework/recoveryjournal.h"

// Writes one document's recovery journal on a thread of its own, so that no
// keystroke waits for the disk. The caller's thread only queues records; the
// writer thread encodes them, appends them to the file and makes them durable
// (fdatasync) at most syncDelay after the first record that is not yet
// durable, so that while the user types the journal is synced about once per
// syncDelay, and after the last keystroke within syncDelay plus the time of
// one write.
//
// Start writes a new journal file (header and snapshot of the whole text),
// replacing the current one by rename, and holds an exclusive flock on it for
// as long as it is the journal; a start that another instance could still
// see half-written is never visible: the file is written under a temporary
// name, synced, renamed, and its folder synced. Files are created with mode
// 0600 in a folder of mode 0700.
//
// A failure (a read-only folder, a full disk) is passed once to onError, on
// the writer thread; later records are dropped until the next Start succeeds,
// since a journal with a gap in its edits would rebuild a wrong text.
class JournalWriter {
public:
    using ErrorHandler = std::function<void(const std::string& message)>;

    JournalWriter(std::string folder, ErrorHandler onError,
                  std::chrono::milliseconds syncDelay = std::chrono::milliseconds(1000));
    // Writes and syncs what is queued, then closes the journal: the file
    // stays for the next start of the program, unless it was discarded.
    ~JournalWriter();
    JournalWriter(const JournalWriter&) = delete;
    JournalWriter& operator=(const JournalWriter&) = delete;

    // A new journal file holding the header and the whole text. The text is
    // shared with the caller, not copied.
    void Start(recoveryjournal::Header header, QString text);
    void Edit(std::uint32_t position, std::uint32_t removed, QString inserted);
    // Deletes the journal file.
    void Discard();
    // A journal this one takes over (its descriptor holds its lock): it is
    // deleted once the next Start is durable.
    void AdoptPredecessor(std::string path, int fd);
    // Waits until everything queued so far is written and durable.
    void Sync();

    // The journal file's path; empty before the first Start.
    std::string Path() const;
    // True from a failure until a Start succeeds again.
    bool Failing() const { return m_failing.load(); }
    // Bytes written to journal files so far.
    std::uint64_t BytesWritten() const { return m_bytesWritten.load(); }

private:
    struct Operation {
        enum Kind { kStart, kEdit, kDiscard, kAdopt } kind = kEdit;
        recoveryjournal::Header header;
        QString text;
        std::uint32_t position = 0;
        std::uint32_t removed = 0;
        std::string path;
        int fd = -1;
    };

    void Queue(Operation operation, bool urgent);
    void Run();
    void Process(std::deque<Operation>& operations);
    bool WriteNewFile(const recoveryjournal::Header& header, const QString& text);
    // The magic, header and snapshot into fd; the bytes written, 0 on failure.
    static std::uint64_t WriteStart(int fd, const recoveryjournal::Header& header,
                                    const QString& text);
    bool Append(const std::string& bytes);
    void RemoveFile();
    void DropPredecessor();
    void Fail(const std::string& message);
    void SyncFolder();

    const std::string m_folder;
    const ErrorHandler m_onError;
    const std::chrono::milliseconds m_syncDelay;

    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_done;
    std::deque<Operation> m_queue;
    std::chrono::steady_clock::time_point m_firstQueued;
    bool m_urgent = false;
    bool m_stop = false;
    std::uint64_t m_queuedCount = 0;
    std::uint64_t m_doneCount = 0;
    std::string m_pathShown;  // m_path, for other threads

    // Writer thread only.
    std::string m_path;
    int m_fd = -1;
    std::uint64_t m_size = 0;
    std::string m_predecessorPath;
    int m_predecessorFd = -1;
    bool m_reported = false;

    std::atomic<bool> m_failing{false};
    std::atomic<std::uint64_t> m_bytesWritten{0};
    std::thread m_thread;
};
