#include "convert/specialchars.h"

#include "convert/textsearch.h"

namespace specialchars {

std::string NextDefField(std::string& line) {
    const size_t comma = line.find(',');
    if (comma == std::string::npos) {
        std::string field;
        field.swap(line);
        return field;
    }
    std::string field = line.substr(0, comma);
    line.erase(0, comma + 1);
    return field;
}

void Replace(std::string& text, std::string_view definitions) {
    size_t pos = 0;
    while (pos < definitions.size()) {
        size_t end = definitions.find('\n', pos);
        const size_t next = end == std::string_view::npos ? definitions.size() : end + 1;
        if (end == std::string_view::npos) {
            end = definitions.size();
        }
        // Read as a text file: a CR before the LF belongs to the line end.
        size_t lineEnd = end;
        if (end < definitions.size() && lineEnd > pos && definitions[lineEnd - 1] == '\r') {
            --lineEnd;
        }
        std::string line(definitions.substr(pos, lineEnd - pos));
        pos = next;

        const std::string first = NextDefField(line);
        const std::string second = NextDefField(line);
        const std::string replacement = NextDefField(line);
        if (replacement.empty()) {
            continue;
        }
        ReplaceAll(text, first, replacement);
        ReplaceAll(text, second, replacement);
    }
}

}  // namespace specialchars
