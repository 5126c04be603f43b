// mirval-bench-text: writes a generated benchmark text to a file or to
// standard output.
#include <cstdio>
#include <string>
#include <string_view>

#include "textgen.h"

namespace {

int Usage() {
    std::fputs(
        "usage: mirval-bench-text VARIANT SIZE [-o FILE] [--seed N]\n"
        "  VARIANT  logical | visual | single-line | tags | dos\n"
        "  SIZE     bytes, with an optional suffix K or M (1M = 1048576)\n",
        stderr);
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    std::string_view variantName;
    std::string_view sizeText;
    const char* outPath = nullptr;
    uint64_t seed = textgen::kDefaultSeed;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg(argv[i]);
        if ((arg == "-o" || arg == "--seed") && i + 1 < argc) {
            if (arg == "-o") {
                outPath = argv[++i];
            } else {
                const auto value = textgen::ParseSize(argv[++i]);
                if (!value) {
                    return Usage();
                }
                seed = *value;
            }
        } else if (arg == "-h" || arg == "--help") {
            Usage();
            return 0;
        } else if (variantName.empty()) {
            variantName = arg;
        } else if (sizeText.empty()) {
            sizeText = arg;
        } else {
            return Usage();
        }
    }
    const auto variant = textgen::VariantFromName(variantName);
    const auto size = textgen::ParseSize(sizeText);
    if (!variant || !size) {
        return Usage();
    }

    const std::string text = textgen::Generate(*variant, *size, seed);
    std::FILE* out = outPath != nullptr ? std::fopen(outPath, "wb") : stdout;
    if (out == nullptr) {
        std::fprintf(stderr, "mirval-bench-text: cannot write %s\n", outPath);
        return 2;
    }
    const bool written = std::fwrite(text.data(), 1, text.size(), out) == text.size();
    const bool closed = outPath != nullptr ? std::fclose(out) == 0 : std::fflush(out) == 0;
    if (!written || !closed) {
        std::fprintf(stderr, "mirval-bench-text: cannot write %s\n",
                     outPath != nullptr ? outPath : "standard output");
        return 2;
    }
    return 0;
}
