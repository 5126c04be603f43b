#pragma once

#include <QList>
#include <QMainWindow>
#include <QPoint>
#include <QSet>
#include <map>
#include <span>
#include <utility>
#include <vector>

#include "framework/cmdtarget.h"
#include "framework/doctemplate.h"

class CChildFrame;
class CDocument;
class CHebApp;
class CView;
class IdleUpdater;
class QAction;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QMimeData;
class QPlainTextEdit;
class QPrinter;
class QRect;
class QToolBar;
struct MenuEntry;

// The main window: the document windows inside a multiple-document area, the
// menu bar of the active document's kind, the toolbar and the status bar.
// Every menu item, toolbar button and key runs its command through Route;
// the states of all of them are brought up to date whenever the program goes
// idle after input, a command or a change of the active window.
class CMainFrame : public QMainWindow, public CCmdTarget, public IFrameHost {
    Q_OBJECT

public:
    explicit CMainFrame(CHebApp* app, QWidget* parent = nullptr);
    ~CMainFrame() override;

    // IFrameHost: the document windows.
    void AddFrame(CDocTemplate* docTemplate, CView* view, bool visible) override;
    void ActivateDocument(CDocument* document) override;
    void CloseFrame(CView* view) override;

    // The active document window, its view and its document; null when there
    // is none.
    CChildFrame* MDIGetActive() const;
    CView* GetActiveView() const;
    CDocument* GetActiveDocument() const;
    // The document windows that are not closing, in the order they were opened.
    QList<CChildFrame*> ChildFrames() const;
    QMdiArea* MdiArea() const { return m_pMdiArea; }

    // Runs a command: the active view, its document, its window, this frame
    // and the application are asked in turn; the first that handles it runs
    // it. False when the command is unavailable or nobody handles it.
    bool Route(int id);
    // The state the route gives a command. A command nobody claims, and one
    // whose feature is not built yet, is disabled.
    CCmdUI QueryCommandState(int id);
    // One idle pass: the menu bar and titles for the active window, then the
    // state of every command and the line indicator's text.
    void UpdateCommandUI();
    IdleUpdater* Idle() const { return m_pIdle; }

    // The action of a command (menu item, button and keys); null for an id
    // that has none.
    QAction* CommandAction(int id) const;
    QToolBar* ToolBar() const { return m_pToolBar; }
    QLabel* MessagePane() const { return m_pMessagePane; }
    QLabel* LinePane() const { return m_pLinePane; }
    QLabel* OrderPane() const { return m_pOrderPane; }
    QLabel* EncodingPane() const { return m_pEncodingPane; }
    // 128, 129 or 130: the menu bar being shown.
    int CurrentMenu() const { return m_nCurrentMenu; }
    // The popups of a menu bar, as built.
    QList<QMenu*> MenuPopups(int resourceId) const;
    // Brings the recent-file items of the file menus up to date.
    void RefreshRecentFiles();

    // Prints the active editor view; false when the active view is not an
    // editor.
    bool PrintActiveView(QPrinter* printer);
    // Opens the first local file the dropped data carries, once the drop is
    // over; false when it carries none.
    bool OpenDroppedData(const QMimeData* data);
    // Lines minimised windows up along the bottom, from the leading side.
    void ArrangeIconicWindows();
    // The part of the multiple-document area that document windows fill, in
    // the coordinates of the windows themselves.
    QRect Workspace();
    // Makes a document window the active one, restoring it when minimised.
    void ActivateFrame(CChildFrame* frame);

    bool OnCmdMsg(int id) override;
    bool OnUpdateCmdMsg(CCmdUI& ui) override;

protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    static std::span<const MessageEntry<CMainFrame>> MessageMap();

    void OnWindowNew();
    void OnWindowCascade();
    void OnWindowTile();
    void OnWindowArrange();
    void OnUpdateMDIWindowCmd(CCmdUI& ui);
    void OnViewToolbar();
    void OnUpdateViewToolbar(CCmdUI& ui);
    void OnViewStatusBar();
    void OnUpdateViewStatusBar(CCmdUI& ui);
    void OnFilePrint();
    void OnFilePrintPreview();
    void OnUpdateFilePrint(CCmdUI& ui);
    void OnUpdateNextPane(CCmdUI& ui);

    void CreateActions();
    void CreateMenus();
    // The window menus list the open windows below their commands, filled
    // in each time one opens.
    void AttachWindowLists();
    void FillWindowList(QMenu* menu);
    void ShowMoreWindows();
    // A new window: two thirds of the workspace, one step down and to the
    // side of the window opened before it, back in the corner before it
    // would leave the workspace.
    void PlaceNewFrame(CChildFrame* frame);
    // The windows cascade and tile arrange: not minimised, none maximised,
    // in the given order.
    QList<CChildFrame*> ArrangeableFrames(bool activeFirst);
    // The workspace above the row of minimised windows, once they are lined up.
    QRect ArrangeWorkspace();
    QMenu* BuildPopup(const MenuEntry& popup, int resourceId);
    void CreateToolBar();
    void CreateStatusBar();
    // A status pane shows the text its indicator's update handler gives.
    void UpdatePane(QLabel* pane, int id);
    void ShowMenu(int resourceId);
    // The menu bar, the window titles: whatever follows the active window.
    void UpdateFrameState();
    std::vector<CCmdTarget*> RouteTargets();
    QPlainTextEdit* ActiveEditor() const;
    // Soon (once the current event is over): tells the user of a change on
    // disk to the active document's file, when this window is the active one
    // and no dialog is open.
    void ScheduleFileCheck();
    // Routes drops and update triggers of a view's widget through this frame.
    void WatchView(QWidget* widget);

    CHebApp* m_pApp;
    QMdiArea* m_pMdiArea;
    IdleUpdater* m_pIdle;
    QToolBar* m_pToolBar = nullptr;
    QLabel* m_pMessagePane = nullptr;
    QLabel* m_pLinePane = nullptr;
    QLabel* m_pOrderPane = nullptr;     // visual or logical order of the active document
    QLabel* m_pEncodingPane = nullptr;  // the encoding the active document is saved in
    std::map<int, QAction*> m_actions;
    QAction* m_pRecentPlaceholder = nullptr;
    std::map<int, QList<QMenu*>> m_menus;
    // The texts each menu bar gives its items (new and open differ).
    std::map<int, std::vector<std::pair<QAction*, QString>>> m_menuTexts;
    int m_nCurrentMenu = 0;
    // Toolbar buttons whose command has no tooltip.
    QSet<QObject*> m_buttonsWithoutTip;
    // The items the window menu lists windows with, as last filled in.
    QList<QAction*> m_windowListActions;
    // Where the last window was placed, from the workspace's leading corner.
    QPoint m_lastPlacement;
};
