#include "view/hebview.h"

#include <QPrinter>
#include <QTextBlockFormat>
#include <QTextDocumentFragment>

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMimeData>
#include <QPlainTextDocumentLayout>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>
#include <QTimer>
#include <algorithm>
#include <cstdlib>

#include "document/hebdoc.h"
#include "framework/commandids.h"
#include "text/editorcodec.h"
#include "text/textdocumentbytes.h"
#include "view/formatchangescope.h"
#include "view/viewtext.h"

namespace {

const MessageEntry<CHebView> kMessageMap[] = {
    {CommandId::EditUndo, &CHebView::OnEditUndo, &CHebView::OnUpdateEditUndo},
    {CommandId::EditCut, &CHebView::OnEditCut, &CHebView::OnUpdateNeedSel},
    {CommandId::EditCopy, &CHebView::OnEditCopy, &CHebView::OnUpdateNeedSel},
    {CommandId::EditPaste, &CHebView::OnEditPaste, &CHebView::OnUpdateEditPaste},
    {CommandId::EditSelectAll, &CHebView::OnEditSelectAll, &CHebView::OnUpdateNeedText},
    {CommandId::EditFind, &CHebView::OnEditFind, &CHebView::OnUpdateNeedText},
    {CommandId::EditReplace, &CHebView::OnEditReplace, &CHebView::OnUpdateNeedText},
    {CommandId::GoToLine, &CHebView::OnGoToLine, &CHebView::OnUpdateGoToLine},
    {CommandId::LineIndicator, nullptr, &CHebView::OnUpdateLineIndicator},
    {CommandId::DosDisplay, &CHebView::OnDosDisplay, &CHebView::OnUpdateDosDisplay},
    {CommandId::ShowSyntax, &CHebView::OnShowSyntax, &CHebView::OnUpdateShowSyntax},
    {CommandId::RefreshSyntax, &CHebView::OnRefreshSyntax, &CHebView::OnUpdateRefreshSyntax},
};

// The editor-text operations speak of the CR LF text, whatever line ends the
// document's file has.
constexpr LineBreak kEditorBreak = LineBreak::CrLf;

constexpr double kTwipsPerPoint = 20.0;
constexpr double kMmPerTwip = 25.4 / 1440.0;

using viewformat::FormatChangeScope;

int CharacterLength(const QTextDocument& text) {
    return text.characterCount() - 1;
}

}  // namespace

CHebView::CHebView(CHebDoc* document, QWidget* parent) : QPlainTextEdit(parent), CView(document) {
    SetUp(document->TextDocument());
}

CHebView::CHebView(QTextDocument* text, QWidget* parent) : QPlainTextEdit(parent), CView(nullptr) {
    if (qobject_cast<QPlainTextDocumentLayout*>(text->documentLayout()) == nullptr) {
        text->setDocumentLayout(new QPlainTextDocumentLayout(text));
    }
    SetUp(text);
}

CHebView::~CHebView() = default;

void CHebView::SetUp(QTextDocument* text) {
    setDocument(text);
    // Lines wrap at the window's edge; there is nothing to scroll sideways.
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // The text's own index of its line pieces hears of each change before
    // this view does (the first look-up makes it).
    TextDocumentBytes::LineCount(*text);
    connect(text, &QTextDocument::contentsChange, this, &CHebView::OnContentsChange);
}

CHebDoc* CHebView::GetHebDoc() const {
    return qobject_cast<CHebDoc*>(GetDocument());
}

void CHebView::OnInitialUpdate() {
    CView::OnInitialUpdate();
    m_nPrintMarginTwips = kPrintMarginTwips;
    const CHebDoc* doc = GetHebDoc();
    if (doc != nullptr && doc->HasPendingText() && !isVisible()) {
        // The window is not on the screen yet (the first file is opened
        // before the main window shows): the text goes in when it is, or at
        // the next turn of the event loop if it is not by then.
        m_bDisplayPending = true;
        QTimer::singleShot(0, this, [this] {
            if (m_bDisplayPending) {
                FirstDisplay();
            }
        });
        return;
    }
    FirstDisplay();
}

void CHebView::showEvent(QShowEvent* event) {
    QPlainTextEdit::showEvent(event);
    if (m_bDisplayPending) {
        FirstDisplay();
    }
}

// Qt's plain-text layout gives every block a layout object of its own (some
// 300 bytes a line, two fifths of the memory a large page of short lines
// takes) whenever the text width is set on a filled text: when a view is set
// on it and when the view's width changes. Filled into this view, shown at
// its size, with the vertical scroll bar already there as the text needs it,
// the text keeps the width it is laid out at, and only the lines shown get
// such an object. A later change of the window's width makes them all.
void CHebView::FillPendingText(CHebDoc& document) {
    const Qt::ScrollBarPolicy policy = verticalScrollBarPolicy();
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // The text goes in in the text font: applied afterwards it would have
    // every line laid out again, in another width.
    document.ApplyTextFont();
    // The layout keeps the width of the widest line it has laid out, starting
    // from the text width. While that is the widest, the first line laid out
    // narrower has it measure every line again, giving each a layout object;
    // the empty text's one line, laid out now, makes it the narrowest.
    if (const auto* layout =
            qobject_cast<const QPlainTextDocumentLayout*>(this->document()->documentLayout())) {
        layout->ensureBlockLayout(this->document()->firstBlock());
    }
    m_bFilling = true;
    document.WritePendingText();
    m_bFilling = false;
    m_bFactsKnown = false;
    // The caret and the view at the start of the text, as for a text that
    // was there when the view was made.
    setTextCursor(QTextCursor(this->document()));
    setVerticalScrollBarPolicy(policy);
}

void CHebView::FirstDisplay() {
    m_bDisplayPending = false;
    CHebDoc* doc = GetHebDoc();
    if (doc != nullptr) {
        if (doc->HasPendingText()) {
            FillPendingText(*doc);
        }
        // Giving a text its fonts when it is first shown is no step of the
        // user's to take back. With no steps to keep, the formatting is not
        // recorded at all (on a large page the record of it would take as
        // much memory as a fifth of the text).
        const bool hadUndo = document()->isUndoAvailable();
        const bool record = hadUndo || document()->isRedoAvailable();
        const bool undoEnabled = document()->isUndoRedoEnabled();
        if (!record) {
            document()->setUndoRedoEnabled(false);
        }
        doc->ApplyTextFont();
        m_bColour = CHebDoc::IsShowSyntax();
        if (m_bColour && !document()->isEmpty()) {
            Colourize(true);
        }
        if (!record) {
            document()->setUndoRedoEnabled(undoEnabled);
        } else if (!hadUndo) {
            document()->clearUndoRedoStacks(QTextDocument::UndoStack);
        }
        doc->SetDocModified(false);
    }
}

std::unique_ptr<QTextDocument> CHebView::DocumentToPrint(const QPagedPaintDevice* printer) const {
    std::unique_ptr<QTextDocument> copy;
    const auto* paper = dynamic_cast<const QPrinter*>(printer);
    if (paper != nullptr && paper->printRange() == QPrinter::Selection) {
        if (!textCursor().hasSelection()) {
            return nullptr;
        }
        copy = std::make_unique<QTextDocument>();
        copy->setDefaultFont(document()->defaultFont());
        QTextCursor(copy.get()).insertFragment(textCursor().selection());
    } else {
        copy.reset(document()->clone());
    }
    copy->setDefaultTextOption(document()->defaultTextOption());
    // Left as an absolute side: without AlignAbsolute the layout turns "left"
    // into "right" for a right-to-left line, which the editor never does.
    QTextBlockFormat left;
    left.setAlignment(Qt::AlignLeft | Qt::AlignAbsolute);
    QTextCursor all(copy.get());
    all.select(QTextCursor::Document);
    all.mergeBlockFormat(left);
    return copy;
}

void CHebView::PrintTo(QPagedPaintDevice* printer) const {
    if (const std::unique_ptr<QTextDocument> text = DocumentToPrint(printer)) {
        text->print(printer);
    }
}

QMarginsF CHebView::PrintMarginsMm() const {
    const double mm = m_nPrintMarginTwips * kMmPerTwip;
    return QMarginsF(mm, mm, mm, mm);
}

void CHebView::OnContentsChange(int from, int removed, int added) {
    if (m_bFilling || FormatChangeScope::IsActive() || (removed == 0 && added == 0)) {
        return;
    }
    if (removed > 0) {
        m_bFactsKnown = false;
    } else if (m_bFactsKnown) {
        QTextCursor inserted(document());
        inserted.setPosition(std::min(from + added, CharacterLength(*document())));
        inserted.setPosition(std::min(from, inserted.position()), QTextCursor::KeepAnchor);
        m_facts.Note(inserted.selectedText());
    }
    if (CHebDoc* doc = GetHebDoc()) {
        doc->SetDocModified(true);
    }
    emit TextEdited();
}

void CHebView::TextFacts::Note(QStringView text) {
    for (const QChar c : text) {
        if (hasTag && hasDosLetter) {
            return;
        }
        if (c == u'<') {
            hasTag = true;
        } else if (c.unicode() >= 0x80 && !hasDosLetter) {
            // Every byte below 0x80 has a character of its own, so only
            // characters from U+0080 on can stand for a DOS letter.
            const char byte = EditorCodec::EncodeInLine(c);
            hasDosLetter = viewtext::HoldsDosLetter(std::string_view(&byte, 1));
        }
    }
}

const CHebView::TextFacts& CHebView::Facts() const {
    if (!m_bFactsKnown) {
        m_facts = TextFacts{};
        TextDocumentBytes::ForEachChunk(*document(),
                                        [this](QStringView chunk, int) { m_facts.Note(chunk); });
        m_bFactsKnown = true;
    }
    return m_facts;
}

// The selection.

QTextCursor CHebView::WorkingCursor() const {
    return m_bSelectionHidden ? m_hiddenCursor : textCursor();
}

void CHebView::SetWorkingCursor(const QTextCursor& cursor) {
    if (m_bSelectionHidden) {
        m_hiddenCursor = cursor;
    } else {
        setTextCursor(cursor);  // scrolls the caret into view
    }
}

void CHebView::SetTextCursorKeepScroll(const QTextCursor& cursor) {
    // The view is put back by its first visible text line. The scroll bar's
    // value is no measure of it: it counts laid-out lines, and when lines
    // above the view are laid out anew (after a format change, or when the
    // caret is scrolled to), the same value names another line.
    const QTextBlock top = firstVisibleBlock();
    const int lineInTop = std::clamp(verticalScrollBar()->value() - top.firstLineNumber(), 0,
                                     std::max(0, top.lineCount() - 1));
    setTextCursor(cursor);
    verticalScrollBar()->setValue(top.firstLineNumber() + lineInTop);
}

void CHebView::GetSel(long& start, long& end) const {
    const QTextCursor cursor = WorkingCursor();
    const QTextDocument& text = *document();
    start = TextDocumentBytes::OffsetFromPosition(text, cursor.selectionStart(), kEditorBreak);
    end = TextDocumentBytes::OffsetFromPosition(text, cursor.selectionEnd(), kEditorBreak);
}

void CHebView::SetSel(long start, long end) {
    QTextCursor cursor = WorkingCursor();
    if (start < 0) {
        // A negative start removes the selection and leaves the caret.
        cursor.clearSelection();
    } else {
        const QTextDocument& text = *document();
        const long length = TextDocumentBytes::Length(text, kEditorBreak);
        if (end < 0 || end > length) {
            end = length;
        }
        cursor.setPosition(TextDocumentBytes::PositionFromOffset(text, start, kEditorBreak));
        cursor.setPosition(TextDocumentBytes::PositionFromOffset(text, end, kEditorBreak),
                           QTextCursor::KeepAnchor);
    }
    SetWorkingCursor(cursor);
}

std::string CHebView::GetSelText() const {
    const QTextCursor cursor = WorkingCursor();
    return TextDocumentBytes::ReadRange(*document(), cursor.selectionStart(), cursor.selectionEnd(),
                                        kEditorBreak);
}

void CHebView::ReplaceSel(const std::string& text, bool canUndo) {
    QTextCursor cursor = WorkingCursor();
    // The new text takes the format at the start of the selection.
    TextDocumentBytes::Replace(cursor, text, kEditorBreak);
    SetWorkingCursor(cursor);
    if (!canUndo) {
        document()->clearUndoRedoStacks();
    }
}

void CHebView::HideSelection(bool hide) {
    if (hide == m_bSelectionHidden) {
        return;
    }
    if (hide) {
        m_hiddenCursor = textCursor();
        QTextCursor caret = m_hiddenCursor;
        caret.clearSelection();
        SetTextCursorKeepScroll(caret);
        m_bSelectionHidden = true;
    } else {
        m_bSelectionHidden = false;
        SetTextCursorKeepScroll(m_hiddenCursor);
        m_hiddenCursor = QTextCursor();
    }
}

// Whole text and lines.

std::string CHebView::GetWindowText() const {
    return TextDocumentBytes::Read(*document(), kEditorBreak);
}

void CHebView::SetWindowText(const std::string& text) {
    TextDocumentBytes::Write(*document(), text, kEditorBreak,
                             TextDocumentBytes::TextFormat(*document()));
    ShowTextStart();
}

void CHebView::ShowTextStart() {
    const QTextCursor start(document());
    if (m_bSelectionHidden) {
        m_hiddenCursor = start;
    }
    setTextCursor(start);
    verticalScrollBar()->setValue(0);
}

int CHebView::GetFirstVisibleLine() const {
    return TextDocumentBytes::LineOfBlock(*document(), firstVisibleBlock().blockNumber());
}

void CHebView::LineScroll(int lines) {
    // By text lines: the line that many lines below (above) the first
    // visible one comes to the top, as far as the scroll range allows. The
    // scroll bar counts laid-out lines, so the first line number of the
    // line's first block is where it starts.
    const QTextDocument& text = *document();
    const int target = TextDocumentBytes::FirstBlockOfLine(text, GetFirstVisibleLine() + lines);
    verticalScrollBar()->setValue(text.findBlockByNumber(target).firstLineNumber());
}

int CHebView::LineFromChar(long offset) const {
    const QTextDocument& text = *document();
    if (offset < 0) {
        return TextDocumentBytes::LineOfBlock(
            text, text.findBlock(WorkingCursor().position()).blockNumber());
    }
    return TextDocumentBytes::LineFromOffset(text, offset, kEditorBreak);
}

int CHebView::GetLineCount() const {
    return TextDocumentBytes::LineCount(*document());
}

long CHebView::LineIndex(int line) const {
    const QTextDocument& text = *document();
    if (line == -1) {
        line = TextDocumentBytes::LineOfBlock(
            text, text.findBlock(WorkingCursor().position()).blockNumber());
    }
    return TextDocumentBytes::LineOffset(text, line, kEditorBreak);
}

// Format.

QTextCharFormat CHebView::CharFormatFromFont(const FontSettings& format) {
    QTextCharFormat charFormat;
    charFormat.setFontFamilies(
        QStringList{EditorCodec::Decode(format.Face, LineBreak::CrLf).trimmed()});
    if (format.Height > 0) {
        charFormat.setFontPointSize(format.Height / kTwipsPerPoint);
    }
    charFormat.setFontWeight((format.Effects & 1) != 0 ? QFont::Bold : QFont::Normal);
    charFormat.setFontItalic((format.Effects & 2) != 0);
    charFormat.setFontUnderline((format.Effects & 4) != 0);
    charFormat.setFontStrikeOut((format.Effects & 8) != 0);
    // 0x00BBGGRR
    charFormat.setForeground(
        QColor(format.Color & 0xFF, (format.Color >> 8) & 0xFF, (format.Color >> 16) & 0xFF));
    return charFormat;
}

void CHebView::SetSelectionCharFormat(const FontSettings& format) {
    const QTextCharFormat charFormat = CharFormatFromFont(format);
    QTextCursor cursor = WorkingCursor();
    {
        const FormatChangeScope scope;
        cursor.mergeCharFormat(charFormat);
    }
    if (cursor.selectionStart() == 0 && cursor.selectionEnd() == CharacterLength(*document())) {
        TextDocumentBytes::SetTextFormat(*document(), charFormat);
    }
    // With no selection the format is the caret's, for the next typing; the
    // cursor that holds it goes back to where it came from.
    if (!cursor.hasSelection()) {
        if (m_bSelectionHidden) {
            m_hiddenCursor = cursor;
        } else {
            SetTextCursorKeepScroll(cursor);
        }
    }
}

// Clipboard and redrawing.

QMimeData* CHebView::MimeDataOf(const QTextCursor& cursor) {
    auto* data = new QMimeData;
    data->setText(TextDocumentBytes::EditorTextRange(*cursor.document(), cursor.selectionStart(),
                                                     cursor.selectionEnd()));
    return data;
}

void CHebView::Copy() {
    const QTextCursor cursor = WorkingCursor();
    if (cursor.hasSelection()) {
        QGuiApplication::clipboard()->setMimeData(MimeDataOf(cursor));
    }
}

void CHebView::LockWindowUpdate(bool lock) {
    setUpdatesEnabled(!lock);
}

QMimeData* CHebView::createMimeDataFromSelection() const {
    return MimeDataOf(textCursor());
}

void CHebView::insertFromMimeData(const QMimeData* source) {
    if (source == nullptr || !source->hasText()) {
        QPlainTextEdit::insertFromMimeData(source);
        return;
    }
    QString text = source->text();
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    QTextCursor cursor = textCursor();
    TextDocumentBytes::Insert(cursor, text);
    setTextCursor(cursor);
}

bool CHebView::EditAcrossPieces(QKeyEvent* event) {
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    const bool backspace = event->key() == Qt::Key_Backspace && modifiers == Qt::NoModifier;
    const bool del = event->key() == Qt::Key_Delete && modifiers == Qt::NoModifier;
    if (isReadOnly() || !(enter || backspace || del)) {
        return false;
    }
    QTextCursor cursor = textCursor();
    const QTextDocument& text = *document();
    if (enter) {
        // A new block would take the piece's format and continue the line
        // before it; the break has to start a line of its own.
        if (!TextDocumentBytes::ContinuesLine(text.findBlock(cursor.selectionStart()))) {
            return false;
        }
        TextDocumentBytes::Insert(cursor, u"\n");
    } else if (cursor.hasSelection()) {
        return false;
    } else if (backspace) {
        // The soft break before a piece stands for no character: the
        // character before it goes.
        if (!cursor.atBlockStart() || !TextDocumentBytes::ContinuesLine(cursor.block())) {
            return false;
        }
        while (cursor.atBlockStart() && cursor.position() > 0 &&
               TextDocumentBytes::ContinuesLine(cursor.block())) {
            cursor.setPosition(cursor.position() - 1);
        }
        cursor.deletePreviousChar();
    } else {
        if (!cursor.atBlockEnd() || !TextDocumentBytes::ContinuesLine(cursor.block().next())) {
            return false;
        }
        while (cursor.atBlockEnd() && TextDocumentBytes::ContinuesLine(cursor.block().next())) {
            cursor.setPosition(cursor.position() + 1);
        }
        cursor.deleteChar();
    }
    setTextCursor(cursor);
    ensureCursorVisible();
    event->accept();
    return true;
}

void CHebView::keyPressEvent(QKeyEvent* event) {
    if (EditAcrossPieces(event)) {
        return;
    }
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && (event->modifiers() & Qt::ShiftModifier) != 0) {
        QKeyEvent plain(event->type(), event->key(), event->modifiers() & ~Qt::ShiftModifier,
                        event->text(), event->isAutoRepeat(), static_cast<ushort>(event->count()));
        QPlainTextEdit::keyPressEvent(&plain);
        event->setAccepted(plain.isAccepted());
        return;
    }
    const bool charMove = event->matches(QKeySequence::MoveToNextChar) ||
                          event->matches(QKeySequence::MoveToPreviousChar) ||
                          event->matches(QKeySequence::SelectNextChar) ||
                          event->matches(QKeySequence::SelectPreviousChar);
    const int before = textCursor().position();
    QPlainTextEdit::keyPressEvent(event);
    if (charMove) {
        // A soft break is no character: a step that only crossed one goes
        // on by a character.
        const int after = textCursor().position();
        const QTextBlock block = document()->findBlock(std::max(before, after));
        if (std::abs(after - before) == 1 && block.position() == std::max(before, after) &&
            TextDocumentBytes::ContinuesLine(block)) {
            QPlainTextEdit::keyPressEvent(event);
        }
    }
}

// Commands.

bool CHebView::OnCmdMsg(int id) {
    return DispatchCommand<CHebView>(this, kMessageMap, id) || CView::OnCmdMsg(id);
}

bool CHebView::OnUpdateCmdMsg(CCmdUI& ui) {
    return DispatchUpdate<CHebView>(this, kMessageMap, ui) || CView::OnUpdateCmdMsg(ui);
}

void CHebView::OnEditUndo() {
    undo();
}

void CHebView::OnUpdateEditUndo(CCmdUI& ui) {
    ui.Enable(document()->isUndoAvailable());
}

void CHebView::OnEditCut() {
    cut();
}

void CHebView::OnEditCopy() {
    Copy();
}

void CHebView::OnUpdateNeedSel(CCmdUI& ui) {
    ui.Enable(WorkingCursor().hasSelection());
}

void CHebView::OnEditPaste() {
    paste();
}

void CHebView::OnUpdateEditPaste(CCmdUI& ui) {
    ui.Enable(canPaste());
}

void CHebView::OnEditSelectAll() {
    selectAll();
}

void CHebView::OnUpdateNeedText(CCmdUI& ui) {
    ui.Enable(!document()->isEmpty());
}
