// The document's settings: loaded from the profile when the document is made,
// replaced by the options sheet, and the fonts read at every use.
#include "document/editortext.h"
#include "document/hebdoc.h"
#include "framework/appprofile.h"

void CHebDoc::LoadSettings() {
    const DocumentSettings settings = Settings::Load(AppProfile::Read());
    SetSettings(settings.Conversion, settings.Image, settings.Table, settings.Browse);
}

bool CHebDoc::SaveSettings() {
    DocumentSettings settings;
    GetConversionSettings(settings.Conversion);
    GetImageSettings(settings.Image);
    GetTableSettings(settings.Table);
    GetBrowseSettings(settings.Browse);
    bool stored = false;
    const bool written =
        AppProfile::Write([&](IniProfile& profile) { stored = Settings::Save(settings, profile); });
    return written && stored;
}

void CHebDoc::SetSettings(ConversionSettings conversion, ImageSettings image, TableSettings table,
                          BrowseSettings browse) {
    SetConversionSettings(std::move(conversion));
    SetImageSettings(image);
    SetTableSettings(std::move(table));
    SetBrowseSettings(std::move(browse));
}

void CHebDoc::GetConversionSettings(ConversionSettings& settings) const {
    settings = m_conversionSettings;
}
void CHebDoc::GetImageSettings(ImageSettings& settings) const {
    settings = m_imageSettings;
}
void CHebDoc::GetTableSettings(TableSettings& settings) const {
    settings = m_tableSettings;
}
void CHebDoc::GetBrowseSettings(BrowseSettings& settings) const {
    settings = m_browseSettings;
}

void CHebDoc::SetConversionSettings(ConversionSettings settings) {
    Settings::TakeMinusOneAsOff(settings);
    m_conversionSettings = std::move(settings);
}

void CHebDoc::SetImageSettings(ImageSettings settings) {
    Settings::TakeMinusOneAsOff(settings);
    m_imageSettings = settings;
}

void CHebDoc::SetTableSettings(TableSettings settings) {
    Settings::TakeMinusOneAsOff(settings);
    m_tableSettings = std::move(settings);
}

void CHebDoc::SetBrowseSettings(BrowseSettings settings) {
    Settings::TakeMinusOneAsOff(settings);
    m_browseSettings = std::move(settings);
}

FontSettings CHebDoc::ReadFontSettings(std::string_view section) {
    return Settings::LoadFont(AppProfile::Read(), section);
}

bool CHebDoc::WriteFontSettings(const FontSettings& format, std::string_view section) {
    bool stored = false;
    const bool written = AppProfile::Write(
        [&](IniProfile& profile) { stored = Settings::SaveFont(format, section, profile); });
    return written && stored;
}

bool CHebDoc::IsShowSyntax() {
    return Settings::LoadGeneral(AppProfile::Read()).ShowSyntax != 0;
}

void CHebDoc::ApplyTextFont() {
    IEditorText* editor = GetView();
    if (editor == nullptr) {
        return;
    }
    editor->HideSelection(true);
    long start = 0;
    long end = 0;
    editor->GetSel(start, end);
    editor->SetSel(0, -1);
    editor->SetSelectionCharFormat(ReadFontSettings(Settings::kRegFontSection));
    editor->SetSel(start, end);
    editor->HideSelection(false);
}
