#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

#include "framework/cmdtarget.h"
#include "framework/recentfilelist.h"

class CDocTemplate;
class CDocument;
class CMainFrame;
class QPrinter;

// The application: the two document templates (editor first, preview
// second; found by position), the main window, the recent-file list, the
// printer settings, and the commands new, new from template, open, the
// recent files, print setup, about and exit.
class CHebApp : public QObject, public CCmdTarget {
    Q_OBJECT

public:
    explicit CHebApp(QObject* parent = nullptr);
    ~CHebApp() override;

    // The one application object while it exists; null otherwise.
    static CHebApp* Instance();
    // The program's name, which window titles begin with.
    static QString AppTitle();

    // Start-up: the recent-file list, the templates, the main window, then
    // the file named on the command line or, with none, a new document.
    // False when the named file could not be opened (the user has been
    // told): the program ends.
    bool InitInstance(const QString& fileToOpen = QString());

    CMainFrame* MainFrame() const { return m_pMainFrame.get(); }
    // 0: the editor template; 1: the preview template; null beyond.
    CDocTemplate* GetTemplate(int index) const;
    int GetTemplateCount() const { return static_cast<int>(m_templates.size()); }

    // The path enters the recent-file list unless it is a preview's file
    // ("_mirval.htm"); the list is saved to the profile at once.
    void AddToRecentFileList(const QString& path);
    QStringList RecentFiles() const { return m_recentFiles.Paths(); }
    // Opens a file dropped on the main window as an editor document.
    void OpenDroppedFile(const QString& path);
    // Opens files handed over by a second start of the program (a file
    // already open has its window brought forward) and raises the main
    // window.
    void OpenFilesFromElsewhere(const QStringList& paths);
    // Opens a preview document titled "Browsing: " and the caption and sends
    // it to the address: a new empty one for an "http:" or "https:" address,
    // else the address opened as a file. The document has no source editor
    // document, so closing it deletes nothing. Null when no document was
    // obtained.
    CDocument* BrowseAddress(const QString& address, const QString& caption);
    // The program's home page, which HomePage shows.
    static QString HomePageAddress();

    // Asks about every modified document; false as soon as one answer is
    // cancel (or its save fails).
    bool SaveAllModified();
    void CloseAllDocuments();
    // The printer and its settings, shared by print, preview and print
    // setup; created on first use with the editor's print margins.
    QPrinter* Printer();

    bool OnCmdMsg(int id) override;
    bool OnUpdateCmdMsg(CCmdUI& ui) override;

    void OnFileNew();
    void OnFileNewFromTemplate();
    void OnFileOpen();
    void OnFilePrintSetup();
    void OnAppAbout();
    void OnAppExit();
    // HelpFile: the help page h_mirval.htm in a preview window; nothing
    // when the page is missing.
    void OnHelpFile();
    // HomePage: the home page in a preview window.
    void OnHomePage();
    // One of the recent-file items, 0 to 3. A file that no longer opens
    // leaves the list.
    void OnOpenRecentFile(int index);

    // The file filters and names of the application's dialogs.
    static QString OpenFilter();
    static QString TemplateFilter();
    static QString DefaultTemplateName();

signals:
    void RecentFilesChanged();

private:
    void OnUpdateRecentFile(CCmdUI& ui);
    void SaveRecentFiles();

    std::vector<std::unique_ptr<CDocTemplate>> m_templates;
    std::unique_ptr<CMainFrame> m_pMainFrame;
    std::unique_ptr<QPrinter> m_pPrinter;
    RecentFileList m_recentFiles;
    bool m_recentFilesFailureShown = false;
};
