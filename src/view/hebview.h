#pragma once

#include <QMarginsF>
#include <QPlainTextEdit>
#include <QTextCharFormat>
#include <QTextCursor>

#include "document/editortext.h"
#include "framework/view.h"

class CHebDoc;
class QMimeData;
class QTextDocument;

// The editor view of a CHebDoc: a plain-text editor showing the document's
// QTextDocument (so every view of a document shows the same text), and the
// editor-text operations through which the document reads and changes it.
//
// Offsets are code page 1255 byte offsets of the CR LF text; they are mapped
// to document positions through TextDocumentBytes, never by reading the text.
// Lines are the document's blocks (text lines), whatever the wrapping shows.
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
    // the profile, and the document counted as not modified.
    void OnInitialUpdate() override;

    bool IsColourOn() const { return m_bColour; }
    // The margins printing uses, in twips and in millimetres.
    int PrintMarginTwips() const { return m_nPrintMarginTwips; }
    QMarginsF PrintMarginsMm() const;

    // The editor-text operations.
    std::string GetWindowText() const override;
    void SetWindowText(const std::string& text) override;
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

private:
    void SetUp(QTextDocument* text);
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
    // The format last given to the whole text; a whole-text write keeps it.
    QTextCharFormat m_textFormat;
    int m_nPrintMarginTwips = kPrintMarginTwips;
};
