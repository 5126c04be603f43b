// The clipboard paste commands: paste visual, paste visual and copy, paste table.
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <algorithm>

#include "convert/tablebuilder.h"
#include "document/editortext.h"
#include "document/hebdoc.h"
#include "document/ioptionssheet.h"
#include "text/editorcodec.h"

namespace {

// Stores a document's conversion settings back when it goes, however the
// command that changed them ends.
class ConversionSettingsKeeper {
public:
    explicit ConversionSettingsKeeper(CHebDoc& doc) : m_doc(doc) {
        m_doc.GetConversionSettings(m_saved);
    }
    ~ConversionSettingsKeeper() { m_doc.SetConversionSettings(m_saved); }
    ConversionSettingsKeeper(const ConversionSettingsKeeper&) = delete;
    ConversionSettingsKeeper& operator=(const ConversionSettingsKeeper&) = delete;

    const ConversionSettings& Saved() const { return m_saved; }

private:
    CHebDoc& m_doc;
    ConversionSettings m_saved;
};

// What the start common to the paste commands hands on.
struct PasteStart {
    std::string text;     // the clipboard's text
    long start = 0;       // where the replaced bytes begin
    long replaceEnd = 0;  // where they end
    long end = 0;         // start plus the length of the clipboard's text
};

}  // namespace

std::optional<std::string> CHebDoc::ReadClipboardText() {
    const QClipboard* clipboard = QGuiApplication::clipboard();
    const QMimeData* data = clipboard != nullptr ? clipboard->mimeData() : nullptr;
    if (data == nullptr || !data->hasText()) {
        return std::nullopt;
    }
    std::string text = EditorCodec::Encode(data->text(), LineBreak::CrLf);
    if (const size_t nul = text.find('\0'); nul != std::string::npos) {
        text.resize(nul);  // the text ends at its first NUL, as a C string does
    }
    return text;
}

namespace {

// The start of the paste commands on the bytes from start to end: the
// clipboard's text, and the undo text set to what a plain paste would have
// made, so that undoing the conversion leaves the plain paste. Nothing when
// there is nothing to paste.
std::optional<PasteStart> BeginPaste(CHebDoc& doc, long start, long end) {
    std::optional<std::string> clipboard = CHebDoc::ReadClipboardText();
    if (!clipboard || clipboard->empty()) {
        return std::nullopt;
    }
    PasteStart paste;
    paste.text = std::move(*clipboard);
    const std::string whole = doc.GetText();
    const long length = static_cast<long>(whole.size());
    paste.start = std::clamp(start, 0L, length);
    paste.replaceEnd = std::clamp(end, paste.start, length);
    std::string plain;
    plain.reserve(whole.size() - static_cast<size_t>(paste.replaceEnd - paste.start) +
                  paste.text.size());
    plain.append(whole, 0, static_cast<size_t>(paste.start));
    plain.append(paste.text);
    plain.append(whole, static_cast<size_t>(paste.replaceEnd));
    doc.SetUndoText(plain);
    paste.end = paste.start + static_cast<long>(paste.text.size());
    return paste;
}

}  // namespace

bool CHebDoc::PasteVisual(long& start, long& end) {
    std::optional<PasteStart> paste = BeginPaste(*this, start, end);
    if (!paste) {
        return false;
    }
    long from = paste->start;
    long to = paste->end;
    const std::string visual =
        ConvertToVisual(std::move(paste->text), from, to, false, paste->replaceEnd);
    if (visual.empty()) {
        return false;  // nothing to convert: the text stays as it was
    }
    start = from;
    end = to;
    return true;
}

void CHebDoc::OnPasteVisual() {
    long start = 0;
    long end = 0;
    if (GetViewSel(start, end) && PasteVisual(start, end)) {
        SetViewSel(start, end);
    }
}

void CHebDoc::OnPasteVisualCopy() {
    // Only an inserted text replaces what the clipboard holds.
    long start = 0;
    long end = 0;
    if (GetViewSel(start, end) && PasteVisual(start, end)) {
        SetViewSel(start, end);
        GetView()->Copy();
    }
}

bool CHebDoc::PasteTable(long& start, long& end) {
    TableSettings table;
    GetTableSettings(table);
    if (table.TableDisplay != 0) {
        ShowOptions(kTablePage);
        GetTableSettings(table);  // confirmed or not, the tags as they stand
    }

    // For the time of the paste: no paragraph strings, TABs kept. The sheet
    // is not shown again at its conversion page: the table's conversion uses
    // none of that page's values, and confirming it would store the changed
    // copy in the profile.
    const ConversionSettingsKeeper keeper(*this);
    ConversionSettings changed = TableBuilder::PasteSettings(keeper.Saved());
    changed.ConvertDisplay = 0;
    SetConversionSettings(changed);

    std::optional<PasteStart> paste = BeginPaste(*this, start, end);
    if (!paste) {
        return false;
    }
    long from = paste->start;
    long to = paste->end;
    const std::string visual = ConvertToVisual(std::move(paste->text), from, to, true);
    const std::string text =
        TableBuilder::Build(visual, TableTags{table.TableTag, table.TRTag, table.TDTag});
    ReplaceRange(paste->start, paste->replaceEnd, text);
    start = paste->start;
    end = start + static_cast<long>(text.size());
    return true;
}

void CHebDoc::OnPasteTable() {
    long start = 0;
    long end = 0;
    if (GetViewSel(start, end) && PasteTable(start, end)) {
        SetViewSel(start, end);
    }
}

void CHebDoc::OnUpdatePaste(CCmdUI& ui) {
    const QClipboard* clipboard = QGuiApplication::clipboard();
    if (clipboard == nullptr) {
        return;  // no clipboard to ask: the state stays as it is
    }
    const QMimeData* data = clipboard->mimeData();
    ui.Enable(data != nullptr && data->hasText());
}
