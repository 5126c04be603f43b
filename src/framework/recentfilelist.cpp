#include "framework/recentfilelist.h"

#include <QFile>
#include <QFileInfo>
#include <string>

#include "framework/localpath.h"
#include "framework/profile.h"

namespace {
constexpr std::string_view kSection = "Recent File List";

std::string Key(int index) {
    return "File" + std::to_string(index + 1);
}
}  // namespace

bool RecentFileList::IsKept(const QString& path) {
    return !path.isEmpty() && !path.contains(QStringLiteral("_mirval.htm"));
}

void RecentFileList::Load(const IniProfile& profile) {
    m_paths.clear();
    for (int i = 0; i < kSize; ++i) {
        // Paths are kept as the file system's bytes.
        const QString path = PathFromLocal(profile.GetString(kSection, Key(i), ""));
        if (IsKept(path) && !m_paths.contains(path)) {
            m_paths.append(path);
        }
    }
}

void RecentFileList::Save(IniProfile& profile) const {
    for (int i = 0; i < kSize; ++i) {
        profile.WriteString(kSection, Key(i), i < m_paths.size() ? LocalPath(m_paths[i]) : "");
    }
}

bool RecentFileList::Add(const QString& path) {
    if (!IsKept(path)) {
        return false;
    }
    const QString absolute = QFileInfo(path).absoluteFilePath();
    m_paths.removeAll(absolute);
    m_paths.prepend(absolute);
    while (m_paths.size() > kSize) {
        m_paths.removeLast();
    }
    return true;
}

void RecentFileList::Remove(int index) {
    if (index >= 0 && index < m_paths.size()) {
        m_paths.removeAt(index);
    }
}
