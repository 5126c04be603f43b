#include "document/hebdoc.h"

#include <QFileInfo>
#include <QPlainTextDocumentLayout>
#include <QTextDocument>

#include "document/editortext.h"
#include "framework/view.h"

namespace {
constexpr int kFileSaveAs = 57604;
constexpr int kFileSaveAsTemplate = 32809;
constexpr int kOptions = 32796;
constexpr int kConvertToVisual = 32771;
constexpr int kConvertToLogical = 32772;
constexpr int kConvertDos = 32787;
constexpr int kConvertSemiLogical = 32788;
constexpr int kSpecialChars = 32789;
constexpr int kLowerTags = 32804;
constexpr int kUndoConvert = 32792;
constexpr int kPasteVisual = 32776;
constexpr int kPasteVisualCopy = 32791;
constexpr int kPasteTable = 32790;
constexpr int kBold = 32779;
constexpr int kItalic = 32780;
constexpr int kUnderline = 32781;
constexpr int kFontTag = 32803;
constexpr int kLink = 32794;
constexpr int kLinkKey = 32802;
constexpr int kAlignLeft = 32784;
constexpr int kAlignCenter = 32785;
constexpr int kAlignRight = 32786;
constexpr int kInsertImage = 32793;
constexpr int kInsertTable = 32795;
constexpr int kBrowse = 32773;

const MessageEntry<CHebDoc> kMessageMap[] = {
    {kFileSaveAs, &CHebDoc::OnFileSaveAs, nullptr},
    {kFileSaveAsTemplate, &CHebDoc::OnFileSaveAsTemplate, nullptr},
    {kOptions, &CHebDoc::OnOptions, nullptr},
    {kConvertToVisual, &CHebDoc::OnConvertToVisual, &CHebDoc::OnUpdateConvertToVisual},
    {kConvertToLogical, &CHebDoc::OnConvertToLogical, &CHebDoc::OnUpdateConvertToLogical},
    {kConvertDos, &CHebDoc::OnConvertDos, &CHebDoc::OnUpdateConvertDos},
    {kConvertSemiLogical, &CHebDoc::OnConvertSemiLogical, &CHebDoc::OnUpdateConvertText},
    {kSpecialChars, &CHebDoc::OnReplaceSpecialChars, &CHebDoc::OnUpdateConvertText},
    {kLowerTags, &CHebDoc::OnLowerTags, &CHebDoc::OnUpdateConvertText},
    {kUndoConvert, &CHebDoc::OnUndoConvert, &CHebDoc::OnUpdateUndoConvert},
    {kPasteVisual, &CHebDoc::OnPasteVisual, &CHebDoc::OnUpdatePaste},
    {kPasteVisualCopy, &CHebDoc::OnPasteVisualCopy, &CHebDoc::OnUpdatePaste},
    {kPasteTable, &CHebDoc::OnPasteTable, &CHebDoc::OnUpdatePaste},
    {kBold, &CHebDoc::OnBold, nullptr},
    {kItalic, &CHebDoc::OnItalic, nullptr},
    {kUnderline, &CHebDoc::OnUnderline, nullptr},
    {kFontTag, &CHebDoc::OnFontTag, nullptr},
    {kLink, &CHebDoc::OnLink, nullptr},
    {kLinkKey, &CHebDoc::OnLink, nullptr},
    {kAlignLeft, &CHebDoc::OnAlignLeft, nullptr},
    {kAlignCenter, &CHebDoc::OnAlignCenter, nullptr},
    {kAlignRight, &CHebDoc::OnAlignRight, nullptr},
    {kInsertImage, &CHebDoc::OnInsertImage, nullptr},
    {kInsertTable, &CHebDoc::OnInsertTable, nullptr},
    {kBrowse, &CHebDoc::OnBrowse, &CHebDoc::OnUpdatePreview},
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

IEditorText* CHebDoc::GetView() const { return dynamic_cast<IEditorText*>(GetFirstView()); }

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
    IEditorText* editor = GetView();
    if (editor == nullptr) {
        return false;
    }
    long start = 0;
    long end = 0;
    editor->GetSel(start, end);
    return start < end;
}

bool CHebDoc::HasText() const { return !m_pTextDocument->isEmpty(); }

bool CHebDoc::OnCmdMsg(int id) {
    return DispatchCommand<CHebDoc>(this, kMessageMap, id) || CDocument::OnCmdMsg(id);
}

bool CHebDoc::OnUpdateCmdMsg(CCmdUI& ui) {
    return DispatchUpdate<CHebDoc>(this, kMessageMap, ui) || CDocument::OnUpdateCmdMsg(ui);
}
