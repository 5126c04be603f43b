#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

#include "framework/recoveryjournal.h"

class CHebDoc;
class JournalWriter;

// Keeps the recovery journal of an editor document while it has unsaved
// edits. When the document becomes modified, a journal begins with the whole
// text, copied a moment later (kSnapshotDelay) so that the keystroke that
// modified the document is shown first; every change of the text (typing, a command, undo, a
// whole-text write) then goes in as one edit record, taken from the text's change signal, and the
// journal's writer thread makes it durable within about a second. When the edits since the last
// snapshot outgrow the text, a new snapshot replaces the journal, so that it stays within about
// twice the text. When the document is saved (or goes back to its saved state) or the user closes
// it without saving, the journal is deleted; when the program ends any other way, it stays for the
// next start.
class RecoveryRecorder : public QObject {
    Q_OBJECT

public:
    RecoveryRecorder(CHebDoc* document, const QString& folder,
                     std::chrono::milliseconds syncDelay = std::chrono::milliseconds(1000));
    ~RecoveryRecorder() override;

    // A journal this document continues (recovered from it): deleted once
    // this document's own journal is durable. fd holds its lock.
    void Adopt(const std::string& path, int fd);
    // The user closes the document without saving: its journal goes.
    void DiscardJournal();
    // Waits until the journal holds every change so far, durably.
    void Sync();
    QString JournalPath() const;
    std::uint64_t BytesWritten() const;

    // The header of the document's journal as it is now.
    static recoveryjournal::Header HeaderOf(const CHebDoc& document);

private:
    void OnContentsChange(int from, int removed, int added);
    void OnModifiedChanged(bool modified);
    void StartJournal();

    // The copy of a large text takes tens of milliseconds: it waits until
    // the edit that asked for it is on the screen.
    static constexpr int kSnapshotDelayMs = 200;
    QTimer m_startTimer;

    CHebDoc* m_pDocument;
    std::unique_ptr<JournalWriter> m_writer;
    bool m_bActive = false;
    // The text's length in the journal, and the record bytes since its
    // last snapshot.
    int m_nLength = 0;
    std::uint64_t m_nLogBytes = 0;
    std::chrono::steady_clock::time_point m_lastStart;
};
