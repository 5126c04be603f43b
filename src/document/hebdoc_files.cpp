// Opening, saving and templates.
#include <algorithm>
#include <cerrno>
#include <utility>

#include <QFile>
#include <QTextCharFormat>
#include <QTextDocument>

#include "convert/textsearch.h"
#include "document/editortext.h"
#include "document/hebdoc.h"
#include "framework/atomicfile.h"
#include "framework/displaytext.h"
#include "framework/filebytes.h"
#include "framework/filestamp.h"
#include "framework/localpath.h"
#include "framework/programfolder.h"
#include "framework/uiservices.h"
#include "text/codepage862.h"
#include "text/textdocumentbytes.h"

namespace {

const char kGeneratorProbe[] = "<meta name='generator'";
const char kGeneratorTag[] = "<meta name='generator' content='MIRVAL'>";
// The selection moves forward by the tag's length (its line end not counted).
constexpr long kGeneratorTagLength = sizeof(kGeneratorTag) - 1;

const QString kSaveAsFilter = QStringLiteral(
    "HTML files (*.htm*)|*.htm*|MIRVAL templates (*.mvt)|*.mvt|Text files (*.txt)|*.txt|All "
    "files (*.*)|*.*||");
const QString kSaveAsTemplateFilter =
    QStringLiteral("MIRVAL templates (*.mvt)|*.mvt|All files (*.*)|*.*||");

// The lines of a template: read as a text file (CR LF taken as a line end,
// the line end dropped), each line then ended with CR LF.
std::string TemplateText(std::string_view bytes) {
    std::string text;
    text.reserve(bytes.size() + bytes.size() / 32 + 2);
    ForEachTextFileLine(bytes,
                        [&text](std::string_view line) { text.append(line).append("\r\n"); });
    return text;
}

// From this size on a file opened for a shown window fills its text once the
// window is in place. Such a text always needs the vertical scroll bar (at
// 80 bytes a line it has some 13,000 lines), so the window looks the same.
constexpr size_t kPendingTextBytes = size_t{1} << 20;

LineEnds DetectLineEnds(std::string_view bytes) {
    if (bytes.find("\r\n") != std::string_view::npos) {
        return LineEnds::CrLf;
    }
    return bytes.find('\n') != std::string_view::npos ? LineEnds::Lf : LineEnds::CrLf;
}

}  // namespace

bool CHebDoc::OnNewDocument() {
    if (!CDocument::OnNewDocument()) {
        return false;
    }
    // A new document is code page 1255, as every document always was.
    m_encoding = TextEncoding::Cp1255;
    m_bByteOrderMark = false;
    SetDocModified(false);
    return true;
}

bool CHebDoc::OnOpenDocument(const QString& path) {
    std::string bytes;
    std::string error;
    // Stamped before the read: a change made while reading shows as a change.
    const FileStamp stamp = FileStamp::Of(LocalPath(path));
    int errorNumber = 0;
    const FileBytes::Status status =
        FileBytes::ReadFile(LocalPath(path), bytes, error, errorNumber);
    if (status == FileBytes::Status::NotRegular) {
        // A FIFO or a device is never opened: reading it could wait forever.
        Ui().ShowMessage(tr("לא ניתן לפתוח את %1\nזה אינו קובץ רגיל (אלא תיקייה, צינור או התקן), "
                            "ולכן הוא לא נפתח.")
                             .arg(LeftToRightIsolate(path)));
        return false;
    }
    if (status != FileBytes::Status::Ok) {
        // The reason in Hebrew where there is one (a missing file is ENOENT).
        const int reason = status == FileBytes::Status::Missing ? ENOENT : errorNumber;
        Ui().ShowMessage(tr("לא ניתן לפתוח את הקובץ %1\n%2")
                             .arg(LeftToRightIsolate(path),
                                  SystemReason(reason, QString::fromLocal8Bit(error.c_str()))));
        return false;
    }
    // A file whose lines end in LF alone is edited with LF as its line break
    // and saved back the same way; every other file keeps CR LF.
    m_lineEnds = DetectLineEnds(bytes);
    const LineBreak lineBreak = m_lineEnds == LineEnds::Lf ? LineBreak::Lf : LineBreak::CrLf;
    // A UTF-8 file (see Utf8EditorCodec::OpensAsUtf8) is decoded as UTF-8;
    // every other file is code page 1255, byte for byte.
    m_encoding = TextEncoding::Cp1255;
    const bool pending = OpensIntoShownWindow() && bytes.size() >= kPendingTextBytes;
    m_bTextPending = false;
    m_pendingBytes = std::string();
    m_pendingText = QString();
    if (std::optional<QString> text =
            Utf8EditorCodec::DecodeFile(bytes, lineBreak, m_bByteOrderMark)) {
        m_encoding = TextEncoding::Utf8;
        if (pending) {
            m_pendingText = std::move(*text);
        } else {
            TextDocumentBytes::WriteText(*m_pTextDocument, *text);
        }
    }
    if (m_encoding == TextEncoding::Cp1255) {
        m_bByteOrderMark = false;
        if (!pending) {
            TextDocumentBytes::Write(*m_pTextDocument, bytes, lineBreak);
        }
        DetectTextOrder(bytes);
    } else if (!pending) {
        DetectTextOrder(GetText());
    }
    if (!CDocument::OnOpenDocument(path)) {
        m_pendingText = QString();
        return false;
    }
    RememberFile(path, bytes, stamp);
    if (pending && m_encoding == TextEncoding::Cp1255) {
        m_pendingBytes = std::move(bytes);
    }
    m_bTextPending = pending;
    SetDocModified(false);
    return true;
}

void CHebDoc::WritePendingText() {
    if (!m_bTextPending) {
        return;
    }
    m_bTextPending = false;
    // In the text font, when the view has set it on the empty text already.
    const QTextCharFormat format = TextDocumentBytes::TextFormat(*m_pTextDocument);
    if (m_encoding == TextEncoding::Utf8) {
        TextDocumentBytes::WriteText(*m_pTextDocument, std::exchange(m_pendingText, QString()),
                                     format);
        // As a UTF-8 file's order always is: from the text as the document
        // holds it.
        DetectTextOrder(GetText());
    } else {
        TextDocumentBytes::Write(*m_pTextDocument, std::exchange(m_pendingBytes, std::string()),
                                 m_lineEnds == LineEnds::Lf ? LineBreak::Lf : LineBreak::CrLf,
                                 format);
    }
    SetDocModified(false);
}

bool CHebDoc::ReloadFromDisk() {
    // The caret stays on its line (or the last one, when the file is shorter).
    IEditorText* editor = GetView();
    int line = 0;
    if (editor != nullptr) {
        long start = 0;
        long end = 0;
        editor->GetSel(start, end);
        line = editor->LineFromChar(start);
    }
    m_bDosDisplay = false;
    if (!CDocument::ReloadFromDisk()) {
        return false;
    }
    if (editor != nullptr) {
        const long offset = editor->LineIndex(std::min(line, editor->GetLineCount() - 1));
        editor->SetSel(offset, offset);
    }
    return true;
}

bool CHebDoc::OnSaveDocument(const QString& path) {
    // A save before the window's first display writes the file's text, never
    // the empty one standing in for it.
    WritePendingText();
    // The title loses its modified marker before the text is written.
    RemoveTitleMarker();

    // The DOS display and the generator tag rewrite the whole text as code
    // page 1255 bytes: a UTF-8 text holding a character without such a form
    // is saved as it stands, without them, rather than lose that character.
    const bool codePageForm = FindWithoutCodePageForm(true) < 0;

    // A DOS page shown converted is written in the bytes it was loaded with:
    // the display's own mapping, which undoes itself, puts them back.
    if (m_bDosDisplay && codePageForm) {
        std::string text = GetText();
        CodePage862::SwapLetters(text);
        SetText(text);
        m_bDosDisplay = false;
    }

    std::string text = codePageForm ? GetText() : std::string(kGeneratorProbe);
    if (text.find(kGeneratorProbe) == std::string::npos) {
        const std::string withTag = std::string("\r\n") + kGeneratorTag;
        size_t replaced = ReplaceAll(text, "<head>", "<head>" + withTag);
        if (replaced == 0) {
            replaced = ReplaceAll(text, "<HEAD>", "<HEAD>" + withTag);
        }
        if (replaced > 0) {
            // A view keeps its place: the same top line and selection, the
            // selection moved past the tag.
            long start = 0;
            long end = 0;
            GetViewSel(start, end);
            IEditorText* editor = GetView();
            const int firstLine = editor != nullptr ? editor->GetFirstVisibleLine() : 0;
            SetText(text);
            if (editor != nullptr) {
                editor->LineScroll(firstLine - editor->GetFirstVisibleLine() + 1);
                editor->SetSel(start + kGeneratorTagLength, end + kGeneratorTagLength);
            }
        }
    }

    std::string error;
    const std::string bytes = GetFileBytes();
    int errorNumber = 0;
    if (!AtomicFile::Write(LocalPath(path), bytes, error, errorNumber)) {
        Ui().ShowMessage(
            tr("לא ניתן לשמור את הקובץ %1\n%2")
                .arg(LeftToRightIsolate(path),
                     SystemReason(errorNumber, QString::fromLocal8Bit(error.c_str()))));
        SetDocModified(true);  // nothing was saved: the edits are still to be saved
        return false;
    }
    // Our own write is no change made elsewhere.
    RememberFile(path, bytes, FileStamp::Of(LocalPath(path)));
    // Putting the tag into the editor counted as an edit; the page is saved.
    RemoveTitleMarker();
    return CDocument::OnSaveDocument(path);
}

void CHebDoc::ReadTemplate(const QString& path) {
    std::string bytes;
    std::string error;
    if (FileBytes::ReadFile(LocalPath(path), bytes, error) != FileBytes::Status::Ok) {
        Ui().ShowMessage(QStringLiteral(".ארעה שגיאה. וודא שקובץ התבנית אכן קיים"));
        return;
    }
    const std::string text = TemplateText(bytes);
    long start = 0;
    long end = 0;
    if (!GetViewSel(start, end)) {
        SetText(text);  // a document no view shows yet starts with no undo step
        return;
    }
    ReplaceSelection(start, end, text);
}

QString CHebDoc::AskSavePath() {
    FileDialogRequest request;
    request.folder = GetDocumentFolder();
    request.defaultExt = QStringLiteral("htm");
    request.filter = kSaveAsFilter;
    return Ui().AskSaveFileName(request).value_or(QString());
}

void CHebDoc::SaveWithDialog(const QString& folder, const QString& defaultExt,
                             const QString& filter, bool asTemplate) {
    FileDialogRequest request;
    request.folder = folder;
    request.defaultExt = defaultExt;
    request.filter = filter;
    if (const std::optional<QString> path = Ui().AskSaveFileName(request)) {
        if (asTemplate) {
            m_encoding = TextEncoding::Cp1255;  // templates are code page 1255 text
        }
        DoSave(*path, true);
    }
}

void CHebDoc::OnFileSaveAs() {
    SaveWithDialog(GetDocumentFolder(), QStringLiteral("htm"), kSaveAsFilter);
}

void CHebDoc::OnFileSaveAsTemplate() {
    // Templates go where they are read from: beside the program when it keeps
    // them there, else into the user's template folder.
    // Templates are read as code page 1255 text, so they are saved so.
    if (!CheckCodePageForm(true)) {
        return;
    }
    SaveWithDialog(PrepareTemplateSaveFolder(), QStringLiteral("mvt"), kSaveAsTemplateFilter, true);
}
