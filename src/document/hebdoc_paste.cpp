// The clipboard paste commands: paste visual, paste visual and copy, paste table.
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

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
    std::string text;  // the clipboard's text
    long start = 0;    // where the selection began
    long end = 0;      // start plus the length of the clipboard's text
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

// The start of the paste commands: the clipboard's text, and the undo text
// set to what a plain paste would have made, so that undoing the conversion
// leaves the plain paste. Nothing when there is no editor or nothing to paste.
std::optional<PasteStart> BeginPaste(CHebDoc& doc) {
    IEditorText* editor = doc.GetView();
    if (editor == nullptr) {
        return std::nullopt;
    }
    std::optional<std::string> clipboard = CHebDoc::ReadClipboardText();
    if (!clipboard || clipboard->empty()) {
        return std::nullopt;
    }
    PasteStart paste;
    paste.text = std::move(*clipboard);
    const std::string whole = doc.GetText();
    editor->GetSel(paste.start, paste.end);
    std::string plain;
    plain.reserve(whole.size() - static_cast<size_t>(paste.end - paste.start) + paste.text.size());
    plain.append(whole, 0, static_cast<size_t>(paste.start));
    plain.append(paste.text);
    plain.append(whole, static_cast<size_t>(paste.end));
    doc.SetUndoText(plain);
    paste.end = paste.start + static_cast<long>(paste.text.size());
    return paste;
}

}  // namespace

namespace {

// Paste visual; false when nothing was inserted.
bool PasteVisual(CHebDoc& doc) {
    std::optional<PasteStart> paste = BeginPaste(doc);
    if (!paste) {
        return false;
    }
    long start = paste->start;
    long end = paste->end;
    const std::string visual = doc.ConvertToVisual(std::move(paste->text), start, end, false);
    IEditorText* editor = doc.GetView();
    if (visual.empty() || editor == nullptr) {
        return false;  // nothing to convert: the selection stays as it was
    }
    editor->SetSel(start, end);
    return true;
}

}  // namespace

void CHebDoc::OnPasteVisual() {
    PasteVisual(*this);
}

void CHebDoc::OnPasteVisualCopy() {
    // Only an inserted text replaces what the clipboard holds.
    if (PasteVisual(*this)) {
        GetView()->Copy();
    }
}

void CHebDoc::OnPasteTable() {
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

    std::optional<PasteStart> paste = BeginPaste(*this);
    if (!paste) {
        return;
    }
    long start = paste->start;
    long end = paste->end;
    const std::string visual = ConvertToVisual(std::move(paste->text), start, end, true);
    const std::string text =
        TableBuilder::Build(visual, TableTags{table.TableTag, table.TRTag, table.TDTag});
    IEditorText* editor = GetView();
    if (editor == nullptr) {
        return;
    }
    editor->ReplaceSel(text, true);
    editor->SetSel(start, start + static_cast<long>(text.size()));
}

void CHebDoc::OnUpdatePaste(CCmdUI& ui) {
    const QClipboard* clipboard = QGuiApplication::clipboard();
    if (clipboard == nullptr) {
        return;  // no clipboard to ask: the state stays as it is
    }
    const QMimeData* data = clipboard->mimeData();
    ui.Enable(data != nullptr && data->hasText());
}
