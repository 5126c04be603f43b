#include "textgen.h"

#include <array>
#include <limits>

#include "convert/conversionchain.h"
#include "convert/conversionsettings.h"

namespace textgen {

namespace {

constexpr size_t kMinLine = 40;
constexpr size_t kMaxLine = 120;
constexpr unsigned char kFirstHebrew = 0xE0;  // alef in code page 1255
constexpr unsigned char kLastHebrew = 0xFA;   // tav
constexpr unsigned char kDosOffset = 0x60;    // code page 1255 letter - code page 862 letter

// splitmix64: small, fast and the same everywhere (unlike the standard
// distributions, whose results differ between libraries).
class Random {
public:
    explicit Random(uint64_t seed) : m_state(seed) {}

    uint64_t Next() {
        uint64_t z = (m_state += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }

    // Uniform in [0, n); n > 0. The bias of the modulo is irrelevant here.
    size_t Below(size_t n) { return static_cast<size_t>(Next() % n); }

    // Uniform in [low, high].
    size_t Between(size_t low, size_t high) { return low + Below(high - low + 1); }

private:
    uint64_t m_state;
};

void AppendHebrewWord(Random& rng, std::string& out, size_t minLetters = 2, size_t maxLetters = 7) {
    const size_t letters = rng.Between(minLetters, maxLetters);
    for (size_t k = 0; k < letters; ++k) {
        out.push_back(static_cast<char>(kFirstHebrew + rng.Below(kLastHebrew - kFirstHebrew + 1)));
    }
}

void AppendLatinWord(Random& rng, std::string& out) {
    const size_t letters = rng.Between(2, 8);
    const bool capital = rng.Below(4) == 0;
    for (size_t k = 0; k < letters; ++k) {
        const char base = capital && k == 0 ? 'A' : 'a';
        out.push_back(static_cast<char>(base + rng.Below(26)));
    }
}

void AppendDigits(Random& rng, std::string& out, size_t count) {
    for (size_t k = 0; k < count; ++k) {
        out.push_back(static_cast<char>('0' + rng.Below(10)));
    }
}

void AppendNumber(Random& rng, std::string& out) {
    switch (rng.Below(6)) {
        case 0:  // a range or a phone-like number
            AppendDigits(rng, out, rng.Between(1, 3));
            out.push_back('-');
            AppendDigits(rng, out, rng.Between(1, 4));
            break;
        case 1:  // thousands
            AppendDigits(rng, out, rng.Between(1, 3));
            out.push_back(',');
            AppendDigits(rng, out, 3);
            break;
        default:
            AppendDigits(rng, out, rng.Between(1, 6));
            break;
    }
}

void AppendWord(Random& rng, std::string& out) {
    const size_t r = rng.Below(10);
    if (r < 7) {
        AppendHebrewWord(rng, out);
    } else if (r < 9) {
        AppendLatinWord(rng, out);
    } else {
        AppendNumber(rng, out);
    }
}

// One token of logical text: a word, a number, a marked-up word, an entity or
// a word with punctuation. Never holds a line end.
void AppendLogicalToken(Random& rng, std::string& out) {
    const size_t r = rng.Below(100);
    if (r < 60) {
        AppendHebrewWord(rng, out);
    } else if (r < 72) {
        AppendLatinWord(rng, out);
    } else if (r < 80) {
        AppendNumber(rng, out);
    } else if (r < 86) {
        switch (rng.Below(4)) {
            case 0:
            case 1:
                out.append("<b>");
                AppendWord(rng, out);
                out.append("</b>");
                break;
            case 2:
                out.append("<a href='page.htm'>");
                AppendWord(rng, out);
                out.append("</a>");
                break;
            default:
                out.append("<br>");
                break;
        }
    } else if (r < 90) {
        if (rng.Below(2) == 0) {
            out.append("&nbsp;");
        } else {
            out.append("&quot;");
            AppendHebrewWord(rng, out);
            out.append("&quot;");
        }
    } else {
        static constexpr std::string_view kTrailing = ".,;:?";
        switch (rng.Below(4)) {
            case 0:
                out.push_back('"');
                AppendWord(rng, out);
                out.push_back('"');
                break;
            case 1:
                out.push_back('(');
                AppendWord(rng, out);
                out.push_back(')');
                break;
            case 2:
                AppendHebrewWord(rng, out);
                out.push_back('\'');
                break;
            default:
                AppendWord(rng, out);
                out.push_back(kTrailing[rng.Below(kTrailing.size())]);
                break;
        }
    }
}

// One token of the tag text: an upper-case tag, sometimes followed by a short
// piece of text.
void AppendTagToken(Random& rng, std::string& out) {
    static constexpr std::array<std::string_view, 12> kTags = {
        "<P ALIGN=RIGHT>",
        "</P>",
        "<B>",
        "</B>",
        "<BR>",
        "<A HREF='page.htm'>",
        "</A>",
        "<FONT SIZE=3>",
        "</FONT>",
        "<TD ALIGN=RIGHT>",
        "<TR>",
        "<DIV ALIGN=\"RIGHT\">",
    };
    out.append(kTags[rng.Below(kTags.size())]);
    switch (rng.Below(6)) {
        case 0:
            AppendHebrewWord(rng, out, 2, 4);
            break;
        case 1:
            AppendLatinWord(rng, out);
            break;
        default:
            break;
    }
}

using TokenFn = void (*)(Random&, std::string&);
using FillFn = void (*)(Random&, std::string&, size_t);

// Hebrew as it is spelt, for texts whose final letters must be where Hebrew
// puts them: the commonest words (most frequent first), and made-up words
// whose letters follow Hebrew letter frequencies, with the usual prefixes and
// suffixes, a final form only as the last letter.
constexpr std::array<std::string_view, 129> kCommonWords = {
    "של",    "את",    "על",    "לא",    "הוא",   "זה",    "עם",      "כי",    "גם",    "אם",
    "מה",    "כל",    "או",    "אני",   "היא",   "יש",    "הם",      "אבל",   "רק",    "לו",
    "אל",    "עד",    "היה",   "בין",   "כמו",   "אין",   "עוד",     "אחד",   "שלא",   "אחרי",
    "כבר",   "לפי",   "מן",    "אז",    "הזה",   "כך",    "היום",    "לכן",   "אנחנו", "אתה",
    "שם",    "פה",    "הייתה", "להיות", "יותר",  "מאוד",  "כאן",     "אחת",   "שני",   "שנים",
    "ישראל", "בית",   "ספר",   "עבודה", "אנשים", "ילדים", "מים",     "שלום",  "עולם",  "זמן",
    "מקום",  "דרך",   "ארץ",   "חיים",  "לחם",   "יום",   "לילה",    "ערב",   "בוקר",  "שנה",
    "חודש",  "שבוע",  "עיר",   "כסף",   "נכון",  "תמיד",  "אולי",    "כן",    "אותו",  "אותם",
    "להם",   "לכם",   "שלהם",  "עליהם", "מהם",   "בהם",   "כולם",    "הרבה",  "צריך",  "יכול",
    "רוצה",  "אומר",  "אמר",   "הלך",   "בא",    "ראה",   "ידע",     "חשב",   "כתב",   "מלך",
    "מדינה", "ממשלה", "חברה",  "חברים", "ספרים", "דברים", "שאלה",    "תשובה", "חדש",   "גדול",
    "קטן",   "טוב",   "ראשון", "אחרון", "בתוך",  "לפני",  "אחר",     "חוץ",   "עץ",    "ארוך",
    "אף",    "סוף",   "כף",    "מצב",   "פנים",  "לבן",   "ירושלים", "אביב",  "ציון"};

// Base letters (no final forms) with their frequency in Hebrew text, per mille.
struct LetterWeight {
    unsigned char letter;
    unsigned weight;
};
constexpr std::array<LetterWeight, 22> kLetterWeights = {{
    {0xE0, 63}, {0xE1, 47}, {0xE2, 13}, {0xE3, 26},  {0xE4, 99}, {0xE5, 105},
    {0xE6, 9},  {0xE7, 23}, {0xE8, 13}, {0xE9, 111}, {0xEB, 24}, {0xEC, 74},
    {0xEE, 52}, {0xF0, 30}, {0xF1, 11}, {0xF2, 33},  {0xF4, 18}, {0xF6, 13},
    {0xF7, 19}, {0xF8, 56}, {0xF9, 42}, {0xFA, 54},
}};

// A UTF-8 Hebrew word of the list as code page 1255.
void AppendUtf8Hebrew(std::string& out, std::string_view utf8) {
    for (size_t i = 0; i + 1 < utf8.size(); i += 2) {
        out.push_back(
            static_cast<char>(kFirstHebrew + (static_cast<unsigned char>(utf8[i + 1]) - 0x90)));
    }
}

unsigned char RandomLetter(Random& rng) {
    unsigned total = 0;
    for (const LetterWeight& w : kLetterWeights) {
        total += w.weight;
    }
    size_t pick = rng.Below(total);
    for (const LetterWeight& w : kLetterWeights) {
        if (pick < w.weight) {
            return w.letter;
        }
        pick -= w.weight;
    }
    return kFirstHebrew;
}

// Kaf, mem, nun, pe and tsadi to their final forms; other letters unchanged.
unsigned char FinalForm(unsigned char letter) {
    switch (letter) {
        case 0xEB:
        case 0xEE:
        case 0xF0:
        case 0xF4:
        case 0xF6:
            return static_cast<unsigned char>(letter - 1);
        default:
            return letter;
    }
}

void AppendSpeltWord(Random& rng, std::string& out) {
    if (rng.Below(5) < 3) {
        // Zipf-like: the first words of the list are the commonest.
        const size_t rank = rng.Below(rng.Below(kCommonWords.size()) + 1);
        AppendUtf8Hebrew(out, kCommonWords[rank]);
        return;
    }
    static constexpr std::string_view kPrefixes = "\xE4\xE5\xE1\xEC\xEE\xF9";  // ה ו ב ל מ ש
    if (rng.Below(3) == 0) {
        out.push_back(kPrefixes[rng.Below(kPrefixes.size())]);
    }
    const size_t stem = rng.Between(2, 5);
    for (size_t k = 0; k < stem; ++k) {
        out.push_back(static_cast<char>(RandomLetter(rng)));
    }
    static constexpr std::array<std::string_view, 10> kSuffixes = {
        "\xE9\xEE", "\xE5\xFA", "\xE4",     "\xFA",     "\xE5",
        "\xE9",     "\xE4",     "\xF0\xE5", "\xE9\xFA", "\xE4\xEE"};
    if (rng.Below(2) == 0) {
        out.append(kSuffixes[rng.Below(kSuffixes.size())]);  // ים ות ה ת ו י ה נו ית הם
    }
    out.back() = static_cast<char>(FinalForm(static_cast<unsigned char>(out.back())));
}

// One token of prose: mostly spelt Hebrew words, some Latin words, numbers,
// marked-up words and punctuation.
void AppendProseToken(Random& rng, std::string& out) {
    const size_t r = rng.Below(100);
    if (r < 74) {
        AppendSpeltWord(rng, out);
    } else if (r < 84) {
        AppendLatinWord(rng, out);
    } else if (r < 88) {
        AppendNumber(rng, out);
    } else if (r < 92) {
        const bool bold = rng.Below(2) == 0;
        out.append(bold ? "<b>" : "<a href='page.htm'>");
        AppendSpeltWord(rng, out);
        out.append(bold ? "</b>" : "</a>");
    } else {
        static constexpr std::string_view kTrailing = ".,;:?!";
        switch (rng.Below(3)) {
            case 0:
                out.push_back('"');
                AppendSpeltWord(rng, out);
                out.push_back('"');
                break;
            case 1:
                out.push_back('(');
                AppendSpeltWord(rng, out);
                out.push_back(')');
                break;
            default:
                AppendSpeltWord(rng, out);
                out.push_back(kTrailing[rng.Below(kTrailing.size())]);
                break;
        }
    }
}

// Fills `out` with exactly `count` bytes: spelt words while they fit, then spaces.
void AppendProseFill(Random& rng, std::string& out, size_t count) {
    const size_t target = out.size() + count;
    std::string word;
    for (int misses = 0; misses < 4;) {
        word.clear();
        AppendSpeltWord(rng, word);
        if (out.size() + word.size() + 1 > target) {
            ++misses;
            continue;
        }
        out.append(word).push_back(' ');
    }
    out.append(target - out.size(), ' ');
}

// Fills `out` with exactly `count` bytes of Hebrew words separated by spaces.
void AppendHebrewFill(Random& rng, std::string& out, size_t count) {
    const size_t target = out.size() + count;
    while (out.size() < target) {
        if (out.size() + 1 < target) {
            AppendHebrewWord(rng, out);
            out.push_back(' ');
        } else {
            out.push_back(static_cast<char>(kFirstHebrew));
        }
    }
    out.resize(target);
}

// Lines of 40 to 120 bytes before their CR LF, `separator` between tokens,
// exactly `bytes` bytes in all.
std::string GenerateLines(Random& rng, size_t bytes, TokenFn token, std::string_view separator,
                          FillFn fill) {
    std::string text;
    text.reserve(bytes);
    std::string line;
    std::string piece;
    for (;;) {
        const size_t target = rng.Between(kMinLine, kMaxLine);
        line.clear();
        while (line.size() < target) {
            piece.clear();
            token(rng, piece);
            const size_t added = (line.empty() ? 0 : separator.size()) + piece.size();
            if (!line.empty() && line.size() + added > kMaxLine) {
                break;
            }
            if (!line.empty()) {
                line.append(separator);
            }
            line.append(piece);
        }
        if (text.size() + line.size() + 2 > bytes) {
            break;
        }
        text.append(line).append("\r\n");
    }
    // The last line is filled to the exact size.
    const size_t rest = bytes - text.size();
    if (rest >= 2) {
        fill(rng, text, rest - 2);
        text.append("\r\n");
    } else if (rest == 1) {
        text.push_back(' ');
    }
    return text;
}

std::string GenerateLogical(Random& rng, size_t bytes) {
    return GenerateLines(rng, bytes, AppendLogicalToken, " ", AppendHebrewFill);
}

std::string GenerateSingleLine(Random& rng, size_t bytes) {
    std::string text;
    text.reserve(bytes);
    std::string piece;
    for (;;) {
        piece.clear();
        AppendLogicalToken(rng, piece);
        if (text.size() + piece.size() + 1 > bytes) {
            break;
        }
        text.append(piece).push_back(' ');
    }
    AppendHebrewFill(rng, text, bytes - text.size());
    return text;
}

std::string GenerateVisualHtml(Random& rng, size_t bytes) {
    // The conversion adds line marks, so a logical text of the same size
    // already gives enough; grow the source in the rare case it does not.
    size_t sourceSize = bytes;
    for (;;) {
        std::string text = GenerateLogical(rng, sourceSize);
        conversion::ToVisual(text, ConversionSettings{}, conversion::VisualScope::WholeText);
        if (text.size() >= bytes) {
            const size_t end = bytes >= 2 ? text.rfind("\r\n", bytes - 2) : std::string::npos;
            text.resize(end == std::string::npos ? 0 : end + 2);
            return text;
        }
        sourceSize += sourceSize / 4 + 256;
    }
}

std::string GenerateDos(Random& rng, size_t bytes) {
    std::string text = GenerateLogical(rng, bytes);
    for (char& c : text) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (u >= kFirstHebrew && u <= kLastHebrew) {
            c = static_cast<char>(u - kDosOffset);
        }
    }
    return text;
}

}  // namespace

std::string_view VariantName(Variant variant) {
    switch (variant) {
        case Variant::Logical:
            return "logical";
        case Variant::VisualHtml:
            return "visual";
        case Variant::SingleLine:
            return "single-line";
        case Variant::Tags:
            return "tags";
        case Variant::Dos:
            return "dos";
        case Variant::Prose:
            return "prose";
    }
    return "logical";
}

std::optional<Variant> VariantFromName(std::string_view name) {
    for (Variant v : {Variant::Logical, Variant::VisualHtml, Variant::SingleLine, Variant::Tags,
                      Variant::Dos, Variant::Prose}) {
        if (VariantName(v) == name) {
            return v;
        }
    }
    return std::nullopt;
}

std::string Generate(Variant variant, size_t bytes, uint64_t seed) {
    Random rng(seed);
    switch (variant) {
        case Variant::Logical:
            return GenerateLogical(rng, bytes);
        case Variant::VisualHtml:
            return GenerateVisualHtml(rng, bytes);
        case Variant::SingleLine:
            return GenerateSingleLine(rng, bytes);
        case Variant::Tags:
            return GenerateLines(rng, bytes, AppendTagToken, "", AppendHebrewFill);
        case Variant::Dos:
            return GenerateDos(rng, bytes);
        case Variant::Prose:
            return GenerateLines(rng, bytes, AppendProseToken, " ", AppendProseFill);
    }
    return {};
}

std::optional<size_t> ParseSize(std::string_view text) {
    size_t value = 0;
    size_t pos = 0;
    while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') {
        const size_t digit = static_cast<size_t>(text[pos] - '0');
        if (value > (std::numeric_limits<size_t>::max() - digit) / 10) {
            return std::nullopt;
        }
        value = value * 10 + digit;
        ++pos;
    }
    if (pos == 0) {
        return std::nullopt;
    }
    std::string_view suffix = text.substr(pos);
    size_t unit = 1;
    if (!suffix.empty() && (suffix[0] == 'K' || suffix[0] == 'k')) {
        unit = size_t{1} << 10;
        suffix.remove_prefix(1);
    } else if (!suffix.empty() && (suffix[0] == 'M' || suffix[0] == 'm')) {
        unit = size_t{1} << 20;
        suffix.remove_prefix(1);
    }
    if (!(suffix.empty() || suffix == "B" || (unit > 1 && suffix == "iB"))) {
        return std::nullopt;
    }
    if (value > std::numeric_limits<size_t>::max() / unit) {
        return std::nullopt;
    }
    return value * unit;
}

}  // namespace textgen
