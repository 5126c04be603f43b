// The browser preview: the preview file beside the document, the preview
// window linked to its source, and the external browser.
#include <QDir>
#include <QFile>
#include <QProcess>

#include "document/hebdoc.h"
#include "document/optionssheet.h"
#include "framework/doctemplate.h"
#include "framework/localpath.h"
#include "framework/uiservices.h"

namespace {

CDocTemplate* g_previewTemplate = nullptr;

const QString kPreviewSuffix = QStringLiteral("_mirval.htm");

// Creates or truncates the file and writes every byte; on failure error says why.
bool WritePreviewFile(const QString& path, const std::string& bytes, QString& error) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        error = file.errorString();
        return false;
    }
    const auto size = static_cast<qint64>(bytes.size());
    if (file.write(bytes.data(), size) != size || !file.flush()) {
        error = file.errorString();
        return false;
    }
    file.close();
    return true;
}

}  // namespace

void CHebDoc::SetPreviewTemplate(CDocTemplate* docTemplate) {
    g_previewTemplate = docTemplate;
}

CDocTemplate* CHebDoc::GetPreviewTemplate() {
    return g_previewTemplate;
}

QString CHebDoc::PreviewFilePath(const QString& pathName, const QString& currentFolder,
                                 const QString& title) {
    QString base;
    if (!pathName.isEmpty()) {
        base = pathName;
        // Only the file name's own extension goes: the "." of a folder such
        // as "/my.site/" is none, and neither is the leading "." of a hidden
        // file's name.
        const qsizetype slash = base.lastIndexOf(QLatin1Char('/'));
        const qsizetype dot = base.lastIndexOf(QLatin1Char('.'));
        if (dot > slash + 1) {
            base.truncate(dot);
        }
    } else {
        base = currentFolder;
        if (!base.endsWith(QLatin1Char('/'))) {
            base += QLatin1Char('/');
        }
        base += title;
    }
    return base + kPreviewSuffix;
}

QString CHebDoc::GetPreviewFilePath() const {
    return PreviewFilePath(GetPathName(), QDir::currentPath(), GetTitle());
}

std::string CHebDoc::PreviewFileContent(std::string_view text, std::string_view meta) {
    static constexpr std::string_view kOpening = "<HTML>";
    static constexpr std::string_view kClosing = "</HTML>";
    std::string content;
    content.reserve(kOpening.size() + meta.size() + text.size() + kClosing.size());
    content.append(kOpening).append(meta).append(text).append(kClosing);
    return content;
}

void CHebDoc::OnBrowse() {
    BrowseSettings settings;
    GetBrowseSettings(settings);
    if (settings.BrowseDisplay != 0) {
        ShowOptions(kBrowsePage);
        GetBrowseSettings(settings);  // confirmed or not, the settings as they stand
    }
    // The program's path is kept in the profile as the file system's bytes.
    Preview(settings.BrowseExternal != 0, PathFromLocal(settings.BrowseFile));
}

void CHebDoc::OnUpdatePreview(CCmdUI& ui) {
    ui.Enable(HasText() || m_bPreviewOpen);
}

void CHebDoc::Preview(bool external, const QString& browserProgram) {
    if (IsClosing()) {
        return;
    }
    const QString path = GetPreviewFilePath();
    BrowseSettings settings;
    GetBrowseSettings(settings);
    QString error;
    if (!WritePreviewFile(path, PreviewFileContent(GetText(), settings.BrowseMeta), error)) {
        Ui().ShowMessage(tr("לא ניתן לכתוב את הקובץ לצפיה בדפדפן %1\n%2").arg(path, error));
        return;
    }

    if (external) {
        // The path is the program's one argument, never split by a shell. A
        // program that is not set, or does not start, is not reported.
        if (!browserProgram.isEmpty()) {
            QProcess::startDetached(browserProgram, {path});
        }
        return;
    }

    auto* preview = dynamic_cast<IPreviewDoc*>(m_pPreviewDoc.data());
    if (m_bPreviewOpen && (preview == nullptr || m_pPreviewDoc->IsClosing())) {
        m_bPreviewOpen = false;  // its window went without telling this document
    }
    if (!m_bPreviewOpen) {
        m_bPreviewOpen = OpenPreview(path);
    } else if (m_pPreviewDoc->GetPathName() != path) {
        // Saved under another name since the preview opened: the window
        // follows the new file, and the old one goes as it would on closing.
        const QString previous = m_pPreviewDoc->GetPathName();
        m_pPreviewDoc->SetPathName(path, false);
        m_pPreviewDoc->SetTitle(tr("Browsing: ") + TitleForPreview());
        QFile::remove(previous);
        m_bModifiedCopy = false;
        preview->Navigate(path);
    } else if (m_bModifiedCopy) {
        preview->Refresh();
    }
}

QString CHebDoc::TitleForPreview() const {
    // The modified marker's "*" is left out (its blank stays).
    QString title = GetTitle();
    if (!GetPathName().isEmpty() && title.endsWith(QStringLiteral(" *"))) {
        title.chop(1);
    }
    return title;
}

bool CHebDoc::OpenPreview(const QString& path) {
    CDocTemplate* previewTemplate = GetPreviewTemplate();
    if (previewTemplate == nullptr) {
        return false;
    }
    // Always a new preview document, even where another document's preview
    // shows the same file. It takes the file's path without its entering the
    // recent-file list.
    CDocument* document = previewTemplate->OpenDocumentFile(QString(), true);
    m_pPreviewDoc = document;
    auto* preview = dynamic_cast<IPreviewDoc*>(document);
    if (preview == nullptr) {
        return false;
    }
    document->SetPathName(path, false);
    document->SetTitle(tr("Browsing: ") + TitleForPreview());
    preview->SetSourceDoc(this);
    return preview->Navigate(path);
}

void CHebDoc::OnCloseDocument() {
    // The preview goes first, and its file with it.
    if (m_pPreviewDoc != nullptr && m_bPreviewOpen) {
        m_pPreviewDoc->OnCloseDocument();
    }
    CDocument::OnCloseDocument();
}
