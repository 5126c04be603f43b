#pragma once

#include <QPointer>
#include <QString>
#include <optional>
#include <string>
#include <string_view>

#include "convert/orderdetect.h"
#include "document/settings.h"
#include "framework/document.h"
#include "text/utf8editorcodec.h"

class CDocTemplate;
class CHebDoc;
class IEditorText;
class QTextDocument;
class RecoveryRecorder;
namespace recoveryfolder {
struct Orphan;
}

// The preview document of an editor document, as the editor document sees
// it: CBrowseDoc, a document of the preview template, shows the preview file
// in its window and keeps a link back to its source.
class IPreviewDoc {
public:
    virtual ~IPreviewDoc() = default;
    // The editor document previewed; null for a page without a source.
    virtual void SetSourceDoc(CHebDoc* source) = 0;
    // Sends the first view to the address (a file path or a URL); false when
    // no browser shows it.
    virtual bool Navigate(const QString& address) = 0;
    // Reloads the page and brings its window forward; the source's text is
    // then the one shown.
    virtual void Refresh() = 0;
};

// How a file ended its lines when it was opened; it is saved back the same way.
enum class LineEnds { CrLf, Lf };

// The editor document: a page's text (held in a QTextDocument that every view
// of the document shows), the settings that steer its commands, and the
// conversion, file and template commands.
class CHebDoc : public CDocument {
    Q_OBJECT

public:
    explicit CHebDoc(QObject* parent = nullptr);
    ~CHebDoc() override;

    QTextDocument* TextDocument() const { return m_pTextDocument; }
    // The editor of the document's first view; null while it has no view.
    IEditorText* GetView() const;

    // Settings (section "Settings"), loaded once when the document is made.
    void LoadSettings();
    // False when the profile could not be written or refused a value.
    bool SaveSettings();
    void SetSettings(ConversionSettings conversion, ImageSettings image, TableSettings table,
                     BrowseSettings browse);
    void GetConversionSettings(ConversionSettings& settings) const;
    void GetImageSettings(ImageSettings& settings) const;
    void GetTableSettings(TableSettings& settings) const;
    void GetBrowseSettings(BrowseSettings& settings) const;
    void SetConversionSettings(ConversionSettings settings);
    void SetImageSettings(ImageSettings settings);
    void SetTableSettings(TableSettings settings);
    void SetBrowseSettings(BrowseSettings settings);

    // Fonts and colouring, read from the profile at every use.
    static FontSettings ReadFontSettings(std::string_view section);
    static bool IsShowSyntax();
    void ApplyTextFont();

    // The modified state, with the " *" marker on the title of a document
    // that has a path.
    void SetDocModified(bool modified);
    // True when the text changed since the document was last loaded, saved
    // state aside, or since its preview last reloaded.
    bool IsChangedSincePreviewReload() const { return m_bModifiedCopy; }
    void SetChangedSincePreviewReload(bool changed) { m_bModifiedCopy = changed; }
    // The three characters after the first "." of the path, in lower case.
    QString GetDocExt() const;
    // The path up to and including its last "/"; empty without a path.
    QString GetDocumentFolder() const;
    bool HasSelection() const;
    bool HasText() const;

    // Files and templates.
    bool OnNewDocument() override;
    bool OnOpenDocument(const QString& path) override;
    bool OnSaveDocument(const QString& path) override;
    // Keeps the caret's line.
    bool ReloadFromDisk() override;
    // A large file opened for a shown window (OpensIntoShownWindow) is read,
    // checked, stamped and, in code page 1255, its order detected by
    // OnOpenDocument, but its text waits here for that window's first display
    // (see CHebView::OnInitialUpdate): a text filled into a view already in
    // place spares Qt's plain-text layout an object for every line.
    bool HasPendingText() const { return m_bTextPending; }
    // Puts the waiting text into the document, unmodified and with nothing to
    // undo, exactly as OnOpenDocument would have.
    void WritePendingText();
    void OnCloseDocument() override;
    // Replaces the selection with the template file's text, line by line.
    void ReadTemplate(const QString& path);
    LineEnds GetLineEnds() const { return m_lineEnds; }

    // Crash recovery: from now on the document keeps a journal of its unsaved
    // edits in the folder (see RecoveryRecorder).
    void EnableRecovery(const QString& folder);
    RecoveryRecorder* GetRecovery() const { return m_pRecovery; }
    // Takes the text a journal left by an earlier run rebuilt: the document
    // gets the journal's path (or untitled title) and line ends, the text,
    // and the modified state; the old journal goes once this document's own
    // is durable. The orphan's lock passes to the document.
    void RestoreFromJournal(recoveryfolder::Orphan& orphan);

    // True while the editor shows DOS text converted for display.
    bool IsDosDisplay() const { return m_bDosDisplay; }
    void SetDosDisplay(bool dosDisplay) { m_bDosDisplay = dosDisplay; }

    // The text, byte-exact whether or not a view shows it: code page 1255
    // bytes with CR LF line breaks, offsets counting bytes of that string (a
    // CR LF two). The whole text:
    std::string GetText() const;
    // Replaces the whole text in the text's format and clears the undo
    // history; the first view shows the start, caret there.
    void SetText(const std::string& text);
    // The bytes from start to end (clamped to the text).
    std::string GetTextRange(long start, long end) const;
    // Writes text over the bytes from start to end (clamped to the text) as
    // one step the editor's undo can take back; the text takes the format at
    // that place.
    void ReplaceRange(long start, long end, const std::string& text);
    // The text as it is written to its file: line breaks as the file had them.
    std::string GetFileBytes() const;

    // The order the text is stored in, found when the document opens and
    // after each conversion (one pass over the text), and its status pane.
    void DetectTextOrder(std::string_view text);
    const orderdetect::OrderEvidence& GetOrderEvidence() const { return m_orderEvidence; }
    void OnUpdateOrderIndicator(CCmdUI& ui);

    // The encoding of the document's file: code page 1255, or UTF-8 for a
    // file that opens as UTF-8 (see Utf8EditorCodec::OpensAsUtf8). Either
    // way the commands work on the text's code page 1255 form.
    TextEncoding GetEncoding() const { return m_encoding; }
    // True when the file started with a UTF-8 byte order mark; a UTF-8
    // document keeps it when saved.
    bool HasByteOrderMark() const { return m_bByteOrderMark; }
    // Sets the encoding the document is saved in: the text stays as it is
    // and the document becomes modified. Code page 1255 is refused, with the
    // message of CheckCodePageForm, for a text holding a character without a
    // code page 1255 form; false then.
    bool SetEncoding(TextEncoding encoding);
    // Asked by every command that takes the text as code page 1255 bytes,
    // before it takes it: true when the text it would take (the whole text,
    // or the selection) has a code page 1255 form. Otherwise the user is told
    // which character has none, on which line and column, and false: the
    // command then changes nothing. A code page 1255 document always passes
    // (its text is taken as it always was).
    bool CheckCodePageForm(bool wholeText);
    // The same without a message: the position of the first character
    // without a code page 1255 form, -1 when there is none.
    int FindWithoutCodePageForm(bool wholeText) const;
    // The message naming the character (1-based line and column).
    static QString NoCodePageFormMessage(const QString& character, int line, int column);
    void OnEncodingCp1255();
    void OnEncodingUtf8();
    void OnUpdateEncodingCp1255(CCmdUI& ui);
    void OnUpdateEncodingUtf8(CCmdUI& ui);
    void OnUpdateEncodingIndicator(CCmdUI& ui);

    bool OnCmdMsg(int id) override;
    bool OnUpdateCmdMsg(CCmdUI& ui) override;

    // File commands.
    void OnFileSaveAs();
    void OnFileSaveAsTemplate();

    // The options sheet, modal, at a start page (OptionsPage). On OK the
    // sheet's values become this document's settings and are written to the
    // profile; on Cancel nothing changes.
    void ShowOptions(int startPage);
    void OnOptions();

    // Conversion to visual of text (the selection between start and end, or
    // the whole text when start is not before end). Raw only converts and
    // returns the text; otherwise the result is written into the editor (the
    // selection replaced and left selected, or the whole text) and the
    // document marked converted and modified. Text holding no Hebrew letter
    // comes back empty and empties the undo text.
    std::string ConvertToVisual(std::string text, long& start, long& end, bool raw);

    // Conversion commands and their undo.
    void OnConvertToVisual();
    void OnConvertToLogical();
    void OnConvertDos();
    void OnConvertSemiLogical();
    void OnLowerTags();
    // The whole visual page to a logical page for today's browsers, saved as
    // UTF-8; told once per document before it runs, and undone (encoding
    // included) by the conversion undo.
    void OnConvertToModern();
    void OnUpdateConvertToModern(CCmdUI& ui);
    void OnUndoConvert();
    void OnReplaceSpecialChars();
    void OnUpdateConvertToVisual(CCmdUI& ui);
    void OnUpdateConvertToLogical(CCmdUI& ui);
    void OnUpdateConvertDos(CCmdUI& ui);
    void OnUpdateConvertText(CCmdUI& ui);
    void OnUpdateUndoConvert(CCmdUI& ui);

    // The whole text before the last conversion, paste or replacement.
    void SetUndoText(const std::string& text) {
        m_strUndoText = text;
        m_undoEncoding.reset();
    }
    // The undo text, which is then forgotten along with the last conversion.
    std::string TakeUndoText();
    bool CanUndoConvert() const { return !m_strUndoText.empty(); }
    bool IsLastConvertVisual() const { return m_nLastConvert == kConvertedToVisual; }
    int GetLastConvert() const { return m_nLastConvert; }

    // The kinds of the last conversion.
    enum {
        kNotConverted = 0,
        kConvertedToVisual = 1,
        kConvertedToLogical = 2,
        kConvertedToDos = 3,
        kToggledSemiLogical = 4
    };

    // One field of a definition line (see specialchars::NextDefField).
    static std::string NextDefField(std::string& line);

    // Clipboard paste commands. The clipboard's text (code page 1255) replaces
    // the selection converted to visual HTML, or as a visual HTML table; the
    // inserted text is left selected. A clipboard without text pastes nothing.
    void OnPasteVisual();
    // Paste visual, then the inserted visual text goes to the clipboard.
    void OnPasteVisualCopy();
    // The table paste changes the conversion settings for its own time only.
    void OnPasteTable();
    // The paste commands' work on the bytes from start to end: false when
    // nothing was inserted; otherwise start and end then hold the inserted
    // text.
    bool PasteVisual(long& start, long& end);
    bool PasteTable(long& start, long& end);
    // Enabled when the clipboard holds text.
    void OnUpdatePaste(CCmdUI& ui);
    // The clipboard's text as code page 1255 bytes with CR LF line ends, up to
    // a NUL; nothing when the clipboard holds no text.
    static std::optional<std::string> ReadClipboardText();

    // Markup insertion. WrapSelection writes opening + selection + closing in
    // a page (a file name holding ".htm", or text last converted to visual),
    // and closing + selection + opening in logical text, which the
    // conversion to visual then puts in order.
    void WrapSelection(std::string opening, std::string closing);
    void OnBold();
    void OnItalic();
    void OnUnderline();
    void OnFontTag();
    void OnLink();
    void OnAlignLeft();
    void OnAlignCenter();
    void OnAlignRight();
    // An image tag for a GIF file the user chooses, with its size from the
    // file's header.
    void OnInsertImage();
    void OnInsertTable();
    // An empty table of the size the insert-table dialog asks for; the options
    // sheet's table page comes first when allowed and TableDisplay is on.
    void InsertTable(bool allowOptions);

    // The browser preview. Browse shows the options sheet's browse
    // page first when BrowseDisplay is on, then previews as BrowseExternal
    // and BrowseFile say.
    void OnBrowse();
    void OnUpdatePreview(CCmdUI& ui);
    // Writes the preview file and shows it: in the external browser program
    // (started with the file's path as its one argument; an empty or missing
    // program does nothing), or in the preview window, opened the first time
    // and reloaded afterwards when the text changed since the last reload.
    // A file that cannot be written is reported and nothing else happens.
    void Preview(bool external, const QString& browserProgram);
    // Opens a preview window on the file with the preview template; true
    // when its browser shows the file.
    bool OpenPreview(const QString& path);
    // Where the preview is written: the document's path without its file
    // name's extension, or for a document without a path the current folder
    // and its title, followed by "_mirval.htm".
    QString GetPreviewFilePath() const;
    static QString PreviewFilePath(const QString& pathName, const QString& currentFolder,
                                   const QString& title);
    // The preview file's bytes: "<HTML>", the meta tag (when not empty), the
    // text, "</HTML>".
    static std::string PreviewFileContent(std::string_view text, std::string_view meta);
    // Deletes the file at path only if it is a preview file this run of the
    // program wrote and is still that same file (not replaced or linked
    // elsewhere since); true when it went.
    static bool RemovePreviewFile(const QString& path);
    bool IsPreviewOpen() const { return m_bPreviewOpen; }
    void SetPreviewOpen(bool open) { m_bPreviewOpen = open; }
    // The preview document last opened for this document; null once closed.
    CDocument* GetPreviewDoc() const { return m_pPreviewDoc; }

    // The template previews open with: the application's second. Without one
    // the preview window cannot open.
    static void SetPreviewTemplate(CDocTemplate* docTemplate);
    static CDocTemplate* GetPreviewTemplate();

protected:
    QString AskSavePath() override;

private:
    // The first view's selection; false (and 0, 0) without a view.
    bool GetViewSel(long& start, long& end) const;
    // Selects start to end in the first view, when there is one.
    void SetViewSel(long start, long end);
    // Writes text over start..end, and the first view's caret goes after it,
    // as a replacement of the selection leaves it.
    void ReplaceSelection(long start, long end, const std::string& text);
    // ConvertToVisual writing its result over the bytes from start to
    // replaceEnd.
    std::string ConvertToVisual(std::string text, long& start, long& end, bool raw,
                                long replaceEnd);
    void RemoveTitleMarker();
    // The title a preview window shows after "Browsing: ".
    QString TitleForPreview() const;
    // Saves under a path asked for with the given dialog.
    // A template is saved in code page 1255.
    void SaveWithDialog(const QString& folder, const QString& defaultExt, const QString& filter,
                        bool asTemplate = false);

    QTextDocument* m_pTextDocument;
    LineEnds m_lineEnds = LineEnds::CrLf;
    TextEncoding m_encoding = TextEncoding::Cp1255;
    bool m_bByteOrderMark = false;
    RecoveryRecorder* m_pRecovery = nullptr;
    // The text HasPendingText speaks of: a code page 1255 file's bytes, or a
    // UTF-8 file's decoded text.
    bool m_bTextPending = false;
    std::string m_pendingBytes;
    QString m_pendingText;
    // Runs a conversion of the common kind on the selection or the whole text.
    void RunConversion(void (*work)(std::string&, const ConversionSettings&), int lastConvert);

    std::string m_strUndoText;
    // The encoding before a conversion that changed it, for its undo.
    std::optional<TextEncoding> m_undoEncoding;
    // Whether the user was told what the conversion to a modern page does.
    bool m_bModernPageExplained = false;
    int m_nLastConvert = kNotConverted;
    bool m_bModifiedCopy = false;  // changed since the preview last reloaded
    bool m_bDosDisplay = false;
    bool m_bPreviewOpen = false;
    QPointer<CDocument> m_pPreviewDoc;

    orderdetect::OrderEvidence m_orderEvidence;
    ConversionSettings m_conversionSettings;
    ImageSettings m_imageSettings;
    TableSettings m_tableSettings;
    BrowseSettings m_browseSettings;
};
