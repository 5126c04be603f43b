#include "convert/conversionchain.h"

#include <utility>

#include "convert/convert.h"
#include "convert/convertinto.h"
#include "convert/textsearch.h"

namespace conversion {

namespace {
// The tab setting is a flag: any non-zero value means tabs become spaces.
int TabMode(const ConversionSettings& settings) {
    return settings.RemoveTag != 0 ? 1 : 0;
}
}  // namespace

bool ToVisual(std::string& text, const ConversionSettings& settings, VisualScope scope) {
    // A Hebrew letter is usually found at once; only a text without one is
    // searched for DOS letters.
    const bool hebrew = kHebrewLetterSet.AnyIn(text);
    if (!hebrew && !kDosLetterSet.AnyIn(text)) {
        return false;
    }
    if (hebrew && scope == VisualScope::WholeText) {
        {
            // The text is not needed once it is reversed: its buffer goes
            // before the broken lines are written, so that the text is never
            // held more than twice.
            std::string visual;
            convertinto::LogicalToVisual(text, visual, TabMode(settings), false);
            std::string().swap(text);
            convertinto::WrapVisualLines(visual, text, settings.BreakLinesAt, settings.BreakLines,
                                         settings.AddToBrokenLine, settings.AddToHebParagraph,
                                         settings.BeforeHebParagraph, settings.AfterHebParagraph,
                                         0);
        }
        // Paragraphs are marked once the reversed copy is gone, so the text
        // is never held more than twice.
        if (settings.TwoCRLFPara != 0) {
            convertinto::MarkParagraphs(text, settings.AddToBrokenLine);
        }
        return true;
    }
    if (hebrew) {
        CConvert::LogicalToVisual(text, TabMode(settings), scope == VisualScope::Raw);
    } else {
        CConvert::DosToWindows(text);
    }
    if (scope == VisualScope::Raw) {
        return true;
    }
    const bool shortLine = static_cast<long long>(text.size()) < settings.BreakLinesAt &&
                           text.find_first_of("\r\n") == std::string::npos;
    if (scope == VisualScope::Selection && shortLine) {
        // A short piece of one line is converted in place: no line break
        // string and no paragraph strings.
        text.append("\r\n");
        CConvert::WrapVisualLines(text, settings.BreakLinesAt, 0, {}, settings.AddToHebParagraph,
                                  {}, {}, settings.TwoCRLFPara);
        TrimTrailingWhiteSpace(text);
    } else {
        CConvert::WrapVisualLines(text, settings.BreakLinesAt, settings.BreakLines,
                                  settings.AddToBrokenLine, settings.AddToHebParagraph,
                                  settings.BeforeHebParagraph, settings.AfterHebParagraph,
                                  settings.TwoCRLFPara);
    }
    return true;
}

void ToLogical(std::string& text, const ConversionSettings& settings) {
    CConvert::VisualHtmlToLines(text, kHebrewLetterSet);
    CConvert::LogicalToVisual(text, TabMode(settings), false);
}

bool ToModern(std::string& text, const ConversionSettings& settings, bool stripParagraphs) {
    if (!kHebrewLetterSet.AnyIn(text)) {
        return false;
    }
    ModernPageRules rules;
    rules.breakString = settings.BreakLines > 0 ? settings.AddToBrokenLine : std::string();
    rules.beforeParagraph = settings.BeforeHebParagraph;
    rules.afterParagraph = settings.AfterHebParagraph;
    rules.stripParagraphs = stripParagraphs;
    rules.width = settings.BreakLinesAt;
    CConvert::VisualHtmlToModern(text, rules);
    return true;
}

void ToDos(std::string& text) {
    CConvert::VisualHtmlToLines(text, kHebrewLetterSet);
    CConvert::MakeDosText(text, kHebrewLetterSet);
}

void ToggleSemiLogical(std::string& text) {
    CConvert::ToggleSemiLogical(text, kHebrewLetterSet);
}

void LowerTags(std::string& text) {
    text = CConvert::LowerTagCase(std::move(text));
}

}  // namespace conversion
