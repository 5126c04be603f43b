#pragma once

#include <QMarginsF>
#include <QPagedPaintDevice>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTextCharFormat>
#include <QTextCursor>
#include <memory>
#include <string>

#include "document/editortext.h"
#include "framework/view.h"
#include "view/findreplacedialog.h"
#include "view/hebrewfind.h"

class CHebDoc;
class QMimeData;
class QTextDocument;

// The editor view of a CHebDoc: a plain-text editor showing the document's
// QTextDocument (so every view of a document shows the same text), and the
// editor-text operations through which the document reads and changes it.
//
// Offsets are code page 1255 byte offsets of the CR LF text; they are mapped
// to document positions through TextDocumentBytes, never by reading the text.
// Lines are text lines (a long one may be held as several blocks, see
// TextDocumentBytes), whatever the wrapping shows.
//
// Layout direction: each paragraph takes its direction from its first strong
// character (Qt's default), so Hebrew logical text reads right to left while
// the left-to-right markup of visual pages stays left to right; the widget
// itself follows the application's right-to-left layout.
class CHebView : public QPlainTextEdit, public CView, public IEditorText {
    Q_OBJECT

public:
    // Print margins on all four sides, in twips (half an inch).
    static constexpr int kPrintMarginTwips = 720;

    explicit CHebView(CHebDoc* document, QWidget* parent = nullptr);
    // A view of a text without a document, for samples and tests. The text
    // is given a plain-text layout when it has none.
    explicit CHebView(QTextDocument* text, QWidget* parent = nullptr);
    ~CHebView() override;

    // The view's document; null for a view without one or after the document
    // has detached it.
    CHebDoc* GetHebDoc() const;
    QWidget* Widget() override { return this; }

    // First display: the text font over the whole text, the colour flag from
    // the profile (a text that is not empty is coloured at once when it is
    // on), and the document counted as not modified. A document whose text
    // waits (CHebDoc::HasPendingText) has it filled in first, once this view
    // is on the screen at its size.
    void OnInitialUpdate() override;

    bool IsColourOn() const { return m_bColour; }

    // Colouring: one pass over the whole text that puts the markup in the
    // code font ("CodeFont") and the rest in the text font ("RegFont"), both
    // read from the profile; without showCode all of it in the text font.
    // Only formats change; the selection and the top line stay where they
    // were, and the window is repainted once.
    void Colourize(bool showCode);
    void OnShowSyntax();  // ShowSyntax: colouring on or off
    void OnUpdateShowSyntax(CCmdUI& ui);
    void OnRefreshSyntax();  // RefreshSyntax (F7): colouring on, afresh
    void OnUpdateRefreshSyntax(CCmdUI& ui);

    // Go to line (GoToLine): the dialog, then the caret to the start of the line.
    void OnGoToLine();
    void OnUpdateGoToLine(CCmdUI& ui);
    // DOS display (DosDisplay): a text holding DOS letters is shown in code page
    // 1255 and the document's DOS-display flag set; a text without them is
    // put back into code page 862 and the flag cleared.
    void OnDosDisplay();
    void OnUpdateDosDisplay(CCmdUI& ui);
    // The line indicator (LineIndicator): "Ln line/lines".
    void OnUpdateLineIndicator(CCmdUI& ui);
    // What a double-click at a byte offset does first: when the text there is
    // a link naming a page (".htm" or ".txt"), opens that page, relative to
    // the document's folder, through the document's template (which brings a
    // page that is already open forward) and returns true; otherwise false.
    bool OpenLinkAt(long offset);

    // Find (EditFind, F3): a new modeless find dialog at each press. Replace
    // (EditReplace, Ctrl+R): the view's replace dialog, brought forward when it is
    // open already.
    void OnEditFind();
    void OnEditReplace();
    // A request from one of the view's find or replace dialogs (dialog may be
    // null).
    void OnFindReplaceRequest(CFindReplaceDialog* dialog, const FindReplaceRequest& request);
    // Selects the next occurrence, after the selection, of a Hebrew find
    // string as typed or reversed (typed tells which); beeps on a miss.
    bool FindHebrew(const std::string& find, bool& typed);
    // Finds the next occurrence and replaces it, the replace string reversed
    // for a reversed occurrence; the replacement is left selected.
    bool ReplaceHebrew(const std::string& find, const std::string& replace);
    // ReplaceHebrew on every occurrence after the selection, in one pass and
    // one write of the text; ends with the beep of the last search.
    void ReplaceAllHebrew(const std::string& find, const std::string& replace);
    const std::string& LastFindString() const { return m_strLastFind; }
    // The find dialog the Find command opened last; null once it has closed.
    CFindReplaceDialog* FindDialog() const { return m_pFindDialog; }
    CFindReplaceDialog* ReplaceDialog() const { return m_pReplaceDialog; }
    // The margins printing uses, in twips and in millimetres.
    int PrintMarginTwips() const { return m_nPrintMarginTwips; }
    QMarginsF PrintMarginsMm() const;
    // The text as printing lays it out: the whole text, or the selection
    // when printer asks for it (null when there is none). Each line keeps the
    // editor's direction (from its first strong character) and, as in the
    // editor, starts at the left edge: the rich-text layout of printing
    // would put a right-to-left line at the right.
    std::unique_ptr<QTextDocument> DocumentToPrint(const QPagedPaintDevice* printer) const;
    // Prints the text as the editor shows it.
    void PrintTo(QPagedPaintDevice* printer) const;

    // The whole text, and its replacement (caret at the start, scrolled to
    // the first line, undo history cleared); a document's own commands use
    // the document's text operations instead.
    std::string GetWindowText() const;
    void SetWindowText(const std::string& text);

    // The editor-text operations.
    void ShowTextStart() override;
    void GetSel(long& start, long& end) const override;
    void SetSel(long start, long end) override;
    std::string GetSelText() const override;
    void ReplaceSel(const std::string& text, bool canUndo) override;
    int GetFirstVisibleLine() const override;
    void LineScroll(int lines) override;
    void HideSelection(bool hide) override;
    void SetSelectionCharFormat(const FontSettings& format) override;
    int LineFromChar(long offset) const override;
    int GetLineCount() const override;
    long LineIndex(int line) const override;
    void Copy() override;
    void LockWindowUpdate(bool lock) override;

    // The framework's edit commands.
    bool OnCmdMsg(int id) override;
    bool OnUpdateCmdMsg(CCmdUI& ui) override;
    void OnEditUndo();
    void OnUpdateEditUndo(CCmdUI& ui);
    void OnEditCut();
    void OnEditCopy();
    void OnUpdateNeedSel(CCmdUI& ui);
    void OnEditPaste();
    void OnUpdateEditPaste(CCmdUI& ui);
    void OnEditSelectAll();
    void OnUpdateNeedText(CCmdUI& ui);

    // The character format a font setting stands for.
    static QTextCharFormat CharFormatFromFont(const FontSettings& format);

signals:
    // The text changed (not only its format); the document has been told.
    void TextEdited();

protected:
    // The clipboard gets the selection's raw text, so that U+00A0 and the
    // stand-in characters survive a copy and paste.
    QMimeData* createMimeDataFromSelection() const override;
    // Pasted text takes the format at the caret, and line separators become
    // line breaks (a text line is always one block).
    void insertFromMimeData(const QMimeData* source) override;
    // Shift+Enter breaks the line like Enter instead of inserting a line
    // separator inside the block.
    void keyPressEvent(QKeyEvent* event) override;
    // A double-click on a link opens its page; elsewhere it selects a word.
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    // Runs a first display that waited for the view to be shown.
    void showEvent(QShowEvent* event) override;

private:
    // Whether the text holds a "<" and a DOS letter: text coming in is looked
    // at as it comes; after a removal the whole text is, when next asked.
    struct TextFacts {
        bool hasTag = false;
        bool hasDosLetter = false;

        // Notes what a piece of the editor's text holds.
        void Note(QStringView text);
    };
    const TextFacts& Facts() const;

    // The non-Hebrew searches.
    bool FindText(const std::string& find, hebrewfind::PlainOptions options);
    void ReplaceAllText(const std::string& find, const std::string& replace,
                        hebrewfind::PlainOptions options);
    void TextNotFound();
    // Moves the dialog off the selection.
    void AdjustDialogPosition(QWidget* dialog);
    CFindReplaceDialog* OpenFindDialog(bool replace);

    // Enter in a piece of a long line, Backspace at a piece's start and
    // Delete at the end of a block a piece follows: what they do in one line
    // (a line break; the character before or after the soft break goes).
    // True when the key was handled so.
    bool EditAcrossPieces(QKeyEvent* event);
    void SetUp(QTextDocument* text);
    void FirstDisplay();
    void FillPendingText(CHebDoc& document);
    void OnContentsChange(int from, int removed, int added);
    // The selection the program works on: the widget's own, or while the
    // selection is hidden, a cursor kept aside that the widget does not show.
    QTextCursor WorkingCursor() const;
    void SetWorkingCursor(const QTextCursor& cursor);
    // Puts the widget's cursor without scrolling the view.
    void SetTextCursorKeepScroll(const QTextCursor& cursor);
    static QMimeData* MimeDataOf(const QTextCursor& cursor);

    bool m_bColour = false;
    bool m_bSelectionHidden = false;
    QTextCursor m_hiddenCursor;
    int m_nPrintMarginTwips = kPrintMarginTwips;

    mutable TextFacts m_facts;
    mutable bool m_bFactsKnown = false;
    // OnInitialUpdate came before the view was shown, with a text to fill.
    bool m_bDisplayPending = false;
    // The document's waiting text is going in: no edit of the user's.
    bool m_bFilling = false;

    std::string m_strLastFind;
    QPointer<CFindReplaceDialog> m_pFindDialog;
    QPointer<CFindReplaceDialog> m_pReplaceDialog;
    hebrewfind::PlainSearch m_plainSearch;
};
