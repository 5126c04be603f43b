// The document's own text operations: byte-exact reading and replacing of
// its QTextDocument, whether or not a view shows it.
#include <QTextCursor>
#include <QTextDocument>

#include "document/editortext.h"
#include "document/hebdoc.h"
#include "text/textdocumentbytes.h"

namespace {

// Offsets speak of the CR LF text, whatever line ends the document's file has.
// The text is the code page 1255 form of the editor's characters whatever the
// document's encoding: every character is one byte, so offsets are the same
// for a UTF-8 document. A UTF-8 text's characters without such a form would
// read as "?": the commands ask CheckCodePageForm before they take the text.
constexpr LineBreak kTextBreak = LineBreak::CrLf;

}  // namespace

std::string CHebDoc::GetText() const {
    return TextDocumentBytes::Read(*m_pTextDocument, kTextBreak);
}

void CHebDoc::SetText(const std::string& text) {
    TextDocumentBytes::Write(*m_pTextDocument, text, kTextBreak,
                             TextDocumentBytes::TextFormat(*m_pTextDocument));
    if (IEditorText* editor = GetView()) {
        editor->ShowTextStart();
    }
}

std::string CHebDoc::GetTextRange(long start, long end) const {
    return TextDocumentBytes::ReadRange(
        *m_pTextDocument,
        TextDocumentBytes::PositionFromOffset(*m_pTextDocument, start, kTextBreak),
        TextDocumentBytes::PositionFromOffset(*m_pTextDocument, end, kTextBreak), kTextBreak);
}

void CHebDoc::ReplaceRange(long start, long end, const std::string& text) {
    QTextCursor cursor(m_pTextDocument);
    cursor.setPosition(TextDocumentBytes::PositionFromOffset(*m_pTextDocument, start, kTextBreak));
    cursor.setPosition(TextDocumentBytes::PositionFromOffset(*m_pTextDocument, end, kTextBreak),
                       QTextCursor::KeepAnchor);
    TextDocumentBytes::Replace(cursor, text, kTextBreak);
}

std::string CHebDoc::GetFileBytes() const {
    const LineBreak lineBreak = m_lineEnds == LineEnds::Lf ? LineBreak::Lf : LineBreak::CrLf;
    if (m_encoding == TextEncoding::Utf8) {
        std::string bytes(m_bByteOrderMark ? Utf8EditorCodec::kByteOrderMark : std::string_view());
        bytes +=
            Utf8EditorCodec::Encode(TextDocumentBytes::EditorTextRange(
                                        *m_pTextDocument, 0, m_pTextDocument->characterCount()),
                                    lineBreak);
        return bytes;
    }
    return TextDocumentBytes::Read(*m_pTextDocument, lineBreak);
}

bool CHebDoc::GetViewSel(long& start, long& end) const {
    start = 0;
    end = 0;
    IEditorText* editor = GetView();
    if (editor == nullptr) {
        return false;
    }
    editor->GetSel(start, end);
    return true;
}

void CHebDoc::SetViewSel(long start, long end) {
    if (IEditorText* editor = GetView()) {
        editor->SetSel(start, end);
    }
}

void CHebDoc::ReplaceSelection(long start, long end, const std::string& text) {
    ReplaceRange(start, end, text);
    const long after = start + static_cast<long>(text.size());
    SetViewSel(after, after);
}
