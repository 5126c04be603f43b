// Throughput of every engine operation on 1 MB and 10 MB texts, on one 10 MB
// line and on 10 MB of tags. Each operation must stay linear: the 10 MB run
// should take about ten times the 1 MB run.
#include <benchmark/benchmark.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "convert/conversionchain.h"
#include "convert/conversionsettings.h"
#include "convert/convert.h"
#include "convert/streamconvert.h"
#include "textgen.h"

namespace {

constexpr size_t kMiB = size_t{1} << 20;

// The inputs, made on first use and kept for the whole run, so that only the
// benchmarks selected by --benchmark_filter pay for their texts.
class InputCache {
public:
    const std::string& Get(const std::string& key, const std::function<std::string()>& make) {
        auto it = m_texts.find(key);
        if (it == m_texts.end()) {
            it = m_texts.emplace(key, make()).first;
        }
        return it->second;
    }

private:
    std::map<std::string, std::string> m_texts;
};

InputCache& Cache() {
    static InputCache cache;
    return cache;
}

// How an operation's input is made from a generated text.
enum class Source {
    Generated,    // the generated text as it is
    VisualLines,  // reversed to visual lines (the input of the line wrapping)
    HtmlLines,    // visual HTML stripped to its lines (the input of the DOS text)
};

struct Input {
    textgen::Variant variant;
    size_t bytes;
    Source source;
};

std::string SizeLabel(size_t bytes) {
    return std::to_string(bytes / kMiB) + "MB";
}

std::string InputLabel(const Input& input) {
    std::string label(textgen::VariantName(input.variant));
    if (input.source == Source::VisualLines) {
        label += "-reversed";
    } else if (input.source == Source::HtmlLines) {
        label += "-lines";
    }
    return label + "/" + SizeLabel(input.bytes);
}

const std::string& GetInput(const Input& input) {
    const std::string generatedKey =
        std::string(textgen::VariantName(input.variant)) + "/" + std::to_string(input.bytes);
    const std::string& generated =
        Cache().Get(generatedKey, [&] { return textgen::Generate(input.variant, input.bytes); });
    switch (input.source) {
        case Source::Generated:
            return generated;
        case Source::VisualLines:
            return Cache().Get(InputLabel(input), [&] {
                std::string text = generated;
                CConvert::LogicalToVisual(text, 1, false);
                return text;
            });
        case Source::HtmlLines:
            return Cache().Get(InputLabel(input), [&] {
                std::string text = generated;
                CConvert::VisualHtmlToLines(text);
                return text;
            });
    }
    return generated;
}

using Operation = std::function<void(std::string&)>;

void RunOperation(benchmark::State& state, const Input& input, const Operation& op) {
    const std::string& source = GetInput(input);
    std::string text;
    for (auto _ : state) {
        state.PauseTiming();
        text = source;
        state.ResumeTiming();
        op(text);
        benchmark::DoNotOptimize(text.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(source.size()));
    state.counters["out_bytes"] = static_cast<double>(text.size());
}

void Register(const std::string& name, const std::vector<Input>& inputs, const Operation& op) {
    for (const Input& input : inputs) {
        const std::string fullName = name + "/" + InputLabel(input);
        benchmark::RegisterBenchmark(fullName.c_str(), [input, op](benchmark::State& state) {
            RunOperation(state, input, op);
        })->Unit(benchmark::kMillisecond);
    }
}

// The four inputs of an operation: 1 MB and 10 MB of its usual text, one
// 10 MB line and 10 MB of tags.
std::vector<Input> StandardInputs(textgen::Variant usual, Source source) {
    using textgen::Variant;
    return {
        {usual, 1 * kMiB, source},
        {usual, 10 * kMiB, source},
        {Variant::SingleLine, 10 * kMiB, Source::Generated},
        {Variant::Tags, 10 * kMiB, Source::Generated},
    };
}

void RegisterAll() {
    using textgen::Variant;
    const ConversionSettings defaults;

    Register("LogicalToVisual", StandardInputs(Variant::Logical, Source::Generated),
             [](std::string& text) { CConvert::LogicalToVisual(text, 1, false); });

    Register("DosToWindows", StandardInputs(Variant::Dos, Source::Generated),
             [](std::string& text) { CConvert::DosToWindows(text); });

    Register("WrapVisualLines", StandardInputs(Variant::Logical, Source::VisualLines),
             [defaults](std::string& text) {
                 CConvert::WrapVisualLines(text, defaults.BreakLinesAt, defaults.BreakLines,
                                           defaults.AddToBrokenLine, defaults.AddToHebParagraph,
                                           defaults.BeforeHebParagraph, defaults.AfterHebParagraph,
                                           defaults.TwoCRLFPara);
             });
    // Paragraph strings and the double line break replacement switched on.
    Register("WrapVisualLinesParagraphs", StandardInputs(Variant::Logical, Source::VisualLines),
             [defaults](std::string& text) {
                 CConvert::WrapVisualLines(text, defaults.BreakLinesAt, 1, defaults.AddToBrokenLine,
                                           1, defaults.BeforeHebParagraph,
                                           defaults.AfterHebParagraph, 1);
             });

    Register("VisualHtmlToLines", StandardInputs(Variant::VisualHtml, Source::Generated),
             [](std::string& text) { CConvert::VisualHtmlToLines(text); });

    Register("MakeDosText", StandardInputs(Variant::VisualHtml, Source::HtmlLines),
             [](std::string& text) { CConvert::MakeDosText(text); });

    Register("ToggleSemiLogical", StandardInputs(Variant::VisualHtml, Source::Generated),
             [](std::string& text) { CConvert::ToggleSemiLogical(text); });

    Register("LowerTagCase", StandardInputs(Variant::VisualHtml, Source::Generated),
             [](std::string& text) { text = CConvert::LowerTagCase(std::move(text)); });

    Register("ToVisualWholeText", StandardInputs(Variant::Logical, Source::Generated),
             [defaults](std::string& text) {
                 conversion::ToVisual(text, defaults, conversion::VisualScope::WholeText);
             });

    // What mirval-convert runs for to-visual: the first pass over the text
    // and the streamed conversion, both in blocks of 1 MiB (the output of
    // each block is dropped, as the converter writes it out; out_bytes is the
    // input's size here).
    Register("ToVisualStreamed", StandardInputs(Variant::Logical, Source::Generated),
             [defaults](std::string& text) {
                 const std::string_view whole(text);
                 conversion::FactScanner scanner;
                 for (size_t pos = 0; pos < whole.size(); pos += kMiB) {
                     scanner.Feed(whole.substr(pos, kMiB));
                 }
                 conversion::StreamConversion stream(
                     conversion::StreamConversion::Command::ToVisual, defaults, TableTags{},
                     scanner.Facts());
                 std::string out;
                 for (size_t pos = 0; pos < whole.size(); pos += kMiB) {
                     stream.Feed(whole.substr(pos, kMiB), out);
                     benchmark::DoNotOptimize(out.data());
                     out.clear();
                 }
                 stream.Finish(out);
                 benchmark::DoNotOptimize(out.data());
             });
}

}  // namespace

int main(int argc, char** argv) {
    RegisterAll();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
