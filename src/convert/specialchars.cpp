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
    ForEachTextFileLine(definitions, [&text](std::string_view definition) {
        std::string line(definition);
        const std::string first = NextDefField(line);
        const std::string second = NextDefField(line);
        const std::string replacement = NextDefField(line);
        if (!replacement.empty()) {
            ReplaceAll(text, first, replacement);
            ReplaceAll(text, second, replacement);
        }
    });
}

}  // namespace specialchars
