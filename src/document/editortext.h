#pragma once

#include <string>

#include "document/settings.h"

// What a document reaches through its editor view: the selection, scrolling
// and the visible lines, which need a widget. The document reads and changes
// its text itself (CHebDoc's text operations). Text passes as code page 1255
// bytes with CR LF line ends; positions are byte offsets into the document's
// whole text, a CR LF counting as two.
class IEditorText {
public:
    virtual ~IEditorText() = default;

    // After the whole text was replaced: caret at the start, view scrolled to
    // the first line.
    virtual void ShowTextStart() = 0;

    // The selection, start not after end, equal when nothing is selected.
    virtual void GetSel(long& start, long& end) const = 0;
    // Selects start to end; end -1 (or beyond the text) means the end of the
    // text. Offsets inside a CR LF are moved to the line's end.
    virtual void SetSel(long start, long end) = 0;
    virtual std::string GetSelText() const = 0;
    // Replaces the selection (or inserts at the caret); the caret ends after
    // the text. With canUndo the editor's own undo can take the step back;
    // without it the editor's undo history is cleared.
    virtual void ReplaceSel(const std::string& text, bool canUndo) = 0;

    virtual int GetFirstVisibleLine() const = 0;
    // Scrolls down (up for negative counts) by that many lines.
    virtual void LineScroll(int lines) = 0;
    // Hides the selection while the program moves it, and shows it again.
    virtual void HideSelection(bool hide) = 0;
    // Font, size, effects and colour of the selected text.
    virtual void SetSelectionCharFormat(const FontSettings& format) = 0;

    // The line (0-based) that holds the byte offset; -1: the caret's line.
    virtual int LineFromChar(long offset) const = 0;
    virtual int GetLineCount() const = 0;
    // Byte offset of a line's first character; -1 for a line beyond the
    // last; line -1 is the caret's line.
    virtual long LineIndex(int line) const = 0;

    // Copies the selection to the clipboard.
    virtual void Copy() = 0;
    // Stops (true) and restarts (false) redrawing while the program works.
    virtual void LockWindowUpdate(bool lock) = 0;
};
