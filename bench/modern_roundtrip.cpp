// How well to-modern undoes to-visual, as a browser sees it: logical pages
// of varied Hebrew, Latin, numbers, punctuation, tags and entities (and the
// shipped sample text) are made visual with varied settings and turned back
// into modern pages; the web engine renders both, and the text of each body
// (document.body.innerText, white space runs collapsed) must be the same.
//
// usage: mirval-bench-modern [PAGES] [--show N] [--dump N] [--pages]
//   PAGES    generated pages (default 300), after the sample text
//   --show   print the first N differing pages' texts (default 3)
//   --pages  print one line per page: "page N same lost fault kept words"
//   --dump   print generated page N: logical, visual, modern, and the
//            modern page made visual again
// Prints one line per settings group and the total, then the share of the
// differing pages per cause of their first differing word, each split into
// proven losses and to-modern's faults, and the fault pages; exit status 0.
//
// The proof, page by page: the modern page is undone to a logical code
// page 1255 page comparable with the page P (only what to-modern adds is
// undone: the UTF-8 meta tag becomes the page's own charset meta tags or
// goes, the direction and language go from <html> or their division goes,
// and the text becomes code page 1255; the undone page must render the same
// text as the modern page, else it counts as inexact) and made visual with
// P's settings. The same bytes as P's visual page mean the visual page
// cannot tell P from the modern page, which a browser renders differently:
// the visual rules lost information (every difference on that page is such
// a loss). Other bytes mean to-modern gave a page the visual conversion
// does not turn into these bytes: its own fault.
//
// A page's cause is decided by its first differing word alone, and names
// the visual conversion's rule that loses information there (bench/
// README.md shows a checked example of each). Decided in this order:
//   nbsp-dropped     the page with every &nbsp; written as a space differs
//                    later (or not at all). The reversal drops &nbsp;
//                    without a trace, so the words or runs beside it meet.
//   tag-in-run       the page without its <b>, </b>, <a href=...> and </a>
//                    tags differs later. Tags are run bytes: a run goes on
//                    over tags, numbers, Latin and the spaces between them,
//                    a line may be cut at any of those spaces, and every
//                    piece (a line's last too) ends in the same mark; so a
//                    line end after "</a>" and a run "abc </a>" cut at its
//                    space, or a space after a Hebrew word before "</a> 12"
//                    and the space a run ending in punctuation keeps
//                    ("12 \""), come out the same.
//   no-breaks        break lines off, and with it on the page differs later
//   long-line        the page's word is in a line with no Hebrew letter
//                    longer than the width: its pieces carry no mark and are
//                    glued to each other without their spaces.
//   run-space        the modern word begins with two words of the page. A
//                    run ending in punctuation keeps the space before the
//                    punctuation inside itself: beside the space before the
//                    run ("12  x" for "x 12 \"" and "x  12\""), or trimmed
//                    off where the line is cut there, its side is lost (and
//                    a piece without a Hebrew letter is written with no mark
//                    or line end, glued to the next piece).
//   line-end-as-cut  a word with no Hebrew letter from further on stands in
//                    place of the page's word (or glued to it). Every piece
//                    ends in the same mark, so a line end differs from a cut
//                    only where the width tells them apart: a Latin word or
//                    number ending a line and one starting the next read as
//                    one run.
//   punct-side       same letters and digits, but a punctuation mark or
//                    quote next to a Latin word or number stands on its other
//                    side. A run's last punctuation mark is written apart
//                    from it, the marks and spaces before that mark stay in
//                    it: "x omu; \"y\"" and "x  ;omu\"y\"" come out the same,
//                    as do the two spaces of a dropped &nbsp; beside a run.
//   unexplained      none of these
//
// On 8 December 2026 (301 pages): 120 the same (39.9%), words in order
// 147436 of 148025 (99.60%); proven lost 181 pages (60.1%): tag-in-run 67
// (22.3%), run-space 36 (12.0%), line-end-as-cut 35 (11.6%), nbsp-dropped
// 26 (8.6%), punct-side 12 (4.0%), unexplained 5 (1.7%); to-modern's faults
// none; inexact undoing none.
#include <unistd.h>
#include <QApplication>
#include <QEventLoop>
#include <QFile>
#include <QTimer>
#include <QWebEnginePage>

#include <QRegularExpression>
#include <QStringList>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "convert/conversionchain.h"
#include "text/utf8codec.h"
#include "textgen.h"

namespace {

struct Case {
    std::string logical;  // the page P, code page 1255
    ConversionSettings settings;
    std::string group;  // the settings, in words
};

Case MakeCase(uint64_t seed) {
    Case c;
    const textgen::Variant variant =
        seed % 2 == 0 ? textgen::Variant::Prose : textgen::Variant::Logical;
    const std::string text = textgen::Generate(variant, 1500 + 500 * (seed % 7), 1255 + seed);
    c.logical =
        "<html><head><title>page</title></head><body>\r\n" + text + "\r\n</body></html>\r\n";
    static constexpr int kWidths[] = {40, 55, 60, 70, 80, 100};
    c.settings.BreakLinesAt = kWidths[seed % 6];
    c.settings.AddToHebParagraph = static_cast<int>((seed / 2) % 2);
    c.settings.RemoveTag = static_cast<int>((seed / 3) % 2);
    c.settings.AddToBrokenLine = (seed / 5) % 3 == 0 ? "<BR>" : "<br>";
    c.group = std::string(variant == textgen::Variant::Prose ? "prose" : "logical") +
              (c.settings.AddToHebParagraph != 0 ? ", paragraphs" : "");
    return c;
}

std::string Modern(std::string page, const ConversionSettings& settings) {
    conversion::ToVisual(page, settings, conversion::VisualScope::WholeText);
    conversion::ToModern(page, settings, true);
    return Utf8Codec::EncodeCp1255(page);
}

// The words of `a` that `b` has in the same order: the longest common
// subsequence of the two lists of words.
size_t WordsInOrder(const QStringList& a, const QStringList& b) {
    std::vector<size_t> row(static_cast<size_t>(b.size()) + 1, 0);
    for (const QString& word : a) {
        size_t diagonal = 0;
        for (qsizetype k = 0; k < b.size(); ++k) {
            const size_t above = row[static_cast<size_t>(k) + 1];
            row[static_cast<size_t>(k) + 1] =
                word == b[k] ? diagonal + 1 : std::max(above, row[static_cast<size_t>(k)]);
            diagonal = above;
        }
    }
    return row.back();
}

// The modern page as a logical code page 1255 page comparable with `logical`
// (the page P it came from): what to-modern adds is undone and nothing else.
// The UTF-8 declaration becomes the page's own charset meta tags again (or
// goes, where the page declared none), the direction and language go from
// <html> (or the division that carries them goes), and the UTF-8 text
// becomes code page 1255. `exact` tells whether each addition was found
// where to-modern puts it.
std::string ModernAsLogical(const std::string& modernUtf8, const std::string& logical,
                            bool& exact) {
    exact = true;
    std::string page;
    exact = Utf8Codec::DecodeToCp1255(modernUtf8, page).Ok();
    const auto lower = [](std::string text) {
        for (char& ch : text) {
            ch = ch >= 'A' && ch <= 'Z' ? static_cast<char>(ch - 'A' + 'a') : ch;
        }
        return text;
    };
    const std::string lowLogical = lower(logical);
    // The page's own meta tags that declare an old Hebrew charset, in order.
    std::vector<std::string> metas;
    bool declared = false;
    for (size_t lt = lowLogical.find("<meta"); lt != std::string::npos;
         lt = lowLogical.find("<meta", lt + 1)) {
        const size_t gt = lowLogical.find('>', lt);
        if (gt == std::string::npos) {
            break;
        }
        const std::string tag = lowLogical.substr(lt, gt + 1 - lt);
        if (tag.find("charset") == std::string::npos) {
            continue;
        }
        declared = true;
        if (tag.find("visual") != std::string::npos ||
            tag.find("iso-8859-8") != std::string::npos ||
            tag.find("windows-1255") != std::string::npos) {
            metas.push_back(logical.substr(lt, gt + 1 - lt));
        }
    }
    constexpr std::string_view kUtf8Meta = "<meta charset=\"utf-8\">";
    if (!metas.empty()) {
        size_t at = 0;
        for (const std::string& meta : metas) {
            at = page.find(kUtf8Meta, at);
            if (at == std::string::npos) {
                exact = false;
                break;
            }
            page.replace(at, kUtf8Meta.size(), meta);
            at += meta.size();
        }
    } else if (!declared) {
        const size_t at = page.find(kUtf8Meta);
        if (at == std::string::npos) {
            exact = false;
        } else {
            page.erase(at, kUtf8Meta.size());
        }
    }
    const std::string lowPage = lower(page);
    if (const size_t html = lowLogical.find("<html"); html != std::string::npos) {
        const std::string tag = lowLogical.substr(html, lowLogical.find('>', html) - html);
        const size_t at = lowPage.find("<html") + 5;
        size_t erase = 0;
        for (const std::string_view added : {" dir=\"rtl\"", " lang=\"he\""}) {
            if (tag.find(std::string(added.substr(1, added.find('=')))) == std::string::npos) {
                if (page.compare(at + erase, added.size(), added) != 0) {
                    exact = false;
                }
                erase += added.size();
            }
        }
        page.erase(at, erase);
    } else {
        constexpr std::string_view kOpen = "<div dir=\"rtl\" lang=\"he\">";
        const size_t open = page.find(kOpen);
        size_t close = lowPage.find("</body");
        close = page.rfind("</div>", close == std::string::npos ? page.size() : close);
        if (open == std::string::npos || close == std::string::npos || close < open) {
            exact = false;
        } else {
            page.erase(close, 6);
            page.erase(open, kOpen.size());
        }
    }
    return page;
}

// Index of the first word where the two lists differ (the shorter length
// when one is a prefix of the other).
qsizetype FirstDifference(const QStringList& a, const QStringList& b) {
    qsizetype k = 0;
    while (k < a.size() && k < b.size() && a[k] == b[k]) {
        ++k;
    }
    return k;
}

bool HasHebrew(const QString& text) {
    for (const QChar ch : text) {
        if (ch.unicode() >= 0x05D0 && ch.unicode() <= 0x05EA) {
            return true;
        }
    }
    return false;
}

// Whether `word` is in a line of the page with no Hebrew letter that is
// longer than `width` characters (tags not counted).
bool InLongNonHebrewLine(const std::string& page, int width, const QString& word) {
    const QString text = QString::fromStdString(Utf8Codec::EncodeCp1255(page));
    for (QString line : text.split(QLatin1Char('\n'))) {
        line.remove(QRegularExpression(QStringLiteral("<[^>]*>")));
        line = line.trimmed();
        if (line.size() > width && !HasHebrew(line) && line.contains(word)) {
            return true;
        }
    }
    return false;
}

QString LettersAndDigits(const QString& text) {
    QString out;
    for (const QChar ch : text) {
        if (ch.isLetterOrNumber()) {
            out += ch;
        }
    }
    return out;
}

QStringList Words(const QString& text) {
    return text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

class Renderer {
public:
    QString BodyText(const std::string& utf8Html) {
        QEventLoop loop;
        const auto connection =
            QObject::connect(&m_page, &QWebEnginePage::loadFinished, &loop, &QEventLoop::quit);
        m_page.setHtml(QString::fromUtf8(utf8Html.data(), static_cast<qsizetype>(utf8Html.size())),
                       QUrl(QStringLiteral("file:///modern/")));
        loop.exec();
        QObject::disconnect(connection);
        QString text;
        m_page.runJavaScript(QStringLiteral("document.body ? document.body.innerText : ''"),
                             [&](const QVariant& value) {
                                 text = value.toString();
                                 loop.quit();
                             });
        loop.exec();
        return text.simplified();
    }

private:
    QWebEnginePage m_page;
};

}  // namespace

int main(int argc, char** argv) {
    // The web engine's sandbox cannot run as root (as on a build machine).
    if (::geteuid() == 0 && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX")) {
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    }
    QApplication app(argc, argv);
    int pages = 300;
    int show = 3;
    bool pageTable = false;
    for (int k = 1; k < argc; ++k) {
        const std::string arg = argv[k];
        if (arg == "--dump" && k + 1 < argc) {
            // The logical, visual and modern pages of one generated page, UTF-8.
            const Case c = MakeCase(static_cast<uint64_t>(std::atoi(argv[++k])));
            std::string visual = c.logical;
            conversion::ToVisual(visual, c.settings, conversion::VisualScope::WholeText);
            const std::string modern = Modern(c.logical, c.settings);
            bool exact = true;
            std::string again = ModernAsLogical(modern, c.logical, exact);
            conversion::ToVisual(again, c.settings, conversion::VisualScope::WholeText);
            std::printf("%s\n=====\n%s\n=====\n%s\n=====\n%s\n",
                        Utf8Codec::EncodeCp1255(c.logical).c_str(),
                        Utf8Codec::EncodeCp1255(visual).c_str(), modern.c_str(),
                        Utf8Codec::EncodeCp1255(again).c_str());
            return 0;
        }
        if (arg == "--pages") {
            pageTable = true;
        } else if (arg == "--show" && k + 1 < argc) {
            show = std::atoi(argv[++k]);
        } else {
            pages = std::atoi(argv[k]);
        }
    }
    Renderer renderer;
    std::map<std::string, std::pair<int, int>> groups;  // same, total
    int same = 0;
    int total = 0;
    std::map<std::string, int> causes;
    size_t wordsKept = 0;
    size_t words = 0;
    std::map<std::string, std::pair<int, int>> proofs;  // per cause: lost, fault
    std::vector<std::string> faults;                    // "page (cause)"
    int inexact = 0;
    const auto check = [&](const Case& c) {
        const QString expected = renderer.BodyText(Utf8Codec::EncodeCp1255(c.logical));
        const std::string modern = Modern(c.logical, c.settings);
        const QString got = renderer.BodyText(modern);
        const bool equal = expected == got;
        const QStringList expectedWords = expected.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        words += static_cast<size_t>(expectedWords.size());
        const size_t pageKept =
            equal ? static_cast<size_t>(expectedWords.size())
                  : WordsInOrder(expectedWords, got.split(QLatin1Char(' '), Qt::SkipEmptyParts));
        wordsKept += pageKept;
        same += equal ? 1 : 0;
        ++total;
        auto& group = groups[c.group];
        group.first += equal ? 1 : 0;
        ++group.second;
        std::string cause;
        bool lost = false;
        if (!equal) {
            const QStringList gotWords = Words(got);
            const qsizetype at = FirstDifference(expectedWords, gotWords);
            const auto laterWith = [&](const std::string& page, const ConversionSettings& s) {
                const QStringList e = page == c.logical
                                          ? expectedWords
                                          : Words(renderer.BodyText(Utf8Codec::EncodeCp1255(page)));
                const QStringList g = Words(renderer.BodyText(Modern(page, s)));
                return e == g || FirstDifference(e, g) > at;
            };
            cause = "unexplained";
            std::string noNbsp = c.logical;
            for (size_t k = noNbsp.find("&nbsp;"); k != std::string::npos;
                 k = noNbsp.find("&nbsp;", k + 1)) {
                noNbsp.replace(k, 6, " ");
            }
            std::string noTags = c.logical;
            for (const std::string_view tag : {"<b>", "</b>", "<a href='page.htm'>", "</a>"}) {
                for (size_t k = noTags.find(tag); k != std::string::npos; k = noTags.find(tag, k)) {
                    noTags.erase(k, tag.size());
                }
            }
            ConversionSettings breaking = c.settings;
            breaking.BreakLines = 1;
            const QString word = at < gotWords.size() ? gotWords[at] : QString();
            const QString wanted = at < expectedWords.size() ? expectedWords[at] : QString();
            // A word without a Hebrew letter from further on, in place of the
            // page's word or glued to it.
            bool moved = false;
            if (!HasHebrew(wanted)) {
                // The page's word went further on, whole or glued to another.
                for (qsizetype j = at + 1; j < std::min(gotWords.size(), at + 60) && !moved; ++j) {
                    moved = gotWords[j] == wanted ||
                            (gotWords[j] != expectedWords.value(j) && gotWords[j].contains(wanted));
                }
            }
            for (qsizetype j = at + 1; j < std::min(expectedWords.size(), at + 60) && !moved; ++j) {
                // A word from further on took its place, whole or glued to it.
                const QString& later = expectedWords[j];
                moved = !HasHebrew(later) &&
                        (word == later || word.startsWith(later) || word.endsWith(later));
            }
            const QString next = at + 1 < expectedWords.size() ? expectedWords[at + 1] : QString();
            if (noNbsp != c.logical && laterWith(noNbsp, c.settings)) {
                cause = "nbsp-dropped";
            } else if (noTags != c.logical && laterWith(noTags, c.settings)) {
                cause = "tag-in-run";
            } else if (c.settings.BreakLines == 0 && laterWith(c.logical, breaking)) {
                cause = "no-breaks";
            } else if (c.settings.BreakLines != 0 &&
                       InLongNonHebrewLine(c.logical, c.settings.BreakLinesAt, wanted)) {
                cause = "long-line";
            } else if (!next.isEmpty() && word.startsWith(wanted + next)) {
                cause = "run-space";
            } else if (moved) {
                cause = "line-end-as-cut";
            } else if (LettersAndDigits(word + gotWords.value(at + 1))
                           .startsWith(LettersAndDigits(wanted))) {
                cause = "punct-side";
            }
            ++causes[cause];
            // The proof: the modern page, as a logical page, made visual with
            // the page's own settings. The same visual bytes as the page's
            // mean the visual page cannot tell the two apart: information
            // was lost. Other bytes mean to-modern chose a page the visual
            // conversion does not turn into these bytes: its own fault.
            bool exact = true;
            std::string back = ModernAsLogical(modern, c.logical, exact);
            if (renderer.BodyText(Utf8Codec::EncodeCp1255(back)) != got) {
                exact = false;  // the undoing changed what a browser shows
            }
            inexact += exact ? 0 : 1;
            std::string visual = c.logical;
            conversion::ToVisual(visual, c.settings, conversion::VisualScope::WholeText);
            conversion::ToVisual(back, c.settings, conversion::VisualScope::WholeText);
            lost = back == visual;
            auto& proof = proofs[cause];
            (lost ? proof.first : proof.second) += 1;
            if (!lost) {
                faults.push_back(std::to_string(total - 2) + " (" + cause + ")");
            }
        }
        if (pageTable) {
            // page, the same, lost, fault, words kept of the page's words
            std::printf("page %d %d %d %d %zu %zu\n", total - 2, equal ? 1 : 0, lost ? 1 : 0,
                        !equal && !lost ? 1 : 0, pageKept,
                        static_cast<size_t>(expectedWords.size()));
        }
        if (!equal && show-- > 0) {
            int at = 0;
            while (at < expected.size() && at < got.size() && expected[at] == got[at]) {
                ++at;
            }
            std::printf(
                "differs (page %d, %s, width %d, %s, %s) at %d:\n  page:   %s\n  modern: %s\n",
                total - 2, c.group.c_str(), c.settings.BreakLinesAt, cause.c_str(),
                lost ? "lost" : "fault", at,
                expected.mid(std::max(0, at - 40), 120).toStdString().c_str(),
                got.mid(std::max(0, at - 40), 120).toStdString().c_str());
        }
    };

    QFile sample(QStringLiteral(MIRVAL_SOURCE_DIR "/data/sample.txt"));
    if (sample.open(QIODevice::ReadOnly)) {
        Case c;
        c.logical = sample.readAll().toStdString();
        c.group = "data/sample.txt";
        check(c);
    }
    for (int seed = 0; seed < pages; ++seed) {
        check(MakeCase(static_cast<uint64_t>(seed)));
    }
    for (const auto& [name, counts] : groups) {
        std::printf("%-22s %4d of %4d the same\n", name.c_str(), counts.first, counts.second);
    }
    std::printf("total                  %4d of %4d the same (%.1f%%)\n", same, total,
                100.0 * same / std::max(1, total));
    std::printf(
        "words in order         %zu of %zu (%.2f%%)\n", wordsKept, words,
        100.0 * static_cast<double>(wordsKept) / static_cast<double>(std::max<size_t>(1, words)));
    const int differing = total - same;
    causes.try_emplace("unexplained", 0);
    int lostPages = 0;
    for (const auto& [cause, count] : causes) {
        const auto& [lost, fault] = proofs[cause];
        lostPages += lost;
        std::printf("cause %-16s %4d of %4d differing (%5.1f%%): %4d lost, %4d fault\n",
                    cause.c_str(), count, differing, 100.0 * count / std::max(1, differing), lost,
                    fault);
    }
    std::printf("proven lost            %4d of %4d pages (%.1f%%)\n", lostPages, total,
                100.0 * lostPages / std::max(1, total));
    std::printf("to-modern's faults     %4d of %4d pages (%.1f%%)\n", differing - lostPages, total,
                100.0 * (differing - lostPages) / std::max(1, total));
    std::printf("inexact undoing        %4d pages\n", inexact);
    if (!faults.empty()) {
        std::printf("fault pages:");
        for (const std::string& fault : faults) {
            std::printf(" %s", fault.c_str());
        }
        std::printf("\n");
    }
    return 0;
}
