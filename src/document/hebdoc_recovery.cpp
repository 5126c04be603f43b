// Crash recovery: the journal of unsaved edits, and a text taken back from one.
#include <QTextDocument>

#include "document/hebdoc.h"
#include "document/recoveryrecorder.h"
#include "framework/localpath.h"
#include "framework/recoveryfolder.h"
#include "text/editorcodec.h"

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
    // The journal holds the editor's own characters; they go back in as the
    // bytes the document reads and writes its text in (CR LF line breaks),
    // through the codec that maps the two one to one.
    const std::u16string& text = orphan.journal.text;
    std::string bytes;
    bytes.reserve(text.size() + text.size() / 16);
    EditorCodec::AppendDocumentText(
        bytes, QStringView(text.data(), static_cast<qsizetype>(text.size())), LineBreak::CrLf);
    SetText(bytes);
    SetDocModified(true);
}
