// The conversion commands, their undo and special-character replacement.
#include "convert/conversionchain.h"
#include "convert/specialchars.h"
#include "document/editortext.h"
#include "document/hebdoc.h"
#include "document/ioptionssheet.h"
#include "framework/filebytes.h"
#include "framework/localpath.h"
#include "framework/programfolder.h"
#include "framework/uiservices.h"

#include <QFile>

namespace {

void ToLogicalWork(std::string& text, const ConversionSettings& settings) {
    conversion::ToLogical(text, settings);
}
void ToDosWork(std::string& text, const ConversionSettings&) {
    conversion::ToDos(text);
}
void ToggleWork(std::string& text, const ConversionSettings&) {
    conversion::ToggleSemiLogical(text);
}
void LowerTagsWork(std::string& text, const ConversionSettings&) {
    conversion::LowerTags(text);
}

// Leaves the last-conversion kind as it is (lowering tags is no conversion).
constexpr int kKeepLastConvert = -1;

}  // namespace

std::string CHebDoc::TakeUndoText() {
    std::string text;
    text.swap(m_strUndoText);
    m_nLastConvert = kNotConverted;
    return text;
}

std::string CHebDoc::ConvertToVisual(std::string text, long& start, long& end, bool raw) {
    return ConvertToVisual(std::move(text), start, end, raw, end);
}

std::string CHebDoc::ConvertToVisual(std::string text, long& start, long& end, bool raw,
                                     long replaceEnd) {
    ConversionSettings settings;
    GetConversionSettings(settings);
    if (settings.ConvertDisplay != 0) {
        ShowOptions(kConversionPage);
        GetConversionSettings(settings);  // confirmed or not, the settings as they stand
    }
    if (text.empty()) {
        return text;
    }
    const bool selection = start < end;
    const conversion::VisualScope scope = raw         ? conversion::VisualScope::Raw
                                          : selection ? conversion::VisualScope::Selection
                                                      : conversion::VisualScope::WholeText;
    bool converted;
    {
        const WaitCursor wait;
        converted = conversion::ToVisual(text, settings, scope);
    }
    if (!converted) {
        // Neither Hebrew nor DOS letters: nothing to convert, nothing to undo.
        text.clear();
        SetUndoText(text);
        return text;
    }
    if (raw) {
        return text;
    }
    const WaitCursor wait;
    if (selection) {
        ReplaceRange(start, replaceEnd, text);
        end = start + static_cast<long>(text.size());
        SetViewSel(start, end);
    } else {
        SetText(text);
    }
    m_nLastConvert = kConvertedToVisual;
    SetDocModified(true);
    return text;
}

void CHebDoc::OnConvertToVisual() {
    const std::string whole = GetText();
    SetUndoText(whole);  // before any test: an empty editor empties the undo text
    long start = 0;
    long end = 0;
    GetViewSel(start, end);
    std::string text =
        start < end ? whole.substr(static_cast<size_t>(start), static_cast<size_t>(end - start))
                    : whole;
    ConvertToVisual(std::move(text), start, end, false);
    DetectTextOrder(GetText());
}

void CHebDoc::RunConversion(void (*work)(std::string&, const ConversionSettings&),
                            int lastConvert) {
    const std::string whole = GetText();
    if (whole.empty()) {
        return;
    }
    long start = 0;
    long end = 0;
    GetViewSel(start, end);
    const WaitCursor wait;
    SetUndoText(whole);
    const bool selection = start < end;
    std::string text =
        selection ? whole.substr(static_cast<size_t>(start), static_cast<size_t>(end - start))
                  : whole;
    work(text, m_conversionSettings);
    if (selection) {
        ReplaceSelection(start, end, text);
    } else {
        SetText(text);
    }
    if (lastConvert != kKeepLastConvert) {
        m_nLastConvert = lastConvert;
    }
    SetDocModified(true);
    DetectTextOrder(selection ? GetText() : text);
}

void CHebDoc::OnConvertToLogical() {
    RunConversion(ToLogicalWork, kConvertedToLogical);
}
void CHebDoc::OnConvertDos() {
    RunConversion(ToDosWork, kConvertedToDos);
}
void CHebDoc::OnConvertSemiLogical() {
    RunConversion(ToggleWork, kToggledSemiLogical);
}
void CHebDoc::OnLowerTags() {
    RunConversion(LowerTagsWork, kKeepLastConvert);
}

void CHebDoc::OnConvertToModern() {
    const std::string whole = GetText();
    if (whole.empty()) {
        return;
    }
    if (!m_bModernPageExplained) {
        const bool go = Ui().AskChoice(
            tr("הדף כולו יומר מ-HTML ויזואלי לדף HTML לוגי לדפדפנים של היום: כל שורה תחזור "
               "לסדר הקריאה, חלקי שורה שנשברו יחוברו, הדף יוכרז כ-UTF-8 ובכיוון ימין לשמאל, "
               "והמסמך יישמר בקידוד UTF-8. אפשר לבטל את ההמרה בפקודת ביטול ההמרה."),
            tr("&המר"), tr("&ביטול"));
        if (!go) {
            return;
        }
        m_bModernPageExplained = true;
    }
    ConversionSettings settings;
    GetConversionSettings(settings);
    std::string text = whole;
    bool converted;
    {
        const WaitCursor wait;
        converted = conversion::ToModern(text, settings, false);
    }
    if (!converted) {
        Ui().ShowMessage(tr("אין בדף אותיות עבריות, ולכן הוא נשאר כפי שהוא."));
        return;
    }
    const WaitCursor wait;
    SetUndoText(whole);
    m_undoEncoding = m_encoding;
    SetText(text);
    m_encoding = TextEncoding::Utf8;
    m_nLastConvert = kConvertedToLogical;
    SetDocModified(true);
    DetectTextOrder(text);
}

// A page stored in visual order, by what the order detector found in it, by
// its visual meta tag, or because it was just converted to visual.
void CHebDoc::OnUpdateConvertToModern(CCmdUI& ui) {
    const orderdetect::OrderEvidence& evidence = GetOrderEvidence();
    ui.Enable(HasText() && (evidence.order == orderdetect::TextOrder::Visual ||
                            evidence.metaVisual || IsLastConvertVisual()));
}

void CHebDoc::OnUndoConvert() {
    if (!CanUndoConvert()) {
        return;
    }
    if (m_undoEncoding) {
        m_encoding = *m_undoEncoding;
        m_undoEncoding.reset();
    }
    const std::string text = TakeUndoText();
    IEditorText* editor = GetView();
    const int firstLine = editor != nullptr ? editor->GetFirstVisibleLine() : 0;
    SetText(text);
    if (editor != nullptr) {
        editor->LineScroll(firstLine);  // the same part of the text stays in view
    }
    SetDocModified(true);
    DetectTextOrder(text);
}

std::string CHebDoc::NextDefField(std::string& line) {
    return specialchars::NextDefField(line);
}

void CHebDoc::OnReplaceSpecialChars() {
    const std::string whole = GetText();
    SetUndoText(whole);
    long start = 0;
    long end = 0;
    GetViewSel(start, end);
    const bool selection = start < end;
    std::string text =
        selection ? whole.substr(static_cast<size_t>(start), static_cast<size_t>(end - start))
                  : whole;
    if (text.empty()) {
        return;
    }
    std::string definitions;
    std::string error;
    const QString path = FindDataFile(QStringLiteral("mirval.def"));
    if (FileBytes::ReadFile(LocalPath(path), definitions, error) != FileBytes::Status::Ok) {
        Ui().ShowMessage(
            QStringLiteral("MIRVAL.DEF not found. Cannot replace special characters."));
        return;
    }
    const WaitCursor wait;
    specialchars::Replace(text, definitions);
    if (selection) {
        ReplaceSelection(start, end, text);
    } else {
        SetText(text);
    }
    SetDocModified(true);
}

// Update handlers: a selection can always be converted; a whole text is not
// converted twice in a row the same way, nor into the kind its file already is.

void CHebDoc::OnUpdateConvertToVisual(CCmdUI& ui) {
    ui.Enable(HasSelection() || (m_nLastConvert != kConvertedToVisual &&
                                 GetDocExt() != QStringLiteral("htm") && HasText()));
}

void CHebDoc::OnUpdateConvertToLogical(CCmdUI& ui) {
    ui.Enable(HasSelection() || (m_nLastConvert != kConvertedToLogical &&
                                 GetDocExt() != QStringLiteral("txt") && HasText()));
}

void CHebDoc::OnUpdateConvertDos(CCmdUI& ui) {
    ui.Enable(HasSelection() || (m_nLastConvert != kConvertedToDos &&
                                 GetDocExt() != QStringLiteral("txt") && HasText()));
}

void CHebDoc::OnUpdateConvertText(CCmdUI& ui) {
    ui.Enable(HasSelection() || HasText());
}

void CHebDoc::OnUpdateUndoConvert(CCmdUI& ui) {
    ui.Enable(CanUndoConvert());
}
