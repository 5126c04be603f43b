// Typing into a 10 MB page with the crash-recovery journal on and off: the
// time of each keystroke (a key event sent to the editor view, through the
// document's change handling and, when on, the journal's record), as the
// median and the 99th percentile over a few hundred keystrokes, and the
// journal bytes written per keystroke. The first keystroke, which begins the
// journal, is reported apart, and so is the longest pass of the event loop
// between keys (max_between_us; with the journal on it holds the copy of the
// whole text that begins the journal, taken a moment after the first edit).
// Keys come back to back (pace_ms 0: every keystroke of the run overlaps the
// writing of the journal's 20 MB snapshot, a worst case) or 10 ms apart
// (100 keys a second, faster than anyone types). Goals: the
// 99th percentile with the journal within 1.2 times the one without, and
// well under 1 KB of journal per single-character edit.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QTextDocument>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "document/hebdoc.h"
#include "document/recoveryrecorder.h"
#include "framework/recoveryjournal.h"
#include "qtbenchmain.h"
#include "textgen.h"
#include "view/hebview.h"

namespace {

constexpr size_t kPageBytes = size_t{10} << 20;
constexpr int kKeystrokes = 400;

const std::string& PageFile(const QTemporaryDir& folder) {
    static std::string path;
    if (path.empty()) {
        path = folder.filePath(QStringLiteral("page.htm")).toStdString();
        const std::string page = textgen::Generate(textgen::Variant::Logical, kPageBytes);
        FILE* file = std::fopen(path.c_str(), "wb");
        std::fwrite(page.data(), 1, page.size(), file);
        std::fclose(file);
    }
    return path;
}

double Percentile(std::vector<double> values, double fraction) {
    std::sort(values.begin(), values.end());
    const auto at = static_cast<size_t>(fraction * static_cast<double>(values.size() - 1) + 0.5);
    return values[at];
}

void Key(CHebView& view, int key, const QString& text) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(&view, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(&view, &release);
}

void BM_TypingInto10MBPage(benchmark::State& state) {
    const bool journal = state.range(0) != 0;
    const auto pace = std::chrono::milliseconds(state.range(1));
    static QTemporaryDir folder;
    const std::string& page = PageFile(folder);
    for (auto _ : state) {
        QTemporaryDir journals;
        auto* doc = new CHebDoc;
        if (journal) {
            doc->EnableRecovery(journals.path());
        }
        if (!doc->OnOpenDocument(QString::fromStdString(page))) {
            state.SkipWithError("the page did not open");
            delete doc;
            return;
        }
        doc->SetPathName(QString::fromStdString(page), false);
        auto* view = new CHebView(doc);
        view->resize(800, 600);
        view->OnInitialUpdate();
        // Typing in the middle of the page, as in a long page being edited.
        QTextCursor cursor = view->textCursor();
        cursor.setPosition(doc->TextDocument()->characterCount() / 2);
        view->setTextCursor(cursor);

        std::vector<double> times;
        double first = 0;
        double maxBetween = 0;
        std::uint64_t snapshotBytes = 0;
        for (int i = 0; i <= kKeystrokes; ++i) {
            const char letter = static_cast<char>('a' + i % 26);
            const auto start = std::chrono::steady_clock::now();
            if (i % 37 == 36) {
                Key(*view, Qt::Key_Backspace, QString());
            } else {
                Key(*view, Qt::Key_A + i % 26, QString(QChar(letter)));
            }
            const double micros =
                std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start)
                    .count();
            if (i == 0) {
                first = micros;
                if (journal) {
                    const QTextDocument& text = *doc->TextDocument();
                    snapshotBytes =
                        recoveryjournal::FileStart(RecoveryRecorder::HeaderOf(*doc), {}).size() +
                        2 * static_cast<std::uint64_t>(text.characterCount() - 1);
                }
            } else {
                times.push_back(micros);
            }
            // What the event loop does between keys: the journal's snapshot
            // of the whole text is taken here, once, a moment after the
            // first edit.
            auto idle = std::chrono::steady_clock::now();
            if (i == 0 && journal) {
                // Until the snapshot is due.
                std::this_thread::sleep_for(std::chrono::milliseconds(250));
                idle = std::chrono::steady_clock::now();
            }
            QCoreApplication::processEvents();
            if (pace.count() > 0) {
                std::this_thread::sleep_for(pace);
                QCoreApplication::processEvents();
            }
            maxBetween = std::max(maxBetween, std::chrono::duration<double, std::micro>(
                                                  std::chrono::steady_clock::now() - idle)
                                                  .count());
        }
        if (std::getenv("MIRVAL_BENCH_SLOWEST") != nullptr) {
            std::vector<std::pair<double, int>> slowest;
            for (size_t k = 0; k < times.size(); ++k) {
                slowest.emplace_back(times[k], static_cast<int>(k) + 1);
            }
            std::sort(slowest.rbegin(), slowest.rend());
            for (size_t k = 0; k < 8 && k < slowest.size(); ++k) {
                std::fprintf(stderr, "keystroke %d: %.0f us\n", slowest[k].second,
                             slowest[k].first);
            }
        }
        state.counters["median_us"] = Percentile(times, 0.5);
        state.counters["p99_us"] = Percentile(times, 0.99);
        state.counters["max_us"] = Percentile(times, 1.0);
        state.counters["first_us"] = first;
        state.counters["max_between_us"] = maxBetween;
        if (journal) {
            doc->GetRecovery()->Sync();
            const std::uint64_t written = doc->GetRecovery()->BytesWritten();
            state.counters["snapshot_bytes"] = static_cast<double>(snapshotBytes);
            state.counters["bytes_per_edit"] =
                static_cast<double>(written - snapshotBytes) / kKeystrokes;
        }
        if (!doc->IsModified()) {
            state.SkipWithError("the keystrokes did not reach the page");
        }
        delete view;
        delete doc;
    }
}

}  // namespace

BENCHMARK(BM_TypingInto10MBPage)
    ->ArgNames({"journal", "pace_ms"})
    ->Args({0, 0})
    ->Args({1, 0})
    ->Args({0, 10})
    ->Args({1, 10})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    return RunQtBenchmarks(argc, argv);
}
