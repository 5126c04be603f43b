// How well DetectOrder tells visual pages from logical ones: generated logical
// pages of every length and their visual forms (converted with random
// settings), some with stray passages of the other order, scored per length
// bucket, and the same pages scored under other thresholds of the counting
// rule, from which the engine's thresholds were chosen.
//
//   mirval-bench-detect [SOURCES] [SEED]     (defaults 2000 sources, seed 1255)
//
// With DETECT_DUMP set in the environment, every page given a wrong verdict
// is written to standard error, for a look at what misled the rule.
#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "convert/conversionchain.h"
#include "convert/orderdetect.h"
#include "textgen.h"

namespace {

using orderdetect::TextOrder;

// splitmix64, as the generator uses.
class Random {
public:
    explicit Random(uint64_t seed) : m_state(seed) {}
    uint64_t Next() {
        uint64_t z = (m_state += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    size_t Below(size_t n) { return static_cast<size_t>(Next() % n); }
    double Unit() { return static_cast<double>(Next() >> 11) / 9007199254740992.0; }

private:
    uint64_t m_state;
};

bool IsHebrew(char c) {
    const unsigned char u = static_cast<unsigned char>(c);
    return u >= 0xE0 && u <= 0xFA;
}

size_t CountHebrewWords(std::string_view text) {
    size_t words = 0;
    bool inWord = false;
    for (char c : text) {
        const bool letter = IsHebrew(c);
        words += letter && !inWord ? 1 : 0;
        inWord = letter;
    }
    return words;
}

// Reverses each Hebrew word in a fraction of the passages of ten words, in
// place: those passages then read in the other order (a quotation, a header
// left as it was, a paragraph pasted from elsewhere).
void StrayPassages(std::string& text, double fraction, Random& rng) {
    constexpr size_t kPassage = 10;
    size_t wordsSeen = 0;
    bool stray = false;
    size_t wordStart = std::string::npos;
    for (size_t i = 0; i <= text.size(); ++i) {
        const bool letter = i < text.size() && IsHebrew(text[i]);
        if (letter && wordStart == std::string::npos) {
            wordStart = i;
            if (wordsSeen++ % kPassage == 0) {
                stray = rng.Unit() < fraction;
            }
        } else if (!letter && wordStart != std::string::npos) {
            if (stray) {
                std::reverse(text.begin() + static_cast<std::ptrdiff_t>(wordStart),
                             text.begin() + static_cast<std::ptrdiff_t>(i));
            }
            wordStart = std::string::npos;
        }
    }
}

// Reverses each Hebrew word with the given probability (a typo, a foreign
// word or an abbreviation written the other way).
void StrayWords(std::string& text, double probability, Random& rng) {
    size_t wordStart = std::string::npos;
    for (size_t i = 0; i <= text.size(); ++i) {
        const bool letter = i < text.size() && IsHebrew(text[i]);
        if (letter && wordStart == std::string::npos) {
            wordStart = i;
        } else if (!letter && wordStart != std::string::npos) {
            if (rng.Unit() < probability) {
                std::reverse(text.begin() + static_cast<std::ptrdiff_t>(wordStart),
                             text.begin() + static_cast<std::ptrdiff_t>(i));
            }
            wordStart = std::string::npos;
        }
    }
}

struct Page {
    TextOrder truth;
    size_t hebrewWords;
    size_t finalFirst;
    size_t finalLast;
    TextOrder verdict;  // DetectOrder's
    bool noisy;         // with stray words or passages of the other order
};

constexpr std::array<size_t, 7> kBucketStarts = {0, 5, 10, 20, 50, 100, 500};

size_t BucketOf(size_t words) {
    size_t bucket = 0;
    for (size_t b = 0; b < kBucketStarts.size(); ++b) {
        if (words >= kBucketStarts[b]) {
            bucket = b;
        }
    }
    return bucket;
}

std::string BucketName(size_t b) {
    if (b + 1 == kBucketStarts.size()) {
        return std::to_string(kBucketStarts[b]) + "+";
    }
    if (kBucketStarts[b] + 1 == kBucketStarts[b + 1]) {
        return std::to_string(kBucketStarts[b]);
    }
    return std::to_string(kBucketStarts[b]) + "-" + std::to_string(kBucketStarts[b + 1] - 1);
}

std::string MakeSource(Random& rng, uint64_t seed) {
    // Lengths spread evenly on a log scale from 12 bytes to 32 KB.
    const auto bytes =
        static_cast<size_t>(std::exp(std::log(12.0) + rng.Unit() * std::log(32768.0 / 12.0)));
    std::string text = textgen::Generate(textgen::Variant::Prose, bytes, seed);
    if (rng.Below(2) == 0) {
        // A page with a head whose meta tag settles nothing.
        const size_t lineEnd = text.find("\r\n");
        text =
            "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; "
            "charset=windows-1255\">\r\n<title>" +
            text.substr(0, lineEnd == std::string::npos ? text.size() : lineEnd) +
            "</title></head>\r\n<body>\r\n" + text + "\r\n</body></html>\r\n";
    }
    return text;
}

ConversionSettings RandomSettings(Random& rng) {
    ConversionSettings settings;
    settings.BreakLinesAt = static_cast<int>(30 + rng.Below(171));
    settings.BreakLines = static_cast<int>(rng.Below(2));
    settings.AddToHebParagraph = static_cast<int>(rng.Below(2));
    settings.RemoveTag = static_cast<int>(rng.Below(2));
    settings.TwoCRLFPara = static_cast<int>(rng.Below(2));
    return settings;
}

struct Score {
    size_t total = 0;
    size_t ok = 0;
    void Add(bool correct) {
        ++total;
        ok += correct ? 1 : 0;
    }
    double Percent() const {
        return total ? 100.0 * static_cast<double>(ok) / static_cast<double>(total) : 0.0;
    }
};

// The engine's verdicts on the clean or on the noisy pages, per bucket of
// Hebrew word count.
void PrintBuckets(const std::vector<Page>& pages, bool noisy) {
    std::printf("\n%s pages\n", noisy ? "Noisy" : "Clean");
    std::printf("%-10s %6s %9s %8s %6s %14s\n", "Heb words", "pages", "correct", "unknown", "wrong",
                "wrong (<5 ev.)");
    std::array<Score, kBucketStarts.size()> scores{};
    std::array<size_t, kBucketStarts.size()> unknown{}, wrong{}, weak{};
    Score longPages;
    for (const Page& p : pages) {
        if (p.noisy != noisy) {
            continue;
        }
        const size_t b = BucketOf(p.hebrewWords);
        scores[b].Add(p.verdict == p.truth);
        if (p.hebrewWords >= 20) {
            longPages.Add(p.verdict == p.truth);
        }
        if (p.verdict == TextOrder::Unknown) {
            ++unknown[b];
        } else if (p.verdict != p.truth) {
            ++wrong[b];
            weak[b] += std::max(p.finalFirst, p.finalLast) < 5 ? 1 : 0;
        }
    }
    for (size_t b = 0; b < kBucketStarts.size(); ++b) {
        std::printf("%-10s %6zu %8.2f%% %8zu %6zu %14zu\n", BucketName(b).c_str(), scores[b].total,
                    scores[b].Percent(), unknown[b], wrong[b], weak[b]);
    }
    std::printf("%-10s %6zu %8.2f%%\n", "20+", longPages.total, longPages.Percent());
}

size_t ParseCount(const char* text, size_t fallback) {
    size_t value = fallback;
    const std::string_view s(text);
    std::from_chars(s.data(), s.data() + s.size(), value);
    return value;
}

}  // namespace

int main(int argc, char** argv) {
    const size_t sources = argc > 1 ? ParseCount(argv[1], 2000) : 2000;
    const uint64_t seed =
        argc > 2 ? ParseCount(argv[2], textgen::kDefaultSeed) : textgen::kDefaultSeed;

    std::vector<Page> pages;
    Random rng(seed);
    for (size_t i = 0; i < sources; ++i) {
        const std::string logical = MakeSource(rng, seed * 1000003 + i);
        const size_t words = CountHebrewWords(logical);
        std::string visual = logical;
        conversion::ToVisual(visual, RandomSettings(rng), conversion::VisualScope::WholeText);
        // Seven pages in ten are as generated. The others have stray words
        // (3% of them) of the other order, or, when they are long enough for
        // a passage not to be the whole page (50 Hebrew words or more), stray
        // passages of ten words (5, 10 or 20% of them).
        for (auto& [text, truth] : {std::pair<std::string, TextOrder>{logical, TextOrder::Logical},
                                    std::pair<std::string, TextOrder>{visual, TextOrder::Visual}}) {
            std::string page = text;
            const size_t kind = rng.Below(20);
            const bool noisy = kind >= 14;
            if (noisy && (kind < 17 || words < 50)) {
                StrayWords(page, 0.03, rng);
            } else if (noisy) {
                StrayPassages(page, std::array<double, 3>{0.05, 0.10, 0.20}[rng.Below(3)], rng);
            }
            const orderdetect::OrderEvidence e = orderdetect::DetectOrder(page);
            pages.push_back({truth, words, e.finalFirst, e.finalLast, e.order, noisy});
        }
    }

    std::printf("%zu pages (%zu logical sources and their visual forms), seed %llu\n", pages.size(),
                sources, static_cast<unsigned long long>(seed));
    std::printf("thresholds: at least %zu words, %zu times the other kind\n",
                orderdetect::kOrderThresholds.minWords, orderdetect::kOrderThresholds.ratio);
    PrintBuckets(pages, false);
    PrintBuckets(pages, true);

    // The same pages under other thresholds.
    std::printf(
        "\nOther thresholds (ok: correct verdicts; wrong: visual for logical or the "
        "reverse,\nwith how many of them had fewer than 5 words of evidence)\n");
    std::printf("%-8s %-5s | %-10s %-10s %-7s | %-10s %-7s %-7s\n", "minWords", "ratio", "clean",
                "clean", "clean", "noisy", "noisy", "noisy");
    std::printf("%-8s %-5s | %-10s %-10s %-7s | %-10s %-7s %-7s\n", "", "", "10-19 ok", "20+ ok",
                "wrong", "20+ ok", "wrong", "<5 ev.");
    for (size_t minWords = 1; minWords <= 6; ++minWords) {
        for (size_t ratio = 2; ratio <= 4; ++ratio) {
            Score mid, cleanLong, noisyLong;
            size_t cleanBad = 0, noisyBad = 0, noisyWeak = 0;
            for (const Page& p : pages) {
                const TextOrder v =
                    orderdetect::OrderFromCounts(p.finalFirst, p.finalLast, {minWords, ratio});
                const bool ok = v == p.truth;
                const bool bad = !ok && v != TextOrder::Unknown;
                if (!p.noisy && p.hebrewWords >= 10 && p.hebrewWords < 20) {
                    mid.Add(ok);
                }
                if (p.hebrewWords >= 20) {
                    (p.noisy ? noisyLong : cleanLong).Add(ok);
                }
                (p.noisy ? noisyBad : cleanBad) += bad ? 1 : 0;
                noisyWeak += p.noisy && bad && std::max(p.finalFirst, p.finalLast) < 5 ? 1 : 0;
            }
            std::printf("%-8zu %-5zu | %9.2f%% %9.2f%% %7zu | %9.2f%% %7zu %7zu\n", minWords, ratio,
                        mid.Percent(), cleanLong.Percent(), cleanBad, noisyLong.Percent(), noisyBad,
                        noisyWeak);
        }
    }
    return 0;
}
