#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Deterministic generator of code page 1255 texts for the benchmarks: the same
// variant, size and seed always give the same bytes, on every platform.
namespace textgen {

enum class Variant {
    Logical,     // Hebrew and Latin words, numbers, punctuation, tags, entities;
                 // lines of 40-120 characters ending in CR LF
    VisualHtml,  // the whole-text conversion to visual HTML of a logical text
    SingleLine,  // logical words on one line with no line end at all
    Tags,        // upper-case tags with short pieces of text between them
    Dos,         // a logical text with its Hebrew letters in code page 862
    Prose,       // logical text of Hebrew words as they are spelt: common words
                 // and made-up words with Hebrew letter frequencies, final forms
                 // only at word ends; Latin words, numbers, punctuation, tags;
                 // lines of 40-120 characters ending in CR LF
};

inline constexpr uint64_t kDefaultSeed = 1255;

// The variant's name on the command line ("logical", "visual", "single-line",
// "tags", "dos", "prose") and back; nullopt for an unknown name.
std::string_view VariantName(Variant variant);
std::optional<Variant> VariantFromName(std::string_view name);

// A text of the variant. Every variant but VisualHtml is exactly `bytes` long
// (a prose text ends in spaces where no word fits);
// a visual HTML text ends at a line end and falls short of `bytes` by less
// than one of its lines.
std::string Generate(Variant variant, size_t bytes, uint64_t seed = kDefaultSeed);

// Parses a size: a decimal number with an optional suffix K or M (binary
// units, an optional trailing "B" or "iB" is accepted). nullopt when malformed.
std::optional<size_t> ParseSize(std::string_view text);

}  // namespace textgen
