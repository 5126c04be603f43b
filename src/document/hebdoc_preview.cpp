// The browser preview: the preview file beside the document, the preview
// window linked to its source, and the external browser.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QHash>
#include <QProcess>
#include <cerrno>
#include <cstring>

#include "document/hebdoc.h"
#include "document/ioptionssheet.h"
#include "document/recoveryrecorder.h"
#include "framework/displaytext.h"
#include "framework/doctemplate.h"
#include "framework/localpath.h"
#include "framework/uiservices.h"

namespace {

CDocTemplate* g_previewTemplate = nullptr;

const QString kPreviewSuffix = QStringLiteral("_mirval.htm");

// Which file on disk a path named when this program last wrote it, and its
// state then: a file put in its place later differs in one of these, even
// where the file system hands the old inode number to the new file.
struct FileIdentity {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec modified{};
    timespec changed{};

    static FileIdentity Of(const struct stat& info) {
        return {info.st_dev, info.st_ino, info.st_size, info.st_mtim, info.st_ctim};
    }
    bool operator==(const FileIdentity& other) const {
        return device == other.device && inode == other.inode && size == other.size &&
               modified.tv_sec == other.modified.tv_sec &&
               modified.tv_nsec == other.modified.tv_nsec &&
               changed.tv_sec == other.changed.tv_sec && changed.tv_nsec == other.changed.tv_nsec;
    }
};

// The preview files this run of the program wrote, by path. Only these are
// rewritten without a question, and only these are ever deleted.
QHash<QString, FileIdentity>& WrittenFiles() {
    static QHash<QString, FileIdentity> files;
    return files;
}

bool IsOwnFile(const QString& path, const struct stat& info) {
    const auto found = WrittenFiles().constFind(path);
    return found != WrittenFiles().cend() && S_ISREG(info.st_mode) &&
           *found == FileIdentity::Of(info);
}

bool WriteAll(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t written = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        done += static_cast<std::size_t>(written);
    }
    return true;
}

enum class WriteResult { Written, Declined, Failed };

// Writes the preview file without ever following a symbolic link at its
// name. A file this run wrote is rewritten in place (after checking that the
// name still leads to it); anything else found at the name is replaced only
// when the user agrees, and then by a new file. On failure error says why.
WriteResult WritePreviewFile(const QString& path, const std::string& bytes, QString& error) {
    const std::string local = LocalPath(path);
    int fd = -1;
    bool create = true;
    struct stat info {};
    if (::lstat(local.c_str(), &info) == 0) {
        if (S_ISDIR(info.st_mode)) {
            error = SystemReason(EISDIR);
            return WriteResult::Failed;
        }
        if (IsOwnFile(path, info)) {
            create = false;
            fd = ::open(local.c_str(), O_WRONLY | O_NOFOLLOW | O_CLOEXEC);
            struct stat opened {};
            // Replaced between the look and the open: not ours any more.
            if (fd >= 0 && (::fstat(fd, &opened) != 0 || !IsOwnFile(path, opened))) {
                ::close(fd);
                fd = -1;
                errno = EEXIST;
            }
        } else {
            WrittenFiles().remove(path);
            if (!Ui().AskYesNo(
                    QCoreApplication::translate("CHebDoc",
                                                "הקובץ %1 כבר קיים, ולא נכתב לצפיה בדפדפן "
                                                "בהפעלה זו של התכנית.\nלהחליף אותו?")
                        .arg(LeftToRightIsolate(path)))) {
                return WriteResult::Declined;
            }
            if (::unlink(local.c_str()) != 0 && errno != ENOENT) {
                error = SystemReason(errno);
                return WriteResult::Failed;
            }
        }
    }
    if (create) {
        // A new file: never through a link, never onto a file that appeared
        // meanwhile.
        fd = ::open(local.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    }
    if (fd < 0) {
        error = SystemReason(errno);
        return WriteResult::Failed;
    }
    struct stat written {};
    const bool ok = ::ftruncate(fd, 0) == 0 && WriteAll(fd, bytes) && ::fstat(fd, &written) == 0;
    const int savedErrno = errno;
    if (::close(fd) != 0 || !ok) {
        error = SystemReason(ok ? errno : savedErrno);
        return WriteResult::Failed;
    }
    WrittenFiles().insert(path, FileIdentity::Of(written));
    return WriteResult::Written;
}

}  // namespace

bool CHebDoc::RemovePreviewFile(const QString& path) {
    const std::string local = LocalPath(path);
    struct stat info {};
    if (path.isEmpty() || ::lstat(local.c_str(), &info) != 0 || !IsOwnFile(path, info)) {
        return false;
    }
    WrittenFiles().remove(path);
    return ::unlink(local.c_str()) == 0;
}

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
    // The preview file is code page 1255 text. The preview command has
    // already told the user why a text without that form is not shown; a
    // preview window brought forward keeps the page it shows.
    if (FindWithoutCodePageForm(true) >= 0) {
        return;
    }
    const QString path = GetPreviewFilePath();
    BrowseSettings settings;
    GetBrowseSettings(settings);
    QString error;
    switch (WritePreviewFile(path, PreviewFileContent(GetText(), settings.BrowseMeta), error)) {
        case WriteResult::Written:
            break;
        case WriteResult::Declined:
            return;  // the file stays as it is, and no preview opens or reloads
        case WriteResult::Failed:
            Ui().ShowMessage(tr("לא ניתן לכתוב את הקובץ לצפיה בדפדפן %1\n%2")
                                 .arg(LeftToRightIsolate(path), error));
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
        RemovePreviewFile(previous);
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
    // Closed by the user's choice (saved, or not to be saved): nothing to
    // recover.
    if (m_pRecovery != nullptr) {
        m_pRecovery->DiscardJournal();
    }
    CDocument::OnCloseDocument();
}
