// The options sheet as a document operation.
#include <QFile>

#include "document/hebdoc.h"
#include "document/optionssheet.h"
#include "framework/appprofile.h"
#include "framework/localpath.h"
#include "framework/uiservices.h"

void CHebDoc::OnOptions() {
    ShowOptions(kConversionPage);
}

void CHebDoc::ShowOptions(int startPage) {
    IOptionsSheet* sheet = GetOptionsSheet();
    if (sheet == nullptr) {
        return;
    }
    OptionsValues values;
    GetConversionSettings(values.conversion);
    GetTableSettings(values.table);
    GetImageSettings(values.image);
    GetBrowseSettings(values.browse);
    values.codeFont = ReadFontSettings(Settings::kCodeFontSection);
    values.textFont = ReadFontSettings(Settings::kRegFontSection);
    values.showSyntax = IsShowSyntax();
    if (!sheet->Run(values, startPage)) {
        return;
    }

    // The sheet does not show these three: the record keeps its own.
    values.image.ImageAlt = m_imageSettings.ImageAlt;
    values.image.ImageTitle = m_imageSettings.ImageTitle;
    values.image.szImageId = m_imageSettings.szImageId;

    bool fontsStored = false;
    const bool fontsWritten = AppProfile::Write([&](IniProfile& profile) {
        // Every value is offered, whatever became of the one before.
        const bool code = Settings::SaveFont(values.codeFont, Settings::kCodeFontSection, profile);
        const bool text = Settings::SaveFont(values.textFont, Settings::kRegFontSection, profile);
        const bool general =
            Settings::SaveGeneral(GeneralSettings{values.showSyntax ? 1 : 0}, profile);
        fontsStored = code && text && general;
    });
    SetConversionSettings(values.conversion);
    SetTableSettings(values.table);
    SetImageSettings(values.image);
    SetBrowseSettings(values.browse);
    ApplyTextFont();
    const bool settingsWritten = SaveSettings();
    if (!fontsWritten || !fontsStored || !settingsWritten) {
        // The document uses the new settings; only keeping them (all of them)
        // failed.
        Ui().ShowMessage(
            tr("לא ניתן לשמור את ההגדרות בקובץ %1").arg(PathFromLocal(AppProfile::Path())));
    }
}
