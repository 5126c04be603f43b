// The editor view's whole-text passes on a 1 MB page, each next to one
// whole-text write (SetWindowText) of the same text in the same iteration:
//   - colouring a page holding 20,000 tags (goal: at most 2 times the write);
//   - a Hebrew replace all of 10,000 occurrences, half of them stored
//     reversed (goal: at most 3 times the write).
// The reported time is the pass alone; the counter "x_write" is the pass's
// time divided by the write's, and "write_ms" the write's own time.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <unistd.h>

#include <QApplication>
#include <QPlainTextDocumentLayout>
#include <QTextDocument>
#include <chrono>
#include <cstdint>
#include <string>

#include "framework/uiservices.h"
#include "qtbenchmain.h"
#include "view/hebview.h"

namespace {

constexpr size_t kPageBytes = size_t{1} << 20;
constexpr int kTagLines = 10000;     // two tags on each: 20,000 tags
constexpr int kOccurrences = 10000;  // one on each line of the replace page
constexpr size_t kLineBytes = kPageBytes / kTagLines;

// What the passes ask of the user interface: nothing to show.

// Deterministic filler: Hebrew words (without the letter shin, so that the
// find word below occurs only where it is put) and now and then a Latin one.
class Filler {
public:
    void Append(std::string& out, size_t bytes) {
        const size_t end = out.size() + bytes;
        while (out.size() < end) {
            const size_t letters = 2 + Next() % 6;
            const bool latin = Next() % 5 == 0;
            for (size_t k = 0; k < letters && out.size() < end; ++k) {
                unsigned char letter = latin ? static_cast<unsigned char>('a' + Next() % 26)
                                             : static_cast<unsigned char>(0xE0 + Next() % 27);
                if (letter == 0xF9) {  // shin
                    letter = 0xE0;
                }
                out.push_back(static_cast<char>(letter));
            }
            if (out.size() < end) {
                out.push_back(' ');
            }
        }
    }

private:
    uint64_t Next() {
        m_state = m_state * 6364136223846793005ULL + 1442695040888963407ULL;
        return m_state >> 33;
    }
    uint64_t m_state = 1255;
};

const std::string& TagPage() {
    static const std::string page = [] {
        std::string text;
        text.reserve(kPageBytes);
        Filler filler;
        const std::string open = "<td class=\"x\">";
        const std::string close = "</td>";
        for (int line = 0; line < kTagLines; ++line) {
            const size_t words = kLineBytes - open.size() - close.size() - 2;
            filler.Append(text, words / 3);
            text += open;
            filler.Append(text, words - words / 3);
            text += close + "\r\n";
        }
        return text;
    }();
    return page;
}

const std::string kFind = "\xF9\xEC\xE5\xED";  // shalom
const std::string kReplace = "\xE9\xE5\xED \xE8\xE5\xE1";

const std::string& ReplacePage() {
    static const std::string page = [] {
        std::string text;
        text.reserve(kPageBytes);
        Filler filler;
        const std::string reversed(kFind.rbegin(), kFind.rend());
        for (int line = 0; line < kOccurrences; ++line) {
            const size_t words = kLineBytes - kFind.size() - 2;
            filler.Append(text, words / 2);
            text += line % 2 == 0 ? kFind : reversed;
            filler.Append(text, words - words / 2);
            text += "\r\n";
        }
        return text;
    }();
    return page;
}

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double>(to - from).count();
}

void Report(benchmark::State& state, double writeSeconds, double passSeconds, size_t bytes) {
    const double iterations = static_cast<double>(state.iterations());
    state.counters["write_ms"] = writeSeconds * 1000.0 / iterations;
    state.counters["x_write"] = passSeconds / writeSeconds;
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes));
}

void BM_View_Colourize(benchmark::State& state) {
    const std::string& page = TagPage();
    EditorView editor;
    double writeSeconds = 0;
    double passSeconds = 0;
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        editor.view.SetWindowText(page);  // also takes the last pass's formats away
        const Clock::time_point written = Clock::now();
        editor.view.Colourize(true);
        const Clock::time_point done = Clock::now();
        writeSeconds += Seconds(start, written);
        passSeconds += Seconds(written, done);
        state.SetIterationTime(Seconds(written, done));
    }
    if (editor.text.blockCount() != kTagLines + 1) {
        state.SkipWithError("the page did not come through");
    }
    Report(state, writeSeconds, passSeconds, page.size());
}

void BM_View_ReplaceAllHebrew(benchmark::State& state) {
    const std::string& page = ReplacePage();
    EditorView editor;
    double writeSeconds = 0;
    double passSeconds = 0;
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        editor.view.SetWindowText(page);
        const Clock::time_point written = Clock::now();
        editor.view.ReplaceAllHebrew(kFind, kReplace);
        const Clock::time_point done = Clock::now();
        writeSeconds += Seconds(start, written);
        passSeconds += Seconds(written, done);
        state.SetIterationTime(Seconds(written, done));
    }
    const size_t expected = page.size() + kOccurrences * (kReplace.size() - kFind.size());
    if (editor.view.GetWindowText().size() != expected) {
        state.SkipWithError("not every occurrence was replaced");
    }
    Report(state, writeSeconds, passSeconds, page.size());
}

BENCHMARK(BM_View_Colourize)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_View_ReplaceAllHebrew)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

int main(int argc, char** argv) {
    return RunQtBenchmarks(argc, argv);
}
