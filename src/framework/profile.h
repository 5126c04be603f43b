#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// One INI file, the application's profile. Values are code page 1255 bytes
// kept exactly as they stand after the "=" (no quoting, no escaping, no
// trimming), so whatever WriteString stores GetString gives back. Section and
// key names are matched without regard to ASCII case, as Windows private
// profiles are; the file's own spelling, order, comments and unparsable lines
// are kept and written back. Lines may end in LF or CR LF; saving writes CR LF.
//
// Where a section or key occurs twice, the first occurrence is the one read
// and written; later ones are kept as they are.
class IniProfile {
public:
    // Reads the file at path and remembers path for Save. A missing file
    // reads as an empty profile. On failure (the file exists but cannot be
    // read) returns false and keeps the previous contents; see LastError.
    bool Load(const std::string& path);

    // Writes the profile to the remembered path atomically, creating missing
    // folders. Returns false on failure; see LastError.
    bool Save();

    // Replaces the contents with the given file bytes / gives the file bytes.
    void Parse(std::string_view bytes);
    std::string ToBytes() const;

    const std::string& Path() const { return m_path; }
    void SetPath(std::string path) { m_path = std::move(path); }
    const std::string& LastError() const { return m_lastError; }

    bool HasValue(std::string_view section, std::string_view key) const;
    std::string GetString(std::string_view section, std::string_view key,
                          std::string_view defaultValue) const;
    // A value that is not a whole signed decimal number in the range of a
    // 32-bit int (blanks around it allowed) reads as defaultValue.
    int GetInt(std::string_view section, std::string_view key, int defaultValue) const;

    // Store a value, adding the section and key when they are new. Return
    // false, changing nothing, for a name or value the file cannot hold: a
    // section name with "]" or a line end; an empty key, a key with "=", a
    // line end or surrounding blanks, or one starting with "[" or ";"; a
    // value with a line end.
    bool WriteString(std::string_view section, std::string_view key, std::string_view value);
    bool WriteInt(std::string_view section, std::string_view key, int value);

    // The profile used when no other is named: $MIRVAL_PROFILE when set and
    // not empty, else $XDG_CONFIG_HOME/mirval/mirval.ini, else
    // ~/.config/mirval/mirval.ini.
    static std::string DefaultPath();

private:
    // ASCII case-insensitive hashing and comparison, usable with string_view.
    struct NameHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view name) const;
    };
    struct NameEqual {
        using is_transparent = void;
        bool operator()(std::string_view a, std::string_view b) const;
    };
    using NameIndex = std::unordered_map<std::string, std::size_t, NameHash, NameEqual>;

    // One line of a section: a value ("prefix" is everything up to and
    // including the "=") or any other line (prefix is the whole line).
    struct Line {
        std::string prefix;
        std::string value;
        bool isValue = false;
    };

    struct Section {
        std::string header;  // the "[name]" line as written; empty for the lines before any section
        std::vector<Line> lines;
        NameIndex keys;  // key -> index in lines
    };

    const Line* Find(std::string_view section, std::string_view key) const;
    Section& SectionFor(std::string_view name);

    std::vector<Section> m_sections;  // m_sections[0] holds the lines before the first section
    NameIndex m_sectionIndex;
    bool m_byteOrderMark = false;
    std::string m_path;
    std::string m_lastError;
};
