// Markup insertion: tag pairs around the selection, the image tag and the
// empty table.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <optional>
#include <string>

#include "convert/tablebuilder.h"
#include "document/editortext.h"
#include "document/hebdoc.h"
#include "document/insertdialogs.h"
#include "document/ioptionssheet.h"
#include "framework/uiservices.h"
#include "text/codepage1255.h"

namespace {

IInsertTableDialog* g_insertTableDialog = nullptr;

// The logical screen descriptor of a GIF file: the signature, then width and
// height as unsigned 16-bit little-endian numbers.
constexpr qint64 kGifHeaderSize = 10;
constexpr std::string_view kGif87 = "GIF87a";
constexpr std::string_view kGif89 = "GIF89a";

enum class GifHeader { Ok, Unreadable, NotGif, TooShort };

GifHeader ReadGifSize(const QString& path, unsigned& width, unsigned& height) {
    // Only a regular file: opening a pipe or a device would wait for a writer.
    if (!QFileInfo(path).isFile()) {
        return GifHeader::Unreadable;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return GifHeader::Unreadable;
    }
    const QByteArray header = file.read(kGifHeaderSize);
    if (header.isEmpty() && file.error() != QFileDevice::NoError) {
        return GifHeader::Unreadable;
    }
    const std::string_view bytes(header.constData(), static_cast<size_t>(header.size()));
    const std::string_view signature = bytes.substr(0, kGif87.size());
    if (!kGif87.starts_with(signature) && !kGif89.starts_with(signature)) {
        return GifHeader::NotGif;
    }
    if (header.size() < kGifHeaderSize) {
        return GifHeader::TooShort;
    }
    const auto byte = [&](int i) {
        return static_cast<unsigned>(static_cast<unsigned char>(header[i]));
    };
    width = byte(6) | byte(7) << 8;
    height = byte(8) | byte(9) << 8;
    return GifHeader::Ok;
}

// An attribute with its value in double quotes: « name="value"».
std::string Attribute(std::string_view name, const std::string& value) {
    std::string attribute(" ");
    attribute.append(name).append("=\"").append(value).append("\"");
    return attribute;
}

// A path as the value of a double-quoted attribute: its code page 1255 bytes,
// with the characters that would end the value or be read as markup written
// as entities. Nothing when a character has no code page 1255 form (the
// private-use characters that stand for the code page's undefined bytes have
// none either); missing is then that character.
std::optional<std::string> AttributeValueOf(const QString& path, char32_t& missing) {
    std::string value;
    value.reserve(static_cast<size_t>(path.size()));
    for (const char32_t character : path.toUcs4()) {
        const bool standIn = character >= CodePage1255::kPrivateUseBase &&
                             character <= CodePage1255::kPrivateUseBase + 0xFF;
        const std::optional<unsigned char> byte =
            standIn ? std::nullopt : CodePage1255::FromUnicode(character);
        if (!byte) {
            missing = character;
            return std::nullopt;
        }
        switch (*byte) {
            case '"':
                value += "&quot;";
                break;
            case '<':
                value += "&lt;";
                break;
            case '>':
                value += "&gt;";
                break;
            case '&':
                value += "&amp;";
                break;
            default:
                value += static_cast<char>(*byte);
        }
    }
    return value;
}

// Text that reads left to right (a path, a code) kept whole inside a Hebrew
// sentence: without the isolate, the path's leading slash would be shown at
// its other end.
QString LeftToRight(const QString& text) {
    return QChar(0x2066) + text +
           QChar(0x2069);  // LEFT-TO-RIGHT ISOLATE ... POP DIRECTIONAL ISOLATE
}

}  // namespace

void SetInsertTableDialog(IInsertTableDialog* dialog) {
    g_insertTableDialog = dialog;
}

IInsertTableDialog* GetInsertTableDialog() {
    return g_insertTableDialog;
}

void CHebDoc::WrapSelection(std::string opening, std::string closing) {
    long start = 0;
    long end = 0;
    if (!GetViewSel(start, end)) {
        return;
    }
    // The file name, not the folders above it, tells what kind of text the
    // document holds.
    const bool page =
        QFileInfo(GetPathName()).fileName().toLower().contains(QStringLiteral(".htm")) ||
        IsLastConvertVisual();
    std::string text;
    if (start >= end) {
        text = opening + closing;
    } else if (page) {
        text = opening + GetTextRange(start, end) + closing;
    } else {
        // Logical text: the conversion to visual reverses the line but keeps
        // each tag as it is, so the pair is written the other way round.
        text = closing + GetTextRange(start, end) + opening;
    }
    ReplaceSelection(start, end, text);
    SetDocModified(true);
}

void CHebDoc::OnBold() {
    WrapSelection("<b>", "</b>");
}
void CHebDoc::OnItalic() {
    WrapSelection("<em>", "</em>");
}
void CHebDoc::OnUnderline() {
    WrapSelection("<u>", "</u>");
}
void CHebDoc::OnFontTag() {
    WrapSelection("<font size=\"\" color=\"\" face= \"\">", "</font>");
}
void CHebDoc::OnLink() {
    WrapSelection("<a href=\"\">", "</a>");
}
void CHebDoc::OnAlignLeft() {
    WrapSelection("<div align=\"left\">\r\n", "\r\n</div>");
}
void CHebDoc::OnAlignCenter() {
    WrapSelection("<center>\r\n", "\r\n</center>");
}
void CHebDoc::OnAlignRight() {
    WrapSelection("<div align=\"right\">\r\n", "\r\n</div>");
}

void CHebDoc::OnInsertImage() {
    if (GetView() == nullptr) {
        return;  // the tag goes where the selection is
    }
    ImageSettings image;
    GetImageSettings(image);
    if (image.ImageDisplay != 0) {
        ShowOptions(kImagePage);
        GetImageSettings(image);  // confirmed or not, the settings as they stand
    }

    const QString folder = QDir::currentPath();
    FileDialogRequest request;
    request.defaultExt = QStringLiteral("gif");
    request.filter = QStringLiteral("GIF files (*.gif)|*.gif|All Files (*.*)|*.*||");
    request.confirmOverwrite = false;
    const std::optional<QString> chosen = Ui().AskOpenFileName(request);
    if (!chosen || chosen->isEmpty()) {
        return;
    }
    const QString path = QFileInfo(*chosen).absoluteFilePath();
    const QString extension = QFileInfo(path).suffix();
    if (extension != QStringLiteral("gif") && extension != QStringLiteral("GIF")) {
        return;  // another kind of file: nothing to insert
    }

    // Relative to the current folder when the file lies in it or below it.
    // Names keep their case: the file system tells upper from lower case.
    QString relative = path;
    const QString prefix = folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
    if (relative.startsWith(prefix)) {
        relative.remove(0, prefix.size());
    }

    // The page is written in code page 1255: a name that cannot be written
    // there would point at another file.
    char32_t missing = 0;
    const std::optional<std::string> source = AttributeValueOf(relative, missing);
    if (!source) {
        const QString code =
            QStringLiteral("U+") + QString::number(missing, 16).toUpper().rightJustified(4, u'0');
        Ui().ShowMessage(tr("לא ניתן לכתוב את שם הקובץ %1 בדף: התו %2 (%3) אינו קיים בקידוד "
                            "העברי 1255, ולכן לא הוכנס תג תמונה.")
                             .arg(LeftToRight(QDir::toNativeSeparators(path)),
                                  LeftToRight(QString::fromUcs4(&missing, 1)), LeftToRight(code)));
        return;
    }

    unsigned width = 0;
    unsigned height = 0;
    if (image.ImageWidth != 0 || image.ImageHeight != 0) {
        const QString shown = QDir::toNativeSeparators(path);
        switch (ReadGifSize(path, width, height)) {
            case GifHeader::Ok:
                break;
            case GifHeader::Unreadable:
                Ui().ShowMessage(
                    tr("לא ניתן לקרוא את הקובץ %1, ולכן לא הוכנס תג תמונה.").arg(shown));
                return;
            case GifHeader::NotGif:
                Ui().ShowMessage(tr("הקובץ %1 אינו קובץ GIF, ולכן לא הוכנס תג תמונה.").arg(shown));
                return;
            case GifHeader::TooShort:
                Ui().ShowMessage(tr("הקובץ %1 קצר מכדי להכיל את גודל התמונה, ולכן לא הוכנס "
                                    "תג תמונה.")
                                     .arg(shown));
                return;
        }
    }

    std::string tag = "<img";
    if (image.ImageWidth != 0) {
        tag += Attribute("width", std::to_string(width));
    }
    if (image.ImageHeight != 0) {
        tag += Attribute("height", std::to_string(height));
    }
    if (image.ImageBorder != 0) {
        tag += Attribute("border", std::to_string(image.ImageBValue));
    }
    if (image.ImageAlt != 0) {
        tag += Attribute("alt", {});
    }
    if (image.ImageTitle != 0) {
        tag += Attribute("title", {});
    }
    if (image.ImageId != 0) {
        tag += Attribute("id", {});
    }
    tag += Attribute("src", *source);
    tag += ">";
    long start = 0;
    long end = 0;
    if (GetViewSel(start, end)) {
        ReplaceSelection(start, end, tag);
    }
}

void CHebDoc::OnInsertTable() {
    InsertTable(true);
}

void CHebDoc::InsertTable(bool allowOptions) {
    // The settings button leads to the sheet's table page and back to a fresh
    // dialog, as often as the user presses it.
    for (bool sheetFirst = allowOptions;; sheetFirst = false) {
        TableSettings table;
        GetTableSettings(table);
        if (table.TableDisplay != 0 && sheetFirst) {
            ShowOptions(kTablePage);
            GetTableSettings(table);
        }
        IInsertTableDialog* dialog = GetInsertTableDialog();
        if (dialog == nullptr) {
            return;
        }
        InsertTableValues values;
        if (dialog->Run(values)) {
            long start = 0;
            long end = 0;
            if (!GetViewSel(start, end) || values.rows < InsertTableValues::kMinRows ||
                values.rows > InsertTableValues::kMaxRows ||
                values.columns < InsertTableValues::kMinColumns ||
                values.columns > InsertTableValues::kMaxColumns) {
                return;
            }
            ReplaceSelection(
                start, end,
                TableBuilder::Empty(values.rows, values.columns,
                                    TableTags{table.TableTag, table.TRTag, table.TDTag}));
            return;
        }
        if (!values.showSettings) {
            return;
        }
        ShowOptions(kTablePage);
    }
}
