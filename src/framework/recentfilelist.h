#pragma once

#include <QString>
#include <QStringList>

class IniProfile;

// The recent-file list: the last four paths opened or saved, newest first,
// kept in the profile's "Recent File List" section as File1 to File4. The
// preview's temporary files ("_mirval.htm") never enter it.
class RecentFileList {
public:
    static constexpr int kSize = 4;

    void Load(const IniProfile& profile);
    void Save(IniProfile& profile) const;

    // Puts path first (moving it if it is there already); false when the path
    // is one the list never keeps.
    bool Add(const QString& path);
    void Remove(int index);
    const QStringList& Paths() const { return m_paths; }

    static bool IsKept(const QString& path);

private:
    QStringList m_paths;
};
