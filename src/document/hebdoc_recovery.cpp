// Crash recovery: the journal of unsaved edits, and a text taken back from one.
#include <QTextDocument>

#include "document/editortext.h"
#include "document/hebdoc.h"
#include "document/recoveryrecorder.h"
#include "framework/localpath.h"
#include "framework/recoveryfolder.h"
#include "text/editorcodec.h"
#include "text/textdocumentbytes.h"

void CHebDoc::EnableRecovery(const QString& folder) {
    if (m_pRecovery == nullptr) {
        m_pRecovery = new RecoveryRecorder(this, folder);
    }
}

void CHebDoc::RestoreFromJournal(recoveryfolder::Orphan& orphan) {
    const recoveryjournal::Header& header = orphan.journal.header;
    m_lineEnds = header.lfLineEnds ? LineEnds::Lf : LineEnds::CrLf;
    // Path and title first: the journal this document begins carries them.
    if (!header.path.empty()) {
        SetPathName(PathFromLocal(header.path), false);
    } else if (!header.title.empty()) {
        SetTitle(QString::fromStdString(header.title));
    }
    if (m_pRecovery != nullptr) {
        m_pRecovery->Adopt(orphan.path, orphan.fd);
        orphan.fd = -1;
    }
    const std::u16string& text = orphan.journal.text;
    // A UTF-8 document's characters go back in as they are: not every one of
    // them has a code page 1255 byte.
    m_encoding = header.encoding.starts_with("utf-8") ? TextEncoding::Utf8 : TextEncoding::Cp1255;
    m_bByteOrderMark = header.encoding == "utf-8-sig";
    if (m_encoding == TextEncoding::Utf8) {
        TextDocumentBytes::WriteText(*m_pTextDocument,
                                     QStringView(text.data(), static_cast<qsizetype>(text.size())),
                                     TextDocumentBytes::TextFormat(*m_pTextDocument));
        if (IEditorText* editor = GetView()) {
            editor->ShowTextStart();
        }
        SetDocModified(true);
        return;
    }
    // The journal holds the editor's own characters; they go back in as the
    // bytes the document reads and writes its text in (CR LF line breaks),
    // through the codec that maps the two one to one.
    std::string bytes;
    bytes.reserve(text.size() + text.size() / 16);
    EditorCodec::AppendDocumentText(
        bytes, QStringView(text.data(), static_cast<qsizetype>(text.size())), LineBreak::CrLf);
    SetText(bytes);
    SetDocModified(true);
}
