#include "app/hebapp.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPageSetupDialog>
#include <QPrinter>

#include "app/aboutdialog.h"
#include "app/commandtable.h"
#include "app/mainframe.h"
#include "app/recoverydialog.h"
#include "browse/browsedoc.h"
#include "browse/browseview.h"
#include "document/hebdoc.h"
#include "framework/appprofile.h"
#include "framework/doctemplate.h"
#include "framework/document.h"
#include "framework/localpath.h"
#include "framework/programfolder.h"
#include "framework/recoveryfolder.h"
#include "framework/uiservices.h"
#include "view/hebview.h"

namespace {

CHebApp* g_app = nullptr;

constexpr int kEditorTemplate = 0;
constexpr int kPreviewTemplate = 1;

// The program has no web site of its own. Its home page is the public page
// that explains what it is for: text stored in visual order against text
// stored in logical order.
constexpr char kHomePage[] = "https://www.w3.org/International/questions/qa-visual-vs-logical";

const QString kHelpPage = QStringLiteral("h_mirval.htm");

const MessageEntry<CHebApp> kMessageMap[] = {
    {CommandId::FileNew, &CHebApp::OnFileNew, nullptr},
    {CommandId::FileNewFromTemplate, &CHebApp::OnFileNewFromTemplate, nullptr},
    {CommandId::FileOpen, &CHebApp::OnFileOpen, nullptr},
    {CommandId::FilePrintSetup, &CHebApp::OnFilePrintSetup, nullptr},
    {CommandId::AppAbout, &CHebApp::OnAppAbout, nullptr},
    {CommandId::AppExit, &CHebApp::OnAppExit, nullptr},
    {CommandId::HelpFile, &CHebApp::OnHelpFile, nullptr},
    {CommandId::HomePage, &CHebApp::OnHomePage, nullptr},
};

bool IsRecentFileCommand(int id) {
    return id >= CommandId::FileMruFirst && id <= CommandId::FileMruLast;
}

}  // namespace

CHebApp::CHebApp(QObject* parent) : QObject(parent) {
    g_app = this;
}

CHebApp::~CHebApp() {
    // Windows first, so that no view outlives its document; then the
    // documents still open, then their templates.
    CDocTemplate::SetFrameHost(nullptr);
    m_pMainFrame.reset();
    if (CHebDoc::GetPreviewTemplate() == GetTemplate(kPreviewTemplate)) {
        CHebDoc::SetPreviewTemplate(nullptr);
    }
    for (const auto& docTemplate : m_templates) {
        const QList<CDocument*> documents = docTemplate->Documents();
        for (CDocument* document : documents) {
            delete document;
        }
    }
    m_templates.clear();
    if (g_app == this) {
        g_app = nullptr;
    }
}

CHebApp* CHebApp::Instance() {
    return g_app;
}

QString CHebApp::AppTitle() {
    return tr("MIRVAL");
}

bool CHebApp::InitInstance(const QString& fileToOpen) {
    // A profile that cannot be read is said once; the program then runs on
    // the defaults and never writes over the file.
    const std::string profileError = AppProfile::ReadError();
    if (!profileError.empty()) {
        Ui().ShowMessage(
            tr("לא ניתן לקרוא את קובץ ההגדרות %1\n%2\nהתוכנה תשתמש בהגדרות ברירת המחדל ולא "
               "תשנה את הקובץ.")
                .arg(PathFromLocal(AppProfile::Path()),
                     QString::fromLocal8Bit(profileError.c_str())));
    }
    m_recentFiles.Load(AppProfile::Read());

    // Every editor document keeps a journal of its unsaved edits.
    const std::string recoveryFolder = recoveryfolder::Folder();
    m_templates.push_back(std::make_unique<CDocTemplate>(
        kEditorMenu, QStringLiteral("MIRVAL"),
        [folder = PathFromLocal(recoveryFolder)] {
            auto* document = new CHebDoc;
            document->EnableRecovery(folder);
            return document;
        },
        [](CDocument* document) { return new CHebView(static_cast<CHebDoc*>(document)); }));
    // Preview documents have no name of their own: whoever opens one titles it.
    m_templates.push_back(std::make_unique<CDocTemplate>(
        kPreviewMenu, QString(), [] { return new CBrowseDoc; },
        [](CDocument* document) { return new CBrowseView(static_cast<CBrowseDoc*>(document)); }));

    CHebDoc::SetPreviewTemplate(GetTemplate(kPreviewTemplate));

    m_pMainFrame = std::make_unique<CMainFrame>(this);
    CDocTemplate::SetFrameHost(m_pMainFrame.get());

    if (!fileToOpen.isEmpty()) {
        if (GetTemplate(kEditorTemplate)->OpenDocumentFile(fileToOpen) == nullptr) {
            return false;
        }
    } else {
        OnFileNew();
    }
    m_pMainFrame->show();
    // Unsaved edits an earlier run left behind.
    OfferRecovery(GetTemplate(kEditorTemplate), m_pMainFrame.get(), recoveryFolder);
    m_pMainFrame->UpdateCommandUI();
    return true;
}

CDocTemplate* CHebApp::GetTemplate(int index) const {
    if (index < 0 || index >= GetTemplateCount()) {
        return nullptr;
    }
    return m_templates[static_cast<std::size_t>(index)].get();
}

// ---------------------------------------------------------------------------
// Recent files

void CHebApp::AddToRecentFileList(const QString& path) {
    if (!m_recentFiles.Add(path)) {
        return;
    }
    SaveRecentFiles();
    emit RecentFilesChanged();
}

void CHebApp::SaveRecentFiles() {
    // The list in memory stays as it is; only keeping it failed. The list
    // changes with every file opened, so a profile that cannot be written is
    // reported once a run rather than at every open.
    if (!AppProfile::Write([this](IniProfile& profile) { m_recentFiles.Save(profile); }) &&
        !m_recentFilesFailureShown) {
        m_recentFilesFailureShown = true;
        Ui().ShowMessage(
            tr("לא ניתן לשמור את ההגדרות בקובץ %1").arg(PathFromLocal(AppProfile::Path())));
    }
}

void CHebApp::OnOpenRecentFile(int index) {
    const QStringList paths = m_recentFiles.Paths();
    if (index < 0 || index >= paths.size()) {
        return;
    }
    CDocTemplate* editor = GetTemplate(kEditorTemplate);
    if (editor != nullptr && editor->OpenDocumentFile(paths[index]) == nullptr) {
        m_recentFiles.Remove(static_cast<int>(m_recentFiles.Paths().indexOf(paths[index])));
        SaveRecentFiles();
        emit RecentFilesChanged();
    }
}

void CHebApp::OnUpdateRecentFile(CCmdUI& ui) {
    ui.Enable(ui.ID() - CommandId::FileMruFirst < m_recentFiles.Paths().size());
}

// ---------------------------------------------------------------------------
// Documents

void CHebApp::OnFileNew() {
    if (CDocTemplate* editor = GetTemplate(kEditorTemplate)) {
        editor->OpenDocumentFile(QString());
    }
}

QString CHebApp::OpenFilter() {
    return tr(
        "Web files (*.htm*, *.asp)|*.htm*; *.asp|MIRVAL Templates (*.mvt)|*.mvt|Text files "
        "(*.txt)|*.txt|All files (*.*)|*.*||");
}

QString CHebApp::TemplateFilter() {
    return tr(
        "MIRVAL Templates (*.mvt)|*.mvt|HTML files (*.htm*)|*.htm*|Text files "
        "(*.txt)|*.txt|All files (*.*)|*.*||");
}

QString CHebApp::DefaultTemplateName() {
    return SuppliedTemplateName();
}

void CHebApp::OnFileNewFromTemplate() {
    CDocTemplate* editor = GetTemplate(kEditorTemplate);
    // The new document exists before the dialog: cancelling leaves it open.
    auto* document =
        editor != nullptr ? qobject_cast<CHebDoc*>(editor->OpenDocumentFile({})) : nullptr;
    if (document == nullptr) {
        return;
    }
    FileDialogRequest request;
    const TemplateFolders folders = GetTemplateFolders();
    if (!folders.besideProgram) {
        // Installed: the user's templates and the supplied ones, each a place
        // in the side bar; the dialog opens in the first (the user's first).
        for (const QString& folder : folders.readFolders) {
            if (QFileInfo(folder).isDir()) {
                request.places.append(folder);
            }
        }
    }
    // The supplied templates: beside the program, else where it is installed.
    request.folder = request.places.isEmpty()
                         ? QFileInfo(FindDataFile(DefaultTemplateName())).absolutePath()
                         : request.places.first();
    // The default template is proposed where the dialog shows it.
    if (request.places.isEmpty() ||
        QFileInfo::exists(QDir(request.folder).filePath(DefaultTemplateName()))) {
        request.defaultName = DefaultTemplateName();
    }
    request.defaultExt = QStringLiteral("mvt");
    request.filter = TemplateFilter();
    request.confirmOverwrite = false;
    if (const std::optional<QString> path = Ui().AskOpenFileName(request)) {
        document->ReadTemplate(*path);
    }
}

void CHebApp::OnFileOpen() {
    FileDialogRequest request;
    request.defaultExt = QStringLiteral("htm");
    request.filter = OpenFilter();
    request.confirmOverwrite = false;
    const std::optional<QString> path = Ui().AskOpenFileName(request);
    if (path && !path->isEmpty()) {
        // Whatever its extension, a file opens as an editor document.
        GetTemplate(kEditorTemplate)->OpenDocumentFile(*path);
    }
}

void CHebApp::OpenDroppedFile(const QString& path) {
    if (CDocTemplate* editor = GetTemplate(kEditorTemplate)) {
        editor->OpenDocumentFile(path);
    }
}

void CHebApp::OpenFilesFromElsewhere(const QStringList& paths) {
    CDocTemplate* editor = GetTemplate(kEditorTemplate);
    if (editor == nullptr || m_pMainFrame == nullptr) {
        return;
    }
    if (m_pMainFrame->isMinimized()) {
        m_pMainFrame->showNormal();
    }
    m_pMainFrame->raise();
    m_pMainFrame->activateWindow();
    for (const QString& path : paths) {
        editor->OpenDocumentFile(path);
    }
}

CDocument* CHebApp::BrowseAddress(const QString& address, const QString& caption) {
    CDocTemplate* preview = GetTemplate(kPreviewTemplate);
    if (preview == nullptr) {
        return nullptr;
    }
    const bool isWebAddress =
        address.contains(QStringLiteral("http:")) || address.contains(QStringLiteral("https:"));
    auto* document =
        qobject_cast<CBrowseDoc*>(preview->OpenDocumentFile(isWebAddress ? QString() : address));
    if (document == nullptr) {
        return nullptr;
    }
    document->SetTitle(tr("Browsing: ") + caption);
    document->SetSourceDoc(nullptr);
    document->Navigate(address);
    return document;
}

QString CHebApp::HomePageAddress() {
    return QString::fromLatin1(kHomePage);
}

void CHebApp::OnHelpFile() {
    const QString path = FindDataFile(kHelpPage);
    QFile page(path);
    if (!page.open(QIODevice::ReadOnly)) {
        return;  // no help page: nothing to show, nothing to say
    }
    page.close();
    BrowseAddress(path, tr("Help"));
}

void CHebApp::OnHomePage() {
    const QString address = HomePageAddress();
    BrowseAddress(address, tr("Home Page - ") + address);
}

bool CHebApp::SaveAllModified() {
    for (const auto& docTemplate : m_templates) {
        const QList<CDocument*> documents = docTemplate->Documents();
        for (CDocument* document : documents) {
            if (!document->IsClosing() && !document->SaveModified()) {
                return false;
            }
        }
    }
    return true;
}

void CHebApp::CloseAllDocuments() {
    for (const auto& docTemplate : m_templates) {
        const QList<CDocument*> documents = docTemplate->Documents();
        for (CDocument* document : documents) {
            if (!document->IsClosing()) {
                document->OnCloseDocument();
            }
        }
    }
}

// ---------------------------------------------------------------------------
// Printer, about, exit

QPrinter* CHebApp::Printer() {
    if (m_pPrinter == nullptr) {
        m_pPrinter = std::make_unique<QPrinter>(QPrinter::HighResolution);
        const qreal millimetres = CHebView::kPrintMarginTwips * 25.4 / 1440.0;
        m_pPrinter->setPageMargins(QMarginsF(millimetres, millimetres, millimetres, millimetres),
                                   QPageLayout::Millimeter);
    }
    return m_pPrinter.get();
}

void CHebApp::OnFilePrintSetup() {
    QPageSetupDialog dialog(Printer(), m_pMainFrame.get());
    dialog.exec();
}

void CHebApp::OnAppAbout() {
    CAboutDialog dialog(m_pMainFrame.get());
    dialog.exec();
}

void CHebApp::OnAppExit() {
    if (m_pMainFrame != nullptr) {
        m_pMainFrame->close();
    }
}

bool CHebApp::OnCmdMsg(int id) {
    if (IsRecentFileCommand(id)) {
        OnOpenRecentFile(id - CommandId::FileMruFirst);
        return true;
    }
    return DispatchCommand<CHebApp>(this, kMessageMap, id);
}

bool CHebApp::OnUpdateCmdMsg(CCmdUI& ui) {
    if (IsRecentFileCommand(ui.ID())) {
        OnUpdateRecentFile(ui);
        return true;
    }
    return DispatchUpdate<CHebApp>(this, kMessageMap, ui);
}
