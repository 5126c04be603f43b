// The document's encoding: code page 1255 or UTF-8, its menu and status pane,
// and the check that the text a command takes has a code page 1255 form.
#include <QTextCursor>
#include <QTextDocument>

#include "document/editortext.h"
#include "document/hebdoc.h"
#include "framework/cmdui.h"
#include "framework/uiservices.h"
#include "text/textdocumentbytes.h"

QString CHebDoc::NoCodePageFormMessage(const QString& character, int line, int column) {
    QString code;
    for (const char32_t point : character.toUcs4()) {
        code +=
            QStringLiteral("U+%1").arg(static_cast<uint>(point), 4, 16, QLatin1Char('0')).toUpper();
    }
    return tr("התו \"%1\" (%2) בשורה %3, עמודה %4 אינו קיים בקידוד Windows-1255.\n"
              "הפעולה לא בוצעה, והטקסט נשאר כפי שהיה.")
        .arg(character, code)
        .arg(line)
        .arg(column);
}

int CHebDoc::FindWithoutCodePageForm(bool wholeText) const {
    if (m_encoding == TextEncoding::Cp1255) {
        return -1;
    }
    const QTextDocument& text = *m_pTextDocument;
    int from = 0;
    int to = text.characterCount();
    if (!wholeText) {
        if (IEditorText* editor = GetView()) {
            long start = 0;
            long end = 0;
            editor->GetSel(start, end);
            from = TextDocumentBytes::PositionFromOffset(text, start, LineBreak::CrLf);
            to = TextDocumentBytes::PositionFromOffset(text, end, LineBreak::CrLf);
        }
    }
    return TextDocumentBytes::FindWithoutCodePageForm(text, from, to);
}

bool CHebDoc::CheckCodePageForm(bool wholeText) {
    const int position = FindWithoutCodePageForm(wholeText);
    if (position < 0) {
        return true;
    }
    const QTextDocument& text = *m_pTextDocument;
    // A character beyond the basic plane is a pair of UTF-16 units.
    QTextCursor cursor(m_pTextDocument);
    cursor.setPosition(position);
    cursor.setPosition(std::min(position + 2, text.characterCount() - 1), QTextCursor::KeepAnchor);
    QString character = cursor.selectedText();
    if (character.isEmpty() || !character.front().isHighSurrogate() || character.size() < 2 ||
        !character[1].isLowSurrogate()) {
        character.truncate(1);
    }
    int line = 0;
    int column = 0;
    TextDocumentBytes::LineAndColumn(text, position, line, column);
    Ui().ShowMessage(NoCodePageFormMessage(character, line + 1, column + 1));
    return false;
}

bool CHebDoc::SetEncoding(TextEncoding encoding) {
    if (encoding == m_encoding) {
        return true;
    }
    if (encoding == TextEncoding::Cp1255 && !CheckCodePageForm(true)) {
        return false;
    }
    m_encoding = encoding;
    SetDocModified(true);
    return true;
}

void CHebDoc::OnEncodingCp1255() {
    SetEncoding(TextEncoding::Cp1255);
}

void CHebDoc::OnEncodingUtf8() {
    SetEncoding(TextEncoding::Utf8);
}

void CHebDoc::OnUpdateEncodingCp1255(CCmdUI& ui) {
    ui.SetCheck(m_encoding == TextEncoding::Cp1255);
}

void CHebDoc::OnUpdateEncodingUtf8(CCmdUI& ui) {
    ui.SetCheck(m_encoding == TextEncoding::Utf8);
}

void CHebDoc::OnUpdateEncodingIndicator(CCmdUI& ui) {
    ui.Enable(true);
    ui.SetText(m_encoding == TextEncoding::Utf8 ? QStringLiteral("UTF-8") : QStringLiteral("1255"));
}
