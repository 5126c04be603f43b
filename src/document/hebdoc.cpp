#include "document/hebdoc.h"

#include <QFileInfo>
#include <QPlainTextDocumentLayout>
#include <QTextDocument>

#include "document/editortext.h"
#include "framework/commandids.h"
#include "framework/view.h"

namespace {

const MessageEntry<CHebDoc> kMessageMap[] = {
    {CommandId::FileSaveAs, &CHebDoc::OnFileSaveAs, nullptr},
    {CommandId::FileSaveAsTemplate, &CHebDoc::OnFileSaveAsTemplate, nullptr},
    {CommandId::Options, &CHebDoc::OnOptions, nullptr},
    {CommandId::ConvertToVisual, &CHebDoc::OnConvertToVisual, &CHebDoc::OnUpdateConvertToVisual},
    {CommandId::ConvertToLogical, &CHebDoc::OnConvertToLogical, &CHebDoc::OnUpdateConvertToLogical},
    {CommandId::ConvertDos, &CHebDoc::OnConvertDos, &CHebDoc::OnUpdateConvertDos},
    {CommandId::ConvertSemiLogical, &CHebDoc::OnConvertSemiLogical, &CHebDoc::OnUpdateConvertText},
    {CommandId::SpecialChars, &CHebDoc::OnReplaceSpecialChars, &CHebDoc::OnUpdateConvertText},
    {CommandId::LowerTags, &CHebDoc::OnLowerTags, &CHebDoc::OnUpdateConvertText},
    {CommandId::ConvertToModern, &CHebDoc::OnConvertToModern, &CHebDoc::OnUpdateConvertToModern},
    {CommandId::UndoConvert, &CHebDoc::OnUndoConvert, &CHebDoc::OnUpdateUndoConvert},
    {CommandId::PasteVisual, &CHebDoc::OnPasteVisual, &CHebDoc::OnUpdatePaste},
    {CommandId::PasteVisualCopy, &CHebDoc::OnPasteVisualCopy, &CHebDoc::OnUpdatePaste},
    {CommandId::PasteTable, &CHebDoc::OnPasteTable, &CHebDoc::OnUpdatePaste},
    {CommandId::Bold, &CHebDoc::OnBold, nullptr},
    {CommandId::Italic, &CHebDoc::OnItalic, nullptr},
    {CommandId::Underline, &CHebDoc::OnUnderline, nullptr},
    {CommandId::FontTag, &CHebDoc::OnFontTag, nullptr},
    {CommandId::Link, &CHebDoc::OnLink, nullptr},
    {CommandId::LinkKey, &CHebDoc::OnLink, nullptr},
    {CommandId::AlignLeft, &CHebDoc::OnAlignLeft, nullptr},
    {CommandId::AlignCenter, &CHebDoc::OnAlignCenter, nullptr},
    {CommandId::AlignRight, &CHebDoc::OnAlignRight, nullptr},
    {CommandId::InsertImage, &CHebDoc::OnInsertImage, nullptr},
    {CommandId::InsertTable, &CHebDoc::OnInsertTable, nullptr},
    {CommandId::Browse, &CHebDoc::OnBrowse, &CHebDoc::OnUpdatePreview},
    {CommandId::OrderIndicator, nullptr, &CHebDoc::OnUpdateOrderIndicator},
    {CommandId::EncodingCp1255, &CHebDoc::OnEncodingCp1255, &CHebDoc::OnUpdateEncodingCp1255},
    {CommandId::EncodingUtf8, &CHebDoc::OnEncodingUtf8, &CHebDoc::OnUpdateEncodingUtf8},
    {CommandId::EncodingIndicator, nullptr, &CHebDoc::OnUpdateEncodingIndicator},
};

// The commands that take the text as code page 1255 bytes, and whether they
// take all of it (the conversions, pastes and special characters keep the
// whole text for their undo; the preview writes it) or only the selection
// (the markup that wraps it). CHebDoc::CheckCodePageForm runs before them.
struct CodePageCommand {
    int id;
    bool wholeText;
};
constexpr CodePageCommand kCodePageCommands[] = {
    {CommandId::ConvertToVisual, true}, {CommandId::ConvertToLogical, true},
    {CommandId::ConvertDos, true},      {CommandId::ConvertSemiLogical, true},
    {CommandId::SpecialChars, true},    {CommandId::LowerTags, true},
    {CommandId::ConvertToModern, true}, {CommandId::PasteVisual, true},
    {CommandId::PasteVisualCopy, true}, {CommandId::PasteTable, true},
    {CommandId::Browse, true},          {CommandId::Bold, false},
    {CommandId::Italic, false},         {CommandId::Underline, false},
    {CommandId::FontTag, false},        {CommandId::Link, false},
    {CommandId::LinkKey, false},        {CommandId::AlignLeft, false},
    {CommandId::AlignCenter, false},    {CommandId::AlignRight, false},
};

// The marker that a modified document with a path carries in its title.
const QString kModifiedMarker = QStringLiteral(" *");
}  // namespace

CHebDoc::CHebDoc(QObject* parent) : CDocument(parent), m_pTextDocument(new QTextDocument(this)) {
    // Every view shows this one text; plain-text layout keeps large pages fast.
    m_pTextDocument->setDocumentLayout(new QPlainTextDocumentLayout(m_pTextDocument));
    m_pTextDocument->setUndoRedoEnabled(true);
    LoadSettings();
}

CHebDoc::~CHebDoc() = default;

IEditorText* CHebDoc::GetView() const {
    return dynamic_cast<IEditorText*>(GetFirstView());
}

void CHebDoc::SetDocModified(bool modified) {
    m_bModifiedCopy = modified;
    SetModifiedFlag(modified);
    if (GetPathName().isEmpty()) {
        return;  // an untitled document's title stays as it is
    }
    // The marker is recognised at the end of the title only: on this system
    // a file name may itself hold a "*".
    if (modified && !GetTitle().endsWith(kModifiedMarker)) {
        SetTitle(GetTitle() + kModifiedMarker);
    } else if (!modified) {
        RemoveTitleMarker();
    }
}

void CHebDoc::RemoveTitleMarker() {
    QString title = GetTitle();
    if (!title.endsWith(kModifiedMarker)) {
        return;
    }
    title.chop(kModifiedMarker.size());
    while (!title.isEmpty() && title.back().isSpace()) {
        title.chop(1);
    }
    SetTitle(title);
}

QString CHebDoc::GetDocExt() const {
    // The first "." of the file name: a folder such as "~/.config" or
    // "my.site" says nothing about the document's kind.
    const QString name = QFileInfo(GetPathName()).fileName();
    const qsizetype dot = name.indexOf(QLatin1Char('.'));
    if (dot <= 0 || name.size() - dot - 1 < 3) {
        return QString();
    }
    return name.mid(dot + 1, 3).toLower();
}

QString CHebDoc::GetDocumentFolder() const {
    const QString& path = GetPathName();
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    if (slash <= 0) {
        return QString();
    }
    return path.left(slash + 1);
}

bool CHebDoc::HasSelection() const {
    long start = 0;
    long end = 0;
    return GetViewSel(start, end) && start < end;
}

bool CHebDoc::HasText() const {
    return m_bTextPending || !m_pTextDocument->isEmpty();
}

bool CHebDoc::OnCmdMsg(int id) {
    // A command that comes before the window's first display acts on the
    // whole text, not on the empty one.
    WritePendingText();
    for (const CodePageCommand& command : kCodePageCommands) {
        if (command.id == id && !CheckCodePageForm(command.wholeText)) {
            return true;  // refused, with its message: nothing changes
        }
    }
    return DispatchCommand<CHebDoc>(this, kMessageMap, id) || CDocument::OnCmdMsg(id);
}

bool CHebDoc::OnUpdateCmdMsg(CCmdUI& ui) {
    return DispatchUpdate<CHebDoc>(this, kMessageMap, ui) || CDocument::OnUpdateCmdMsg(ui);
}
