// The editor's text path on a 10 MB page: opening (bytes decoded into the
// view's document) and reading the whole text back as bytes, next to the same
// work done by a bare QPlainTextEdit on Latin-1 text in the same run. The
// editor should take at most 1.5 times as long as the bare widget. Also the
// byte-offset operations on the large text, which must not depend on its size.
//
// Long lines: pages whose every byte is on one line (logical words, "<"
// only, Hebrew words) against the same bytes split into 80-byte lines, in a
// shown view: opening (up to the first paint), the caret to the end, typing
// at the end and in the middle, select all, find of a word near the end and
// the colouring pass. The single line should take at most 1.5 times the split
// lines, or 100 ms.
//
// Peak memory of opening a page: with MIRVAL_BENCH_OPEN_FILE set,
// BM_Editor_OpenFile opens that file once (document, view, first display,
// first paint), in the editor's order and with the view made first; run it
// under mirval-bench-maxrss.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <QApplication>
#include <QKeyEvent>
#include <QPlainTextDocumentLayout>
#include <QPlainTextEdit>
#include <QTextDocument>
#include <array>
#include <optional>
#include <string>

#include "document/hebdoc.h"
#include "framework/cmdui.h"
#include "framework/commandids.h"

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

// Long lines.

enum class LongPage { Words, Tags, Hebrew };
constexpr const char* kMark = "mirvalmark";

size_t LongPageBytes() {
    const char* size = getenv("MIRVAL_BENCH_LONG_LINE");
    const std::optional<size_t> parsed = textgen::ParseSize(size != nullptr ? size : "");
    return parsed.value_or(kPageBytes);
}

// The page on one line, with the find word near its end where the split
// version has no line end inside it; or that page with CR LF after every
// 80 bytes.
const std::string& LongLinePage(LongPage kind, bool split) {
    static std::array<std::string, 6> pages;
    std::string& page = pages[static_cast<size_t>(kind) * 2 + (split ? 1 : 0)];
    if (!page.empty()) {
        return page;
    }
    const size_t bytes = LongPageBytes();
    std::string line;
    switch (kind) {
        case LongPage::Words:
            line = textgen::Generate(textgen::Variant::SingleLine, bytes);
            break;
        case LongPage::Tags:
            line.assign(bytes, '<');
            break;
        case LongPage::Hebrew:
            for (unsigned i = 0; line.size() < bytes; ++i) {
                line.push_back(static_cast<char>(0xE0 + (i * 7) % 27));
                if (i % 5 == 4) {
                    line.push_back(' ');
                }
            }
            line.resize(bytes);
            break;
    }
    line.replace((bytes - 200) / 80 * 80 + 10, std::char_traits<char>::length(kMark), kMark);
    if (!split) {
        page = std::move(line);
        return page;
    }
    page.reserve(bytes + bytes / 40 + 2);
    for (size_t at = 0; at < line.size(); at += 80) {
        page.append(line, at, 80).append("\r\n");
    }
    return page;
}

// A shown view holding a long-line page, painted once.
struct ShownEditor : EditorView {
    explicit ShownEditor(const std::string& page) {
        view.show();
        view.SetWindowText(page);
        Paint();
    }
    void Paint() {
        QApplication::processEvents();
        view.viewport()->repaint();
    }
    void Type(QChar c) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(&view, &press);
        Paint();
    }
};

const std::string& PageOf(const benchmark::State& state) {
    return LongLinePage(static_cast<LongPage>(state.range(0)), state.range(1) != 0);
}

void BM_LongLine_Open(benchmark::State& state) {
    const std::string& page = PageOf(state);
    ShownEditor editor(page);
    for (auto _ : state) {
        editor.view.SetWindowText(page);
        editor.Paint();
    }
    SetBytes(state);
}

void BM_LongLine_CursorToEnd(benchmark::State& state) {
    ShownEditor editor(PageOf(state));
    for (auto _ : state) {
        state.PauseTiming();
        editor.view.moveCursor(QTextCursor::Start);
        editor.Paint();
        state.ResumeTiming();
        editor.view.moveCursor(QTextCursor::End);
        editor.Paint();
    }
}

void BM_LongLine_TypeAtEnd(benchmark::State& state) {
    ShownEditor editor(PageOf(state));
    editor.view.moveCursor(QTextCursor::End);
    editor.Paint();
    for (auto _ : state) {
        editor.Type(u'x');
    }
}

void BM_LongLine_TypeInMiddle(benchmark::State& state) {
    const std::string& page = PageOf(state);
    ShownEditor editor(page);
    const long middle = static_cast<long>(page.size() / 2);
    editor.view.SetSel(middle, middle);
    editor.Paint();
    for (auto _ : state) {
        editor.Type(u'x');
    }
}

void BM_LongLine_SelectAll(benchmark::State& state) {
    ShownEditor editor(PageOf(state));
    for (auto _ : state) {
        state.PauseTiming();
        editor.view.SetSel(0, 0);
        editor.Paint();
        state.ResumeTiming();
        editor.view.selectAll();
        editor.Paint();
    }
}

void BM_LongLine_Find(benchmark::State& state) {
    ShownEditor editor(PageOf(state));
    FindReplaceRequest request;
    request.findWhat = QString::fromLatin1(kMark);
    request.findNext = true;
    for (auto _ : state) {
        state.PauseTiming();
        editor.view.SetSel(0, 0);
        editor.Paint();
        state.ResumeTiming();
        editor.view.OnFindReplaceRequest(nullptr, request);
        editor.Paint();
        long start = 0;
        long end = 0;
        editor.view.GetSel(start, end);
        if (end - start != static_cast<long>(std::char_traits<char>::length(kMark))) {
            state.SkipWithError("the word was not found");
        }
    }
}

void BM_LongLine_Colour(benchmark::State& state) {
    ShownEditor editor(PageOf(state));
    for (auto _ : state) {
        editor.view.Colourize(true);
        editor.Paint();
    }
}

void LongLinePages(benchmark::internal::Benchmark* benchmark) {
    benchmark->ArgNames({"page", "split"});
    for (int page = 0; page < 3; ++page) {
        benchmark->Args({page, 0})->Args({page, 1});
    }
    benchmark->Unit(benchmark::kMillisecond);
}

// Opens the file once, for its peak memory. Order 0 is the editor's: the
// document reads the file for a window to be shown, its view is made and
// shown, and the text (of a file of 1 MiB or more) goes into the document
// at the view's first display. Order 3 is how the editor opened every file
// before: the document fills its text, then its view is made on it. Orders 1
// and 2 make the view first, sized and shown on the empty document, and read
// the file into it then; order 2 shows the vertical scroll bar all the time.
// Order 4 is order 0 with the window then made narrower once, as by the user.
//
// Qt's plain-text layout gives every block a layout object (about 300 bytes)
// each time the text width is set, which it is when a view is set on a
// document and whenever the view's width changes. Orders 1 and 3 create them
// all (in order 1 the scroll bar appearing once the text is in narrows the
// view); orders 0 and 2, where the width never changes after the text is in,
// are without them.
void BM_Editor_OpenFile(benchmark::State& state, const char* path) {
    const int64_t order = state.range(0);
    for (auto _ : state) {
        CHebDoc doc;
        std::optional<CHebView> view;
        if (order == 1 || order == 2) {
            view.emplace(&doc);
            if (order == 2) {
                view->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
            }
            view->resize(800, 600);
            view->show();
            QApplication::processEvents();
        }
        doc.SetOpensIntoShownWindow(order == 0 || order == 4);
        if (!doc.OnOpenDocument(QString::fromLocal8Bit(path))) {
            state.SkipWithError("the file did not open");
            break;
        }
        doc.SetOpensIntoShownWindow(false);
        if (order == 0 || order == 3 || order == 4) {
            view.emplace(&doc);
            view->resize(800, 600);
        } else {
            // As after a reload: the caret goes back to the start of the text
            // (it was pushed to the end as the text went in).
            view->setTextCursor(QTextCursor(view->document()));
        }
        view->OnInitialUpdate();
        view->show();
        QApplication::processEvents();
        view->viewport()->repaint();
        // The menus and the status bar ask as soon as the window is idle.
        for (const int id : {CommandId::ShowSyntax, CommandId::RefreshSyntax, CommandId::DosDisplay,
                             CommandId::LineIndicator}) {
            CCmdUI ui(id);
            view->OnUpdateCmdMsg(ui);
        }
        if (order == 4) {
            view->resize(700, 600);
            QApplication::processEvents();
            view->viewport()->repaint();
        }
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
BENCHMARK(BM_LongLine_Open)->Apply(LongLinePages);
BENCHMARK(BM_LongLine_CursorToEnd)->Apply(LongLinePages);
BENCHMARK(BM_LongLine_TypeAtEnd)->Apply(LongLinePages);
BENCHMARK(BM_LongLine_TypeInMiddle)->Apply(LongLinePages);
BENCHMARK(BM_LongLine_SelectAll)->Apply(LongLinePages);
BENCHMARK(BM_LongLine_Find)->Apply(LongLinePages);
BENCHMARK(BM_LongLine_Colour)->Apply(LongLinePages);

}  // namespace

int main(int argc, char** argv) {
    if (const char* path = getenv("MIRVAL_BENCH_OPEN_FILE")) {
        benchmark::RegisterBenchmark("BM_Editor_OpenFile", BM_Editor_OpenFile, path)
            ->ArgName("order")
            ->DenseRange(0, 4)
            ->Iterations(1)
            ->Unit(benchmark::kMillisecond);
    }
    return RunQtBenchmarks(argc, argv);
}
