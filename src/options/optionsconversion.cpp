#include "options/optionsconversion.h"

#include <QCoreApplication>
#include <QFile>
#include <QFontDatabase>
#include <algorithm>
#include <cmath>

#include "text/editorcodec.h"
#include "view/hebview.h"

namespace {

constexpr int kTwipsPerPoint = 20;
constexpr int kTwipsPerTenth = 2;

constexpr int kBold = 1;
constexpr int kItalic = 2;
constexpr int kUnderline = 4;
constexpr int kStrikeOut = 8;
constexpr int kChosenEffects = kBold | kItalic | kUnderline | kStrikeOut;

}  // namespace

QString TextFromProfile(const std::string& bytes) {
    return EditorCodec::Decode(bytes, LineBreak::CrLf);
}

std::string TextToProfile(const QString& text) {
    return EditorCodec::Encode(text, LineBreak::CrLf);
}

bool HoldsLineEnd(std::string_view bytes) {
    return bytes.find_first_of("\r\n") != std::string_view::npos;
}

QString LineEndMessage() {
    // A line end takes no room in an edit box: say that it is there.
    return QCoreApplication::translate("COptionsPage",
                                       "הטקסט בשדה כולל מעבר שורה, שאינו נראה בשדה ואינו נשמר "
                                       "בהגדרות. כתוב את הטקסט בשורה אחת.");
}

std::optional<int> ParseWholeNumber(const QString& text, int min, int max) {
    bool ok = false;
    const int value = text.trimmed().toInt(&ok, 10);
    if (!ok || value < min || value > max) {
        return std::nullopt;
    }
    return value;
}

QString WholeNumberMessage(int min, int max) {
    return QCoreApplication::translate("COptionsPage", "הזן מספר שלם בין %1 ל-%2.")
        .arg(min)
        .arg(max);
}

QFont FontOf(const FontSettings& format) {
    return CHebView::CharFormatFromFont(format).font();
}

QColor ColourOf(const FontSettings& format) {
    return CHebView::CharFormatFromFont(format).foreground().color();
}

QFont FontForDialog(const FontSettings& format) {
    QFont font = FontOf(format);
    if (font.weight() != QFont::Normal || font.italic()) {
        return font;
    }
    const QStringList styles = QFontDatabase::styles(font.family());
    if (styles.contains(QFontDatabase::styleString(font))) {
        return font;
    }
    for (const char* plain : {"Regular", "Book", "Roman", "Normal", "Medium"}) {
        const QString name = QString::fromLatin1(plain);
        if (styles.contains(name)) {
            font.setStyleName(name);
            break;
        }
    }
    return font;
}

FontSettings ChosenFont(const FontSettings& former, const QFont& font, const QColor& colour) {
    FontSettings chosen = former;
    const QString family = font.family();
    if (!family.isEmpty()) {
        chosen.Face = TextToProfile(family).substr(0, FontSettings::kMaxFaceLength);
    }

    int effects = former.Effects & ~kChosenEffects;
    // Only the weight the font dialog calls bold counts: semibold and
    // extra-bold faces are other faces, not the bold effect.
    if (font.weight() == QFont::Bold) {
        effects |= kBold;
    }
    if (font.italic()) {
        effects |= kItalic;
    }
    if (font.underline()) {
        effects |= kUnderline;
    }
    if (font.strikeOut()) {
        effects |= kStrikeOut;
    }
    chosen.Effects = effects;

    const double points = font.pointSizeF();
    if (points > 0) {
        const long tenths = std::lround(points * 10);
        chosen.Height = static_cast<int>(
            std::clamp<long>(tenths * kTwipsPerTenth, kTwipsPerTenth, Settings::kMaxFontHeight));
    }

    if (colour.isValid()) {
        const QColor rgb = colour.toRgb();
        chosen.Color = rgb.red() | (rgb.green() << 8) | (rgb.blue() << 16);
    }
    return chosen;
}

QString SampleText(const FontSettings& format) {
    return TextFromProfile(format.Face) + QStringLiteral(", ") +
           QString::number(format.Height / kTwipsPerPoint);
}
