// The view's own commands: go to line, DOS display, the line indicator and
// the double-click that opens a linked page.
#include <QDir>
#include <QMouseEvent>
#include <QTextDocument>
#include <optional>
#include <string>

#include "document/hebdoc.h"
#include "framework/doctemplate.h"
#include "text/codepage862.h"
#include "text/editorcodec.h"
#include "view/gotolinedialog.h"
#include "view/hebview.h"
#include "view/viewtext.h"

void CHebView::OnGoToLine() {
    CGoToLineDialog dialog(this);
    dialog.m_nLineNumber = LineFromChar(-1) + 1;
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    // Line 0 asks for line -1, the caret's own line; lines before it and
    // beyond the last have no start.
    if (dialog.m_nLineNumber < 0) {
        return;
    }
    const long index = LineIndex(dialog.m_nLineNumber - 1);
    if (index >= 0) {
        SetSel(index, index);
    }
}

void CHebView::OnUpdateGoToLine(CCmdUI& ui) {
    ui.Enable(!document()->isEmpty());
}

void CHebView::OnDosDisplay() {
    if (CHebDoc* doc = GetHebDoc(); doc != nullptr && !doc->CheckCodePageForm(true)) {
        return;
    }
    std::string text = GetWindowText();
    if (text.empty()) {
        return;
    }
    // One byte mapping serves every direction: showing a DOS page, showing it
    // again and saving it all swap the letters of the two code pages, so the
    // page comes back exactly as it was loaded. What the mapping meant is the
    // flag's to tell: a page shown converted goes back to its own bytes; a
    // page with DOS letters is shown converted; a page without any is turned
    // into DOS bytes.
    CHebDoc* doc = GetHebDoc();
    const bool shown = doc != nullptr && doc->IsDosDisplay();
    const bool toWindows = !shown && viewtext::HoldsDosLetter(text);
    CodePage862::SwapLetters(text);
    if (doc != nullptr) {
        doc->SetDosDisplay(toWindows);
    }
    SetWindowText(text);
}

void CHebView::OnUpdateDosDisplay(CCmdUI& ui) {
    const CHebDoc* doc = GetHebDoc();
    const bool dosDisplay = doc != nullptr && doc->IsDosDisplay();
    ui.Enable(dosDisplay || Facts().hasDosLetter);
    ui.SetCheck(dosDisplay);
}

void CHebView::OnUpdateLineIndicator(CCmdUI& ui) {
    QString text = tr("Ln %d/%d");
    for (const int number : {LineFromChar(-1) + 1, GetLineCount()}) {
        const qsizetype at = text.indexOf(QLatin1String("%d"));
        if (at >= 0) {
            text.replace(at, 2, QString::number(number));
        }
    }
    ui.Enable(true);
    ui.SetText(text);
}

bool CHebView::OpenLinkAt(long offset) {
    CHebDoc* doc = GetHebDoc();
    CDocTemplate* docTemplate = doc != nullptr ? doc->GetDocTemplate() : nullptr;
    if (docTemplate == nullptr || offset < 0) {
        return false;
    }
    const std::optional<std::string> target =
        viewtext::LinkTarget(GetWindowText(), static_cast<size_t>(offset));
    if (!target) {
        return false;
    }
    const QString& docPath = doc->GetPathName();
    const QString folder = docPath.left(docPath.lastIndexOf(u'/') + 1);
    // "../" steps out of the document's folder as path resolution has it.
    const QString path = QDir::cleanPath(folder + EditorCodec::Decode(*target, LineBreak::CrLf));
    docTemplate->OpenDocumentFile(path);
    return true;
}

void CHebView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        // The first click of the two has put the caret at the clicked place.
        long start = 0;
        long end = 0;
        GetSel(start, end);
        if (OpenLinkAt(start)) {
            event->accept();
            return;
        }
    }
    QPlainTextEdit::mouseDoubleClickEvent(event);
}
