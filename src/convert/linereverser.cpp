#include "convert/linereverser.h"

#include <algorithm>

namespace {

bool StartsWith(std::string_view text, size_t pos, std::string_view prefix) {
    return text.compare(pos, prefix.size(), prefix) == 0;
}

// The run that starts at `start` (a byte of the run set), adjusted for display:
// a trailing space goes to the front, final punctuation is left to be placed on
// its own, and a leading minus sign goes to the run's right end.
void TakeRun(std::string_view line, size_t start, const ReverseRules& rules, std::string& run) {
    size_t end = start;
    while (end < line.size() && (rules.runSet.Contains(line[end]) ||
                                 rules.punctuation.Contains(line[end]) || line[end] == ' ')) {
        ++end;
    }
    run.assign(line.substr(start, end - start));
    if (run.back() == ' ') {
        run.pop_back();
        run.insert(run.begin(), ' ');
    }
    if (rules.punctuation.Contains(run.back())) {
        run.pop_back();
        const size_t lead = run.find_first_not_of(charsets::kWhiteSpace);
        run.erase(0, lead);
    }
    if (run.front() == '-') {
        run.erase(0, 1);
        run.push_back('-');
    }
    if (run.size() >= 2 && run[0] == ' ' && run[1] == '-') {
        run.erase(1, 1);  // " -x" becomes " x-"
        run.push_back('-');
    }
}

}  // namespace

void AppendReversed(std::string_view line, const ReverseRules& rules, std::string& out) {
    // Putting each block in front of the line is the same as appending every
    // block mirrored and mirroring the whole line once at the end.
    const size_t base = out.size();
    std::string pending;  // the run waiting to be placed, in its own order
    std::string run;
    auto flushPending = [&] {
        out.append(pending.rbegin(), pending.rend());
        pending.clear();
    };

    size_t i = 0;
    while (i < line.size()) {
        const unsigned char c = static_cast<unsigned char>(line[i]);
        if (rules.runSet.Contains(c)) {
            // The adjusted run always holds the byte it started with, so the
            // scan moves on. Bytes dropped from its end are scanned again.
            TakeRun(line, i, rules, run);
            flushPending();
            pending.swap(run);
            i += pending.size();
            continue;
        }
        flushPending();
        if (c >= 0x80 && c <= 0xDF) {
            if (c == 0x85) {
                out.append("...");
            }
            ++i;
        } else if (rules.entities && (StartsWith(line, i, "&quot;") || StartsWith(line, i, "&QUOT;"))) {
            out.push_back('"');
            i += 6;
        } else if (rules.tabToSpace && c == '\t') {
            out.push_back(' ');
            ++i;
        } else if (rules.entities && (StartsWith(line, i, "&nbsp;") || StartsWith(line, i, "&NBSP;"))) {
            i += 6;
        } else {
            out.push_back(static_cast<char>(c));
            ++i;
        }
    }
    flushPending();

    std::reverse(out.begin() + static_cast<std::ptrdiff_t>(base), out.end());
    for (size_t k = base; k < out.size(); ++k) {
        if (out[k] == '(') {
            out[k] = ')';
        } else if (out[k] == ')') {
            out[k] = '(';
        }
    }
}
