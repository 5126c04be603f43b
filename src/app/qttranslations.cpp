#include "app/qttranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace {

// Texts that Qt's Hebrew file leaves in English (or half in English) in the
// dialogs the program shows.
struct Supplement {
    const char* context;
    const char* source;
    const char* hebrew;
};

constexpr Supplement kSupplements[] = {
    {"QAbstractFileIconProvider", "Folder", "תיקייה"},
    {"QAbstractFileIconProvider", "Drive", "כונן"},
    {"QColorDialog", "&HTML:", "קוד &HTML:"},
    {"QPrintSettingsOutput", "Double Sided Printing", "הדפסה דו־צדדית"},
    {"QPrintSettingsOutput", "Off", "ללא"},
    {"QPrintSettingsOutput", "Long side binding", "כריכה בצד הארוך"},
    {"QPrintSettingsOutput", "Short side binding", "כריכה בצד הקצר"},
    {"QPrintSettingsOutput", "Pages", "עמודים"},
    {"QPrintSettingsOutput",
     "Specify pages or ranges separated by commas. Ranges are specified by two numbers separated "
     "by a hyphen. E.g: 3,5-7,9 prints pages 3, 5, 6, 7 and 9.",
     "עמודים או טווחים מופרדים בפסיקים; טווח הוא שני מספרים ומקף ביניהם. לדוגמה, 3,5-7,9 "
     "מדפיס את העמודים 3, 5, 6, 7 ו־9."},
    {"QPrintPreviewDialog", "Show facing pages", "הצג עמודים זה מול זה"},
};

// Qt's Hebrew file with the texts above laid over it.
class HebrewQtTranslator : public QTranslator {
public:
    using QTranslator::QTranslator;

    QString translate(const char* context, const char* sourceText, const char* disambiguation,
                      int n) const override {
        for (const Supplement& supplement : kSupplements) {
            if (qstrcmp(context, supplement.context) == 0 &&
                qstrcmp(sourceText, supplement.source) == 0) {
                return QString::fromUtf8(supplement.hebrew);
            }
        }
        return QTranslator::translate(context, sourceText, disambiguation, n);
    }
};

}  // namespace

QTranslator* InstallQtTranslations(QCoreApplication* application) {
    // Hebrew whatever the system's language: the whole program speaks it.
    auto* translator = new HebrewQtTranslator(application);
    if (!translator->load(QLocale(QLocale::Hebrew, QLocale::Israel), QStringLiteral("qtbase"),
                          QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
        !QCoreApplication::installTranslator(translator)) {
        delete translator;
        return nullptr;
    }
    return translator;
}
