#pragma once

// Format changes reach the text's change signal like edits do. While the
// program changes a format, no view counts the signal as an edit; the count
// is shared because all views of a document listen to the same text.
namespace viewformat {

inline int g_nFormatChanges = 0;

class FormatChangeScope {
public:
    FormatChangeScope() { ++g_nFormatChanges; }
    ~FormatChangeScope() { --g_nFormatChanges; }
    FormatChangeScope(const FormatChangeScope&) = delete;
    FormatChangeScope& operator=(const FormatChangeScope&) = delete;

    static bool IsActive() { return g_nFormatChanges > 0; }
};

}  // namespace viewformat
