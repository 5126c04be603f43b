#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <optional>
#include <string>
#include <string_view>

#include "document/settings.h"

// How the values of the options sheet are shown in its controls and read
// back from them. The pages only call these; they hold no rules of their own.

// Profile text (code page 1255 bytes) as an edit box shows it, and back.
QString TextFromProfile(const std::string& bytes);
std::string TextToProfile(const QString& text);
// A profile value ends at its line; text holding a line end (CR or LF, also
// as the editor's stand-ins for them) cannot be stored, and the sheet refuses
// it with this message.
bool HoldsLineEnd(std::string_view bytes);
QString LineEndMessage();

// A check box shows any non-zero flag as ticked and stores 1 or 0.
inline bool IsFlagOn(int flag) {
    return flag != 0;
}
inline int FlagFromCheck(bool checked) {
    return checked ? 1 : 0;
}

// The whole number an edit box holds (blanks around it allowed), when it
// lies between min and max inclusive; nothing for any other text.
std::optional<int> ParseWholeNumber(const QString& text, int min, int max);
// What the user is told when ParseWholeNumber refuses a field.
QString WholeNumberMessage(int min, int max);

// The font and colour a font setting stands for, as the editor shows them.
QFont FontOf(const FontSettings& format);
QColor ColourOf(const FontSettings& format);
// The font the font dialog opens with. A plain font is given the name of its
// family's plain style when the family calls it otherwise ("Book" in DejaVu):
// the dialog would select the family's first style instead, and confirming it
// unchanged would turn the font oblique.
QFont FontForDialog(const FontSettings& format);

// A font setting after the user chose font and colour: face, effects, height
// and colour come from the choice, anything else stays as it was. Bold is
// exactly weight 700; the height is the point size in tenths times 2, in
// twips (10.5 points: 210). A font sized in pixels keeps the former height;
// an invalid colour keeps the former colour.
FontSettings ChosenFont(const FontSettings& former, const QFont& font, const QColor& colour);

// The text of a font sample: face, ", " and the height in whole points
// (fraction dropped): «Arial, 10».
QString SampleText(const FontSettings& format);
