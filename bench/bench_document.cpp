// The editor's conversion commands against the engine alone on the same text:
// the whole-document conversion to visual (read the text, convert, write it
// back) and special-character replacement with the shipped definition file.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <QApplication>
#include <QTemporaryDir>
#include <map>
#include <memory>

#include "convert/conversionchain.h"
#include "convert/specialchars.h"
#include "document/hebdoc.h"
#include "framework/filebytes.h"
#include "framework/uiservices.h"
#include "qtbenchmain.h"
#include "textgen.h"
#include "view/hebview.h"

namespace {

// Dialogs never open here: the conversion page is switched off.
ConversionSettings QuietSettings() {
    ConversionSettings settings;
    settings.ConvertDisplay = 0;
    return settings;
}

const std::string& Logical(size_t megabytes) {
    static std::map<size_t, std::string> texts;
    std::string& text = texts[megabytes];
    if (text.empty()) {
        text = textgen::Generate(textgen::Variant::Logical, megabytes << 20);
    }
    return text;
}

// A document with its view, as the editor has them.
struct Editor {
    Editor() : doc(new CHebDoc), view(new CHebView(doc)) {
        view->resize(800, 600);
        doc->SetConversionSettings(QuietSettings());
    }
    ~Editor() {
        delete view;
        delete doc;
    }
    CHebDoc* doc;
    CHebView* view;
};

void BM_Editor_ConvertToVisual(benchmark::State& state) {
    const std::string& text = Logical(static_cast<size_t>(state.range(0)));
    Editor editor;
    for (auto _ : state) {
        state.PauseTiming();
        editor.view->SetWindowText(text);
        state.ResumeTiming();
        editor.doc->OnConvertToVisual();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}

void BM_Engine_ConvertToVisual(benchmark::State& state) {
    const std::string& text = Logical(static_cast<size_t>(state.range(0)));
    for (auto _ : state) {
        std::string copy = text;
        conversion::ToVisual(copy, QuietSettings(), conversion::VisualScope::WholeText);
        benchmark::DoNotOptimize(copy.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}

void BM_Editor_WholeTextWrite(benchmark::State& state) {
    std::string visual = Logical(static_cast<size_t>(state.range(0)));
    conversion::ToVisual(visual, QuietSettings(), conversion::VisualScope::WholeText);
    Editor editor;
    for (auto _ : state) {
        editor.view->SetWindowText(visual);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * visual.size()));
}

void BM_Editor_WholeTextRead(benchmark::State& state) {
    const std::string& text = Logical(static_cast<size_t>(state.range(0)));
    Editor editor;
    editor.view->SetWindowText(text);
    for (auto _ : state) {
        benchmark::DoNotOptimize(editor.view->GetWindowText());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}

// The shipped definition file on texts full of entities: the time per byte
// stays the same as the text grows.
void BM_SpecialChars(benchmark::State& state) {
    std::string definitions;
    std::string error;
    FileBytes::ReadFile(MIRVAL_SOURCE_DIR "/data/mirval.def", definitions, error);
    std::string text = Logical(static_cast<size_t>(state.range(0)));
    for (auto _ : state) {
        std::string copy = text;
        specialchars::Replace(copy, definitions);
        benchmark::DoNotOptimize(copy.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}

BENCHMARK(BM_Editor_ConvertToVisual)->Arg(1)->Arg(5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Engine_ConvertToVisual)->Arg(1)->Arg(5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Editor_WholeTextWrite)->Arg(1)->Arg(5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Editor_WholeTextRead)->Arg(1)->Arg(5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SpecialChars)->Arg(1)->Arg(2)->Arg(4)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    return RunQtBenchmarks(argc, argv);
}
