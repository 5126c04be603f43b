// Find and replace, with Hebrew find strings looked for as typed and reversed.
#include <QScreen>
#include <QTextCursor>
#include <algorithm>
#include <string>

#include "document/hebdoc.h"
#include "framework/uiservices.h"
#include "text/editorcodec.h"
#include "view/findreplacedialog.h"
#include "view/hebrewfind.h"
#include "view/hebview.h"

namespace {

std::string Encode(const QString& text) {
    return EditorCodec::Encode(text, LineBreak::CrLf);
}

}  // namespace

CFindReplaceDialog* CHebView::OpenFindDialog(bool replace) {
    std::string initial = GetSelText();
    if (initial.empty()) {
        initial = m_strLastFind;
    }
    // The find field holds one line.
    initial.resize(std::min(initial.size(), initial.find_first_of("\r\n")));
    auto* dialog = new CFindReplaceDialog(
        replace ? CFindReplaceDialog::Kind::Replace : CFindReplaceDialog::Kind::Find,
        EditorCodec::Decode(initial, LineBreak::CrLf), this);
    connect(dialog, &CFindReplaceDialog::Request, this,
            [this, dialog](const FindReplaceRequest& request) {
                OnFindReplaceRequest(dialog, request);
            });
    m_plainSearch.Restart();
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
    return dialog;
}

void CHebView::OnEditFind() {
    m_pFindDialog = OpenFindDialog(false);
}

void CHebView::OnEditReplace() {
    if (m_pReplaceDialog != nullptr) {
        const std::string selected = GetSelText();
        if (!selected.empty() && selected.find_first_of("\r\n") == std::string::npos) {
            m_pReplaceDialog->SetFindString(EditorCodec::Decode(selected, LineBreak::CrLf));
        }
        m_plainSearch.Restart();
        m_pReplaceDialog->raise();
        m_pReplaceDialog->activateWindow();
        return;
    }
    m_pReplaceDialog = OpenFindDialog(true);
}

void CHebView::OnFindReplaceRequest(CFindReplaceDialog* dialog, const FindReplaceRequest& request) {
    m_strLastFind = Encode(request.findWhat);
    if (request.isTerminating) {
        if (m_pFindDialog == dialog) {
            m_pFindDialog = nullptr;
        }
        if (m_pReplaceDialog == dialog) {
            m_pReplaceDialog = nullptr;
        }
        return;
    }
    // Searching and replacing work on the code page 1255 form of the text.
    CHebDoc* doc = GetHebDoc();
    if (doc != nullptr && !doc->CheckCodePageForm(true)) {
        return;
    }
    const std::string& find = m_strLastFind;
    const std::string replace = Encode(request.replaceWith);
    const bool hebrew = hebrewfind::IsHebrew(find);
    const hebrewfind::PlainOptions options{request.matchCase, request.wholeWord};
    if (request.findNext) {
        if (hebrew) {
            bool typed = false;
            FindHebrew(find, typed);  // a miss beeps
        } else if (FindText(find, options)) {
            AdjustDialogPosition(dialog);
        } else {
            TextNotFound();
        }
    } else if (request.replaceCurrent) {
        if (hebrew) {
            ReplaceHebrew(find, replace);
        } else if (FindText(find, options)) {
            ReplaceSel(replace, false);
            AdjustDialogPosition(dialog);
        } else {
            TextNotFound();
        }
    } else if (request.replaceAll) {
        if (hebrew) {
            ReplaceAllHebrew(find, replace);
        } else {
            ReplaceAllText(find, replace, options);
            AdjustDialogPosition(dialog);
        }
    }
}

// Hebrew find strings.

bool CHebView::FindHebrew(const std::string& find, bool& typed) {
    if (find.empty()) {
        return false;
    }
    typed = false;
    long start = 0;
    long end = 0;
    GetSel(start, end);
    const std::optional<hebrewfind::HebrewMatch> match =
        hebrewfind::FindHebrew(GetWindowText(), static_cast<size_t>(end), find);
    if (!match) {
        Ui().Beep();
        return false;
    }
    typed = match->typed;
    const long position = static_cast<long>(match->position);
    SetSel(position, position + static_cast<long>(find.size()));
    return true;
}

bool CHebView::ReplaceHebrew(const std::string& find, const std::string& replace) {
    bool typed = false;
    if (!FindHebrew(find, typed)) {
        return false;
    }
    long start = 0;
    long end = 0;
    GetSel(start, end);
    const std::string text = GetWindowText();
    const std::string replacement = hebrewfind::Replacement(replace, typed);
    std::string result;
    result.reserve(text.size() - static_cast<size_t>(end - start) + replacement.size());
    result.append(text, 0, static_cast<size_t>(start));
    result += replacement;
    result.append(text, static_cast<size_t>(end));
    SetWindowText(result);
    SetSel(start, start + static_cast<long>(replacement.size()));
    if (CHebDoc* doc = GetHebDoc()) {
        doc->SetDocModified(true);
    }
    return true;
}

void CHebView::ReplaceAllHebrew(const std::string& find, const std::string& replace) {
    if (find.empty()) {
        return;
    }
    const WaitCursor wait;
    long start = 0;
    long end = 0;
    GetSel(start, end);
    const hebrewfind::ReplaceAllResult result =
        hebrewfind::ReplaceAllHebrew(GetWindowText(), static_cast<size_t>(end), find, replace);
    if (result.count > 0) {
        SetWindowText(result.text);
        const long last = static_cast<long>(result.lastStart);
        SetSel(last, last + static_cast<long>(result.lastLength));
        if (CHebDoc* doc = GetHebDoc()) {
            doc->SetDocModified(true);
        }
    }
    Ui().Beep();  // the last search, which found nothing more
}

// Other find strings.

bool CHebView::FindText(const std::string& find, hebrewfind::PlainOptions options) {
    long start = 0;
    long end = 0;
    GetSel(start, end);
    const std::optional<size_t> match = m_plainSearch.Next(
        GetWindowText(), static_cast<size_t>(start), static_cast<size_t>(end), find, options);
    if (!match) {
        return false;
    }
    const long position = static_cast<long>(*match);
    SetSel(position, position + static_cast<long>(find.size()));
    return true;
}

void CHebView::TextNotFound() {
    m_plainSearch.Restart();
    Ui().Beep();
}

void CHebView::ReplaceAllText(const std::string& find, const std::string& replace,
                              hebrewfind::PlainOptions options) {
    const WaitCursor wait;
    HideSelection(true);
    long start = 0;
    long end = 0;
    GetSel(start, end);
    const int firstLine = GetFirstVisibleLine();
    const hebrewfind::ReplaceAllResult result = hebrewfind::ReplaceAllPlain(
        GetWindowText(), static_cast<size_t>(start), find, replace, options);
    if (result.count > 0) {
        SetWindowText(result.text);
        const long caret = static_cast<long>(result.lastStart + result.lastLength);
        SetSel(caret, caret);
    }
    HideSelection(false);
    if (result.count > 0) {
        LineScroll(firstLine - GetFirstVisibleLine());
    }
    m_plainSearch.Restart();
}

void CHebView::AdjustDialogPosition(QWidget* dialog) {
    if (dialog == nullptr || !dialog->isVisible()) {
        return;
    }
    const QTextCursor cursor = textCursor();
    QTextCursor first = cursor;
    first.setPosition(cursor.selectionStart());
    QTextCursor last = cursor;
    last.setPosition(cursor.selectionEnd());
    const QRect local = cursorRect(first).united(cursorRect(last));
    const QRect selection(viewport()->mapToGlobal(local.topLeft()), local.size());
    QRect frame = dialog->frameGeometry();
    if (!frame.intersects(selection)) {
        return;
    }
    const QRect screen = dialog->screen()->availableGeometry();
    if (selection.top() - frame.height() >= screen.top()) {
        frame.moveBottom(selection.top() - 1);
    } else {
        frame.moveTop(selection.bottom() + 1);
    }
    dialog->move(frame.topLeft());
}
