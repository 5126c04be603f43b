#include "framework/profile.h"

#include <pwd.h>
#include <unistd.h>

#include <charconv>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include "framework/atomicfile.h"
#include "framework/filebytes.h"

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kLineEnd = "\r\n";

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

char FoldCase(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool HasLineEnd(std::string_view text) {
    return text.find_first_of("\r\n") != std::string_view::npos;
}

bool IsValidSection(std::string_view name) {
    return name.find(']') == std::string_view::npos && !HasLineEnd(name) && Trim(name) == name;
}

bool IsValidKey(std::string_view key) {
    return !key.empty() && key.find('=') == std::string_view::npos && !HasLineEnd(key) &&
           Trim(key) == key && key.front() != '[' && key.front() != ';';
}

}  // namespace

std::size_t IniProfile::NameHash::operator()(std::string_view name) const {
    // FNV-1a over the case-folded bytes.
    std::size_t hash = 14695981039346656037ull;
    for (char c : name) {
        hash ^= static_cast<unsigned char>(FoldCase(c));
        hash *= 1099511628211ull;
    }
    return hash;
}

bool IniProfile::NameEqual::operator()(std::string_view a, std::string_view b) const {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (FoldCase(a[i]) != FoldCase(b[i])) {
            return false;
        }
    }
    return true;
}

bool IniProfile::Load(const std::string& path) {
    std::string bytes;
    std::string error;
    // Only a regular file is read: a FIFO or device in its place would hang
    // or feed the program endlessly. Such a profile is unreadable, so the
    // defaults hold and it is never written.
    switch (FileBytes::ReadFile(path, bytes, error)) {
        case FileBytes::Status::NotRegular:
        case FileBytes::Status::Failed:
            m_lastError = error;
            return false;
        case FileBytes::Status::Missing:
        case FileBytes::Status::Ok:
            break;
    }
    Parse(bytes);
    m_path = path;
    m_lastError.clear();
    return true;
}

bool IniProfile::Save() {
    if (m_path.empty()) {
        m_lastError = "cannot write the profile: no file name";
        return false;
    }
    // A first save into ~/.config/mirval must create the folder; a failure
    // here shows up as the write's failure.
    const std::filesystem::path folder = std::filesystem::path(m_path).parent_path();
    if (!folder.empty()) {
        std::error_code ignored;
        std::filesystem::create_directories(folder, ignored);
    }
    if (!AtomicFile::Write(m_path, ToBytes(), m_lastError)) {
        return false;
    }
    m_lastError.clear();
    return true;
}

void IniProfile::Parse(std::string_view bytes) {
    m_sections.clear();
    m_sectionIndex.clear();
    m_byteOrderMark = bytes.starts_with(kByteOrderMark);
    if (m_byteOrderMark) {
        bytes.remove_prefix(kByteOrderMark.size());
    }
    m_sections.emplace_back();
    while (!bytes.empty()) {
        const std::size_t end = bytes.find('\n');
        std::string_view line = bytes.substr(0, end);
        bytes.remove_prefix(end == std::string_view::npos ? bytes.size() : end + 1);
        if (line.ends_with('\r')) {
            line.remove_suffix(1);
        }
        const std::string_view trimmed = Trim(line);
        if (trimmed.starts_with('[')) {
            const std::size_t close = trimmed.find(']');
            if (close != std::string_view::npos) {
                m_sections.push_back(Section{std::string(line), {}, {}});
                m_sectionIndex.try_emplace(std::string(Trim(trimmed.substr(1, close - 1))),
                                           m_sections.size() - 1);
                continue;
            }
        }
        Section& current = m_sections.back();
        const std::size_t equals = line.find('=');
        const std::string_view key =
            equals == std::string_view::npos ? std::string_view{} : Trim(line.substr(0, equals));
        if (key.empty() || trimmed.starts_with(';') || trimmed.starts_with('[')) {
            current.lines.push_back(Line{std::string(line), {}, false});
            continue;
        }
        current.lines.push_back(Line{std::string(line.substr(0, equals + 1)),
                                     std::string(line.substr(equals + 1)), true});
        current.keys.try_emplace(std::string(key), current.lines.size() - 1);
    }
}

std::string IniProfile::ToBytes() const {
    std::string bytes;
    if (m_byteOrderMark) {
        bytes += kByteOrderMark;
    }
    for (const Section& section : m_sections) {
        if (!section.header.empty()) {
            bytes += section.header;
            bytes += kLineEnd;
        }
        for (const Line& line : section.lines) {
            bytes += line.prefix;
            bytes += line.value;
            bytes += kLineEnd;
        }
    }
    return bytes;
}

const IniProfile::Line* IniProfile::Find(std::string_view section, std::string_view key) const {
    const auto s = m_sectionIndex.find(section);
    if (s == m_sectionIndex.end()) {
        return nullptr;
    }
    const Section& found = m_sections[s->second];
    const auto k = found.keys.find(key);
    return k == found.keys.end() ? nullptr : &found.lines[k->second];
}

bool IniProfile::HasValue(std::string_view section, std::string_view key) const {
    return Find(section, key) != nullptr;
}

std::string IniProfile::GetString(std::string_view section, std::string_view key,
                                  std::string_view defaultValue) const {
    const Line* line = Find(section, key);
    return std::string(line != nullptr ? std::string_view(line->value) : defaultValue);
}

int IniProfile::GetInt(std::string_view section, std::string_view key, int defaultValue) const {
    const Line* line = Find(section, key);
    if (line == nullptr) {
        return defaultValue;
    }
    std::string_view text = Trim(line->value);
    if (text.starts_with('+')) {
        text.remove_prefix(1);
        if (text.starts_with('-')) {
            return defaultValue;
        }
    }
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size()) {
        return defaultValue;
    }
    return value;
}

IniProfile::Section& IniProfile::SectionFor(std::string_view name) {
    if (m_sections.empty()) {
        m_sections.emplace_back();
    }
    const auto found = m_sectionIndex.find(name);
    if (found != m_sectionIndex.end()) {
        return m_sections[found->second];
    }
    m_sections.push_back(Section{"[" + std::string(name) + "]", {}, {}});
    m_sectionIndex.emplace(std::string(name), m_sections.size() - 1);
    return m_sections.back();
}

bool IniProfile::WriteString(std::string_view section, std::string_view key,
                             std::string_view value) {
    if (!IsValidSection(section) || !IsValidKey(key) || HasLineEnd(value)) {
        return false;
    }
    Section& target = SectionFor(section);
    const auto found = target.keys.find(key);
    if (found != target.keys.end()) {
        target.lines[found->second].value = value;
        return true;
    }
    // A new value goes after the section's last non-blank line, so that blank
    // lines separating it from the next section stay at its end. Only blank
    // lines move, so no index in target.keys changes.
    std::size_t position = target.lines.size();
    while (position > 0 && Trim(target.lines[position - 1].prefix).empty() &&
           !target.lines[position - 1].isValue) {
        --position;
    }
    target.lines.insert(target.lines.begin() + static_cast<std::ptrdiff_t>(position),
                        Line{std::string(key) + "=", std::string(value), true});
    target.keys.emplace(std::string(key), position);
    return true;
}

bool IniProfile::WriteInt(std::string_view section, std::string_view key, int value) {
    return WriteString(section, key, std::to_string(value));
}

std::string IniProfile::DefaultPath() {
    const auto variable = [](const char* name) -> std::string {
        const char* value = std::getenv(name);
        return value != nullptr ? value : "";
    };
    const std::string named = variable("MIRVAL_PROFILE");
    if (!named.empty()) {
        return named;
    }
    // Only an absolute XDG_CONFIG_HOME counts; a relative one is to be ignored.
    const std::string config = variable("XDG_CONFIG_HOME");
    if (config.starts_with('/')) {
        return config + "/mirval/mirval.ini";
    }
    std::string home = variable("HOME");
    if (home.empty()) {
        if (const passwd* user = ::getpwuid(::getuid());
            user != nullptr && user->pw_dir != nullptr) {
            home = user->pw_dir;
        }
    }
    return home + "/.config/mirval/mirval.ini";
}
