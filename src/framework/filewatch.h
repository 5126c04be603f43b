#pragma once

#include <QByteArray>
#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <optional>
#include <string_view>

#include "framework/filestamp.h"

// Watches the file a document was read from or last written to, and tells
// whether the file on disk is still the one the document knows. A change of
// the modification time alone is no change: when the size is the same, the
// bytes decide (through a digest kept of what was read or written).
//
// Programs that save by writing a new file and renaming it over the old one
// (this one among them) make the system drop the watched path; it is watched
// again at once, and the folder is watched too so that a file that comes
// back later is noticed.
class FileWatch : public QObject {
    Q_OBJECT

public:
    enum class Disk { Same, Changed, Gone };

    // The file as the document knows it.
    struct Known {
        QString path;  // absolute; empty: nothing watched
        FileStamp stamp;
        QByteArray digest;
    };

    explicit FileWatch(QObject* parent = nullptr);

    // The document has just read (stamp taken before the read) or written
    // (stamp taken after the write) bytes at path: watch it from now on.
    void Remember(const QString& path, std::string_view bytes, const FileStamp& stamp);
    const Known& Remembered() const { return m_known; }
    // Goes back to an earlier Remembered().
    void Restore(const Known& known);
    bool IsWatching() const { return !m_known.path.isEmpty(); }

    // The file on disk against the one remembered. A file with the same size
    // and bytes is the same, whatever its time or inode (its new stamp is
    // remembered then).
    Disk Compare();
    // True when the file on disk differs from what the document knows and
    // the user has not been told of this state of it yet.
    bool IsUntold();
    // The user has been told of the file's present state.
    void MarkTold();

    static QByteArray Digest(std::string_view bytes);

signals:
    // The watched file changed, went away or came back, and differs from
    // what the document knows.
    void ChangedOnDisk();

private:
    void OnPathEvent();
    void WatchPaths();

    QFileSystemWatcher m_watcher;
    Known m_known;
    std::optional<FileStamp> m_told;
};
