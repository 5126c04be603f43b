#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <string>

// Paths as the file system spells them: the bytes that system calls take and
// that the profile stores, and back.
inline std::string LocalPath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

inline QString PathFromLocal(const std::string& bytes) {
    return QFile::decodeName(QByteArray::fromStdString(bytes));
}
