// Colouring: the markup of a page in the code font, the rest in the text font.
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFormat>
#include <algorithm>
#include <string_view>

#include "document/hebdoc.h"
#include "framework/uiservices.h"
#include "text/textdocumentbytes.h"
#include "view/formatchangescope.h"
#include "view/hebview.h"
#include "view/viewtext.h"

namespace {

// True when every character format of the text has only properties that
// format has too.
bool HoldsOnlyPropertiesOf(const QTextDocument& text, const QTextCharFormat& format) {
    const QMap<int, QVariant> own = format.properties();
    const QList<QTextFormat> formats = text.allFormats();
    return std::all_of(formats.begin(), formats.end(), [&own](const QTextFormat& each) {
        if (!each.isCharFormat()) {
            return true;
        }
        const QMap<int, QVariant> properties = each.properties();
        return std::all_of(properties.keyBegin(), properties.keyEnd(),
                           [&own](int key) { return own.contains(key); });
    });
}

}  // namespace

void CHebView::Colourize(bool showCode) {
    const WaitCursor wait;
    LockWindowUpdate(true);
    HideSelection(true);
    long start = 0;
    long end = 0;
    GetSel(start, end);
    const int firstLine = GetFirstVisibleLine();

    const FontSettings textFont = CHebDoc::ReadFontSettings(Settings::kRegFontSection);
    const FontSettings codeFont = CHebDoc::ReadFontSettings(Settings::kCodeFontSection);
    if (!showCode) {
        SetSel(0, -1);
        SetSelectionCharFormat(textFont);
    } else {
        // The runs are found in one walk over the raw text, whose positions
        // are the document's, and formatted in one edit block: the layout and
        // the change signal see one change of the whole text, not one per run.
        const QTextCharFormat textFormat = CharFormatFromFont(textFont);
        const QTextCharFormat codeFormat = CharFormatFromFont(codeFont);
        viewtext::CodeRunFinder finder;
        TextDocumentBytes::ForEachChunk(*document(), [&finder](QStringView chunk, int at) {
            finder.Feed(std::u16string_view(reinterpret_cast<const char16_t*>(chunk.utf16()),
                                            static_cast<size_t>(chunk.size())),
                        static_cast<size_t>(at));
        });
        const size_t length = static_cast<size_t>(document()->characterCount() - 1);
        const std::vector<viewtext::Range> runs = finder.Finish(length);

        const viewformat::FormatChangeScope scope;
        // Applying a font merges its properties (face, size, effects, colour)
        // into the characters' formats. The two fonts always carry the same
        // properties: then every character can take the text font and the
        // code runs the code font over it, which gives each run the format
        // the walk gives it with half as many format changes (code runs that
        // touch go as one). And while no format of the text holds other
        // properties, setting a font's format gives the same as merging it,
        // for less.
        const bool sameProperties =
            textFormat.properties().keys() == codeFormat.properties().keys();
        const bool set = sameProperties && HoldsOnlyPropertiesOf(*document(), textFormat);
        QTextCursor cursor(document());
        auto format = [&cursor, set](size_t from, size_t to, const QTextCharFormat& charFormat) {
            if (from == to) {
                return;
            }
            cursor.setPosition(static_cast<int>(from));
            cursor.setPosition(static_cast<int>(to), QTextCursor::KeepAnchor);
            if (set) {
                cursor.setCharFormat(charFormat);
            } else {
                cursor.mergeCharFormat(charFormat);
            }
        };
        cursor.beginEditBlock();
        if (sameProperties) {
            format(0, length, textFormat);
            for (size_t i = 0; i < runs.size();) {
                size_t j = i + 1;
                while (j < runs.size() && runs[j].start == runs[j - 1].end) {
                    ++j;
                }
                format(runs[i].start, runs[j - 1].end, codeFormat);
                i = j;
            }
        } else {
            size_t p = 0;
            for (const viewtext::Range& run : runs) {
                format(p, run.start, textFormat);
                format(run.start, run.end, codeFormat);
                p = run.end;
            }
            format(p, length, textFormat);
        }
        cursor.endEditBlock();
    }

    SetSel(start, end);
    HideSelection(false);
    const int nowFirst = GetFirstVisibleLine();
    if (nowFirst != firstLine) {
        LineScroll(firstLine - nowFirst);
    }
    LockWindowUpdate(false);
}

void CHebView::OnShowSyntax() {
    m_bColour = !m_bColour;
    Colourize(m_bColour);
}

void CHebView::OnUpdateShowSyntax(CCmdUI& ui) {
    const bool hasTag = Facts().hasTag;
    ui.Enable(hasTag);
    ui.SetCheck(hasTag && m_bColour);
}

void CHebView::OnRefreshSyntax() {
    m_bColour = true;
    Colourize(true);
}

void CHebView::OnUpdateRefreshSyntax(CCmdUI& ui) {
    ui.Enable(Facts().hasTag && m_bColour);
}
