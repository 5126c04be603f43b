#include "document/recoveryrecorder.h"

#include <QDateTime>
#include <QMetaObject>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>

#include "document/hebdoc.h"
#include "framework/journalwriter.h"
#include "framework/localpath.h"
#include "framework/uiservices.h"

namespace {

// Edits may grow the journal past its snapshot by this much, or by the
// snapshot's size when that is larger, before a new snapshot replaces it.
constexpr std::uint64_t kMinLogBytes = 64 * 1024;
// A journal that could not be written is tried again after this long, with
// a new snapshot.
constexpr std::chrono::seconds kRetryAfter(10);
// Bytes an edit record takes besides its text.
constexpr std::uint64_t kEditOverhead = 17;

int TextLength(const QTextDocument& text) {
    return text.characterCount() - 1;  // without the final block's end
}

}  // namespace

RecoveryRecorder::RecoveryRecorder(CHebDoc* document, const QString& folder,
                                   std::chrono::milliseconds syncDelay)
    : QObject(document), m_pDocument(document) {
    m_writer = std::make_unique<JournalWriter>(
        LocalPath(folder),
        [this](const std::string& reason) {
            // From the writer's thread to this one, once per failure.
            QMetaObject::invokeMethod(
                this,
                [reason] {
                    Ui().ShowStatusMessage(
                        tr("לא ניתן לכתוב את קובץ השחזור (%1). השינויים יישמרו רק כשתשמור את "
                           "המסמך.")
                            .arg(QString::fromLocal8Bit(reason.c_str())));
                },
                Qt::QueuedConnection);
        },
        syncDelay);
    m_startTimer.setSingleShot(true);
    m_startTimer.setInterval(kSnapshotDelayMs);
    connect(&m_startTimer, &QTimer::timeout, this, &RecoveryRecorder::StartJournal);
    connect(document->TextDocument(), &QTextDocument::contentsChange, this,
            &RecoveryRecorder::OnContentsChange);
    connect(document, &CDocument::ModifiedChanged, this, &RecoveryRecorder::OnModifiedChanged);
    if (document->IsModified()) {
        StartJournal();
    }
}

RecoveryRecorder::~RecoveryRecorder() = default;

recoveryjournal::Header RecoveryRecorder::HeaderOf(const CHebDoc& document) {
    recoveryjournal::Header header;
    header.path = LocalPath(document.GetPathName());
    QString title = document.GetTitle();
    if (!document.GetPathName().isEmpty() && title.endsWith(QStringLiteral(" *"))) {
        title.chop(2);
    }
    header.title = title.toStdString();
    header.lfLineEnds = document.GetLineEnds() == LineEnds::Lf;
    if (document.GetEncoding() == TextEncoding::Utf8) {
        header.encoding = document.HasByteOrderMark() ? "utf-8-sig" : "utf-8";
    }
    header.startedMs = QDateTime::currentMSecsSinceEpoch();
    recoveryjournal::StampFile(header);
    return header;
}

void RecoveryRecorder::Adopt(const std::string& path, int fd) {
    m_writer->AdoptPredecessor(path, fd);
}

void RecoveryRecorder::DiscardJournal() {
    m_startTimer.stop();
    m_writer->Discard();
    m_bActive = false;
}

void RecoveryRecorder::Sync() {
    if (m_startTimer.isActive()) {
        StartJournal();
    }
    m_writer->Sync();
}

QString RecoveryRecorder::JournalPath() const {
    return PathFromLocal(m_writer->Path());
}

std::uint64_t RecoveryRecorder::BytesWritten() const {
    return m_writer->BytesWritten();
}

void RecoveryRecorder::OnModifiedChanged(bool modified) {
    if (modified && !m_bActive) {
        // Edits until then are in the snapshot.
        m_startTimer.start();
    } else if (!modified && (m_bActive || m_startTimer.isActive())) {
        // Saved, or back to the saved text: nothing to recover.
        DiscardJournal();
    }
}

void RecoveryRecorder::StartJournal() {
    m_startTimer.stop();
    const QTextDocument& text = *m_pDocument->TextDocument();
    QString whole = text.toRawText();
    m_nLength = static_cast<int>(whole.size());
    m_nLogBytes = 0;
    m_lastStart = std::chrono::steady_clock::now();
    m_writer->Start(HeaderOf(*m_pDocument), std::move(whole));
    m_bActive = true;
}

void RecoveryRecorder::OnContentsChange(int from, int removed, int added) {
    (void)removed;
    if (!m_bActive) {
        return;
    }
    QTextDocument& text = *m_pDocument->TextDocument();
    // The signal's counts may take in the final block's end; the lengths of
    // the text before and after say exactly what went: the characters from
    // `from` on that the text now holds in place of `replaced` old ones.
    const int length = TextLength(text);
    const int inserted = std::clamp(added, 0, std::max(0, length - from));
    const int replaced = m_nLength - (length - inserted);
    if (from < 0 || from > m_nLength || replaced < 0 || replaced > m_nLength - from) {
        StartJournal();  // a change the counts do not describe: begin anew
        return;
    }
    if (inserted == 0 && replaced == 0) {
        return;
    }
    m_nLength = length;
    if (m_writer->Failing()) {
        if (std::chrono::steady_clock::now() - m_lastStart >= kRetryAfter) {
            StartJournal();
        }
        return;
    }
    QString insertedText;
    if (inserted > length / 2) {
        // A whole-text change: the raw text is copied many times faster
        // than a selection of the same size is read.
        insertedText = text.toRawText();
        if (inserted < length) {
            insertedText = insertedText.mid(from, inserted);
        }
    } else if (inserted > 0) {
        QTextCursor cursor(&text);
        cursor.setPosition(from);
        cursor.setPosition(from + inserted, QTextCursor::KeepAnchor);
        insertedText = cursor.selectedText();
    }
    m_nLogBytes += kEditOverhead + 2 * static_cast<std::uint64_t>(inserted);
    if (m_nLogBytes > std::max(kMinLogBytes, 2 * static_cast<std::uint64_t>(m_nLength))) {
        StartJournal();
        return;
    }
    m_writer->Edit(static_cast<std::uint32_t>(from), static_cast<std::uint32_t>(replaced),
                   std::move(insertedText));
}
