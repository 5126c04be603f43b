// The editor's text path on a 10 MB page: opening (bytes decoded into the
// view's document) and reading the whole text back as bytes, next to the same
// work done by a bare QPlainTextEdit on Latin-1 text in the same run. The
// editor should take at most 1.5 times as long as the bare widget. Also the
// byte-offset operations on the large text, which must not depend on its size.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <QApplication>
#include <QPlainTextDocumentLayout>
#include <QPlainTextEdit>
#include <QTextDocument>
#include <string>

#include "qtbenchmain.h"
#include "text/textdocumentbytes.h"
#include "textgen.h"
#include "view/hebview.h"

namespace {

constexpr size_t kPageBytes = size_t{10} << 20;

const std::string& Page() {
    static const std::string page = textgen::Generate(textgen::Variant::Logical, kPageBytes);
    return page;
}

void SetBytes(benchmark::State& state) {
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(Page().size()));
}

void BM_Editor_OpenAndRead(benchmark::State& state) {
    const std::string& page = Page();
    EditorView editor;
    for (auto _ : state) {
        editor.view.SetWindowText(page);
        std::string back = editor.view.GetWindowText();
        benchmark::DoNotOptimize(back.data());
        if (back.size() != page.size()) {
            state.SkipWithError("the text did not come back");
        }
    }
    SetBytes(state);
}

void BM_Bare_OpenAndRead(benchmark::State& state) {
    const std::string& page = Page();
    QPlainTextEdit bare;
    bare.resize(800, 600);
    for (auto _ : state) {
        bare.setPlainText(QString::fromLatin1(page.data(), static_cast<qsizetype>(page.size())));
        QString back = bare.toPlainText();
        benchmark::DoNotOptimize(back.data());
    }
    SetBytes(state);
}

// The two halves apart.
void BM_Editor_Open(benchmark::State& state) {
    const std::string& page = Page();
    EditorView editor;
    for (auto _ : state) {
        editor.view.SetWindowText(page);
    }
    SetBytes(state);
}

void BM_Bare_Open(benchmark::State& state) {
    const std::string& page = Page();
    QPlainTextEdit bare;
    bare.resize(800, 600);
    for (auto _ : state) {
        bare.setPlainText(QString::fromLatin1(page.data(), static_cast<qsizetype>(page.size())));
    }
    SetBytes(state);
}

void BM_Editor_Read(benchmark::State& state) {
    EditorView editor;
    editor.view.SetWindowText(Page());
    for (auto _ : state) {
        std::string back = editor.view.GetWindowText();
        benchmark::DoNotOptimize(back.data());
    }
    SetBytes(state);
}

void BM_Bare_Read(benchmark::State& state) {
    const std::string& page = Page();
    QPlainTextEdit bare;
    bare.setPlainText(QString::fromLatin1(page.data(), static_cast<qsizetype>(page.size())));
    for (auto _ : state) {
        QString back = bare.toPlainText();
        benchmark::DoNotOptimize(back.data());
    }
    SetBytes(state);
}

// The text font over the whole page, as the first display applies it.
void BM_Editor_WholeTextFont(benchmark::State& state) {
    EditorView editor;
    editor.view.SetWindowText(Page());
    FontSettings font;
    for (auto _ : state) {
        font.Effects ^= 1;
        editor.view.HideSelection(true);
        editor.view.SetSel(0, -1);
        editor.view.SetSelectionCharFormat(font);
        editor.view.SetSel(0, 0);
        editor.view.HideSelection(false);
        editor.text.clearUndoRedoStacks();
    }
    SetBytes(state);
}

// One selection set and read back, and the line of an offset, at offsets
// spread over the page: the cost must not grow with the page.
void BM_Editor_OffsetRoundTrip(benchmark::State& state) {
    EditorView editor;
    editor.view.SetWindowText(Page());
    const long length = static_cast<long>(Page().size());
    editor.view.HideSelection(true);
    long step = 0;
    for (auto _ : state) {
        const long offset = (step++ * 7919L * 131L) % length;
        editor.view.SetSel(offset, offset + 10);
        long start = 0;
        long end = 0;
        editor.view.GetSel(start, end);
        benchmark::DoNotOptimize(editor.view.LineFromChar(start) + editor.view.LineIndex(7));
    }
    editor.view.HideSelection(false);
}

void BM_Editor_OffsetMapping(benchmark::State& state) {
    EditorView editor;
    editor.view.SetWindowText(Page());
    const QTextDocument& text = editor.text;
    const long length = static_cast<long>(Page().size());
    long step = 0;
    for (auto _ : state) {
        const long offset = (step++ * 7919L * 131L) % length;
        const int position = TextDocumentBytes::PositionFromOffset(text, offset, LineBreak::CrLf);
        benchmark::DoNotOptimize(
            TextDocumentBytes::OffsetFromPosition(text, position, LineBreak::CrLf));
    }
}

BENCHMARK(BM_Editor_OpenAndRead)->Unit(benchmark::kMillisecond)->MinTime(3.0);
BENCHMARK(BM_Bare_OpenAndRead)->Unit(benchmark::kMillisecond)->MinTime(3.0);
BENCHMARK(BM_Editor_Open)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Bare_Open)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Editor_Read)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Bare_Read)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Editor_WholeTextFont)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Editor_OffsetRoundTrip)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Editor_OffsetMapping)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    return RunQtBenchmarks(argc, argv);
}
