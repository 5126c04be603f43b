#include "framework/filewatch.h"

#include <QCryptographicHash>
#include <QFileInfo>
#include <string>

#include "framework/filebytes.h"
#include "framework/localpath.h"

FileWatch::FileWatch(QObject* parent) : QObject(parent) {
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, this, &FileWatch::OnPathEvent);
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, &FileWatch::OnPathEvent);
}

QByteArray FileWatch::Digest(std::string_view bytes) {
    return QCryptographicHash::hash(
        QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())),
        QCryptographicHash::Sha256);
}

void FileWatch::Remember(const QString& path, std::string_view bytes, const FileStamp& stamp) {
    Restore(Known{QFileInfo(path).absoluteFilePath(), stamp, Digest(bytes)});
}

void FileWatch::Restore(const Known& known) {
    if (known.path != m_known.path) {
        const QStringList watched = m_watcher.files() + m_watcher.directories();
        if (!watched.isEmpty()) {
            m_watcher.removePaths(watched);
        }
    }
    m_known = known;
    m_told.reset();
    WatchPaths();
}

void FileWatch::WatchPaths() {
    if (m_known.path.isEmpty()) {
        return;
    }
    if (!m_watcher.files().contains(m_known.path) && QFileInfo::exists(m_known.path)) {
        m_watcher.addPath(m_known.path);
    }
    const QString folder = QFileInfo(m_known.path).absolutePath();
    if (!m_watcher.directories().contains(folder) && QFileInfo::exists(folder)) {
        m_watcher.addPath(folder);
    }
}

FileWatch::Disk FileWatch::Compare() {
    if (m_known.path.isEmpty()) {
        return Disk::Same;
    }
    const std::string local = LocalPath(m_known.path);
    const FileStamp now = FileStamp::Of(local);
    if (!now.exists || !now.regular) {
        return m_known.stamp.exists ? Disk::Gone : Disk::Same;
    }
    if (now == m_known.stamp) {
        return Disk::Same;
    }
    if (now.size != m_known.stamp.size) {
        return Disk::Changed;
    }
    std::string bytes;
    std::string error;
    if (FileBytes::ReadFile(local, bytes, error) != FileBytes::Status::Ok) {
        return Disk::Changed;
    }
    if (Digest(bytes) != m_known.digest) {
        return Disk::Changed;
    }
    // Touched or written again with the same bytes: the same page.
    m_known.stamp = now;
    return Disk::Same;
}

bool FileWatch::IsUntold() {
    if (Compare() == Disk::Same) {
        return false;
    }
    return !m_told || *m_told != FileStamp::Of(LocalPath(m_known.path));
}

void FileWatch::MarkTold() {
    m_told = FileStamp::Of(LocalPath(m_known.path));
}

void FileWatch::OnPathEvent() {
    // A file replaced by a rename is no longer watched: watch the new one.
    WatchPaths();
    if (IsUntold()) {
        emit ChangedOnDisk();
    }
}
