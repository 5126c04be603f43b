#include "document/settings.h"

#include <array>

#include "framework/profile.h"

namespace {

using DocumentEntry = SettingEntry<DocumentSettings>;
using FontEntry = SettingEntry<FontSettings>;
using GeneralEntry = SettingEntry<GeneralSettings>;

constexpr std::string_view kSettings = Settings::kSettingsSection;

// A field of one of the four records inside DocumentSettings.
template <auto Record, auto Field>
auto& Nested(DocumentSettings& settings) {
    return (settings.*Record).*Field;
}

template <auto Field>
int& Conversion(DocumentSettings& s) {
    return Nested<&DocumentSettings::Conversion, Field>(s);
}
template <auto Field>
int& Image(DocumentSettings& s) {
    return Nested<&DocumentSettings::Image, Field>(s);
}
template <auto Field>
int& Table(DocumentSettings& s) {
    return Nested<&DocumentSettings::Table, Field>(s);
}
template <auto Field>
int& Browse(DocumentSettings& s) {
    return Nested<&DocumentSettings::Browse, Field>(s);
}
template <auto Field>
std::string& ConversionText(DocumentSettings& s) {
    return Nested<&DocumentSettings::Conversion, Field>(s);
}
template <auto Field>
std::string& TableText(DocumentSettings& s) {
    return Nested<&DocumentSettings::Table, Field>(s);
}
template <auto Field>
std::string& BrowseText(DocumentSettings& s) {
    return Nested<&DocumentSettings::Browse, Field>(s);
}

template <class Record, auto Field>
auto& Member(Record& record) {
    return record.*Field;
}

template <class Record>
constexpr SettingEntry<Record> IntValue(std::string_view name, std::string_view section,
                                        SettingType type, int defaultValue, ReadCheck check,
                                        WriteRule write, int& (*field)(Record&)) {
    return {name, section, type, defaultValue, {}, check, write, field, nullptr};
}

template <class Record>
constexpr SettingEntry<Record> StringValue(std::string_view name, std::string_view section,
                                           std::string_view defaultValue, ReadCheck check,
                                           std::string& (*field)(Record&)) {
    return {name,    section, SettingType::String, 0, defaultValue, check, WriteRule::AsIs,
            nullptr, field};
}

// The ten flags stored as -1 when off, and read back so.
constexpr DocumentEntry OffMinusOne(std::string_view name, int defaultValue,
                                    int& (*field)(DocumentSettings&)) {
    return IntValue(name, kSettings, SettingType::Flag, defaultValue, ReadCheck::MinusOneIsOff,
                    WriteRule::OffAsMinusOne, field);
}

constexpr DocumentEntry Text(std::string_view name, std::string_view defaultValue,
                             std::string& (*field)(DocumentSettings&)) {
    return StringValue(name, kSettings, defaultValue, ReadCheck::None, field);
}

// Section "Settings" in the order its values are saved. BreakLinesAt and
// ImageBValue need no check: the line breaking shortens a line at every step
// whatever the width, and the border value is only written out as a number.
// Strings are taken whole: they are only ever copied into the text.
// The three tag defaults with double quotes are the composed tags
// «<table border="1">», «<td align="right" valign="top" nowrap>» and
// «<div align="right">».
const std::array<DocumentEntry, 25> kRegistry = {
    OffMinusOne("AddToHebParagraph", 0, &Conversion<&ConversionSettings::AddToHebParagraph>),
    OffMinusOne("2CRLFPara", 0, &Conversion<&ConversionSettings::TwoCRLFPara>),
    OffMinusOne("ConvertDisplay", 1, &Conversion<&ConversionSettings::ConvertDisplay>),
    OffMinusOne("ImageDisplay", 1, &Image<&ImageSettings::ImageDisplay>),
    Text("TableTag", "<table border=\"1\">", &TableText<&TableSettings::TableTag>),
    Text("TRTag", "<tr>", &TableText<&TableSettings::TRTag>),
    Text("TDTag", "<td align=\"right\" valign=\"top\" nowrap>", &TableText<&TableSettings::TDTag>),
    OffMinusOne("TableDisplay", 1, &Table<&TableSettings::TableDisplay>),
    Text("BeforeHebParagraph", "<div align=\"right\">",
         &ConversionText<&ConversionSettings::BeforeHebParagraph>),
    Text("AfterHebParagraph", "</div>", &ConversionText<&ConversionSettings::AfterHebParagraph>),
    IntValue(std::string_view("BreakLinesAt"), kSettings, SettingType::Int, 70, ReadCheck::None,
             WriteRule::AsIs, &Conversion<&ConversionSettings::BreakLinesAt>),
    OffMinusOne("BreakLines", 1, &Conversion<&ConversionSettings::BreakLines>),
    Text("AddToBrokenLine", "<br>", &ConversionText<&ConversionSettings::AddToBrokenLine>),
    OffMinusOne("RemoveTag", 1, &Conversion<&ConversionSettings::RemoveTag>),
    OffMinusOne("ImageWidth", 1, &Image<&ImageSettings::ImageWidth>),
    OffMinusOne("ImageHeight", 1, &Image<&ImageSettings::ImageHeight>),
    OffMinusOne("ImageBorder", 1, &Image<&ImageSettings::ImageBorder>),
    IntValue(std::string_view("ImageBValue"), kSettings, SettingType::Int, 0, ReadCheck::None,
             WriteRule::AsIs, &Image<&ImageSettings::ImageBValue>),
    Text("BrowseMeta", "<meta charset='visual'>", &BrowseText<&BrowseSettings::BrowseMeta>),
    // BrowseDisplay is written as 0 or 1, but a hand-written -1 still reads as off.
    IntValue(std::string_view("BrowseDisplay"), kSettings, SettingType::Flag, 1,
             ReadCheck::MinusOneIsOff, WriteRule::AsIs, &Browse<&BrowseSettings::BrowseDisplay>),
    Text("BrowseFile", "", &BrowseText<&BrowseSettings::BrowseFile>),
    IntValue(std::string_view("BrowseExternal"), kSettings, SettingType::Flag, 0, ReadCheck::None,
             WriteRule::AsIs, &Browse<&BrowseSettings::BrowseExternal>),
    // Kept from the profile but never written: only a hand edit sets them.
    IntValue(std::string_view("ImageAlt"), kSettings, SettingType::Flag, 0, ReadCheck::None,
             WriteRule::Never, &Image<&ImageSettings::ImageAlt>),
    IntValue(std::string_view("ImageTitle"), kSettings, SettingType::Flag, 0, ReadCheck::None,
             WriteRule::Never, &Image<&ImageSettings::ImageTitle>),
    IntValue(std::string_view("szImageId"), kSettings, SettingType::Flag, 0, ReadCheck::None,
             WriteRule::Never, &Image<&ImageSettings::szImageId>),
};

// The font sections; the section is named by the caller. Color's default is
// that of "CodeFont" (dark green); LoadFont gives "RegFont" black instead.
// Effects and Color pass unchecked: their unused bits are ignored where the
// font is applied.
const std::array<FontEntry, 4> kFontRegistry = {
    StringValue(std::string_view("Face"), {}, "Arial", ReadCheck::FaceLength,
                &Member<FontSettings, &FontSettings::Face>),
    IntValue(std::string_view("Effects"), {}, SettingType::Int, 0, ReadCheck::None, WriteRule::AsIs,
             &Member<FontSettings, &FontSettings::Effects>),
    IntValue(std::string_view("Color"), {}, SettingType::Int, 0x8000, ReadCheck::None,
             WriteRule::AsIs, &Member<FontSettings, &FontSettings::Color>),
    IntValue(std::string_view("Height"), {}, SettingType::Int, 200, ReadCheck::FontHeight,
             WriteRule::AsIs, &Member<FontSettings, &FontSettings::Height>),
};

const std::array<GeneralEntry, 1> kGeneralRegistry = {
    IntValue(std::string_view("ShowSyntax"), Settings::kGeneralSection, SettingType::Flag, 0,
             ReadCheck::None, WriteRule::AsIs,
             &Member<GeneralSettings, &GeneralSettings::ShowSyntax>),
};

int CheckInt(ReadCheck check, int value, int defaultValue) {
    switch (check) {
        case ReadCheck::MinusOneIsOff:
            return value == -1 ? 0 : value;
        case ReadCheck::FontHeight:
            // Zero, negative or enormous heights could stall text layout.
            return value >= 1 && value <= Settings::kMaxFontHeight ? value : defaultValue;
        case ReadCheck::None:
        case ReadCheck::FaceLength:
            break;
    }
    return value;
}

void CheckString(ReadCheck check, std::string& value) {
    // The face name field of the editor's character format holds 31 bytes and
    // a terminator; a longer stored name is cut to fit rather than refused.
    if (check == ReadCheck::FaceLength && value.size() > FontSettings::kMaxFaceLength) {
        value.resize(FontSettings::kMaxFaceLength);
    }
}

template <class Record>
std::string_view SectionOf(const SettingEntry<Record>& entry, std::string_view section) {
    return entry.section.empty() ? section : entry.section;
}

template <class Record>
void LoadRecord(std::span<const SettingEntry<Record>> entries, const IniProfile& profile,
                std::string_view section, Record& record) {
    for (const SettingEntry<Record>& entry : entries) {
        const std::string_view from = SectionOf(entry, section);
        if (entry.type == SettingType::String) {
            std::string& field = entry.stringField(record);
            field = profile.GetString(from, entry.name, entry.stringDefault);
            CheckString(entry.check, field);
        } else {
            const int value = profile.GetInt(from, entry.name, entry.intDefault);
            entry.intField(record) = CheckInt(entry.check, value, entry.intDefault);
        }
    }
}

template <class Record>
bool SaveRecord(std::span<const SettingEntry<Record>> entries, Record record,
                std::string_view section, IniProfile& profile) {
    // A value the file cannot hold (a string with a line end) is not stored;
    // the others still are, and the caller learns that one was refused.
    bool stored = true;
    for (const SettingEntry<Record>& entry : entries) {
        const std::string_view to = SectionOf(entry, section);
        switch (entry.write) {
            case WriteRule::Never:
                continue;
            case WriteRule::OffAsMinusOne: {
                const int value = entry.intField(record);
                stored &= profile.WriteInt(to, entry.name, value == 0 ? -1 : value);
                continue;
            }
            case WriteRule::AsIs:
                if (entry.type == SettingType::String) {
                    stored &= profile.WriteString(to, entry.name, entry.stringField(record));
                } else {
                    stored &= profile.WriteInt(to, entry.name, entry.intField(record));
                }
                continue;
        }
    }
    return stored;
}

// Applies the -1-is-off rule to whichever flags of the combined record it
// covers; used one record at a time by the setters.
void DecodeFlags(DocumentSettings& settings) {
    for (const DocumentEntry& entry : kRegistry) {
        if (entry.check == ReadCheck::MinusOneIsOff) {
            int& field = entry.intField(settings);
            field = CheckInt(entry.check, field, entry.intDefault);
        }
    }
}

}  // namespace

std::span<const SettingEntry<DocumentSettings>> Settings::Registry() {
    return kRegistry;
}

std::span<const SettingEntry<FontSettings>> Settings::FontRegistry() {
    return kFontRegistry;
}

std::span<const SettingEntry<GeneralSettings>> Settings::GeneralRegistry() {
    return kGeneralRegistry;
}

DocumentSettings Settings::Load(const IniProfile& profile) {
    DocumentSettings settings;
    LoadRecord(Registry(), profile, kSettingsSection, settings);
    return settings;
}

bool Settings::Save(const DocumentSettings& settings, IniProfile& profile) {
    return SaveRecord(Registry(), settings, kSettingsSection, profile);
}

void Settings::TakeMinusOneAsOff(ConversionSettings& settings) {
    DocumentSettings all;
    all.Conversion = std::move(settings);
    DecodeFlags(all);
    settings = std::move(all.Conversion);
}

void Settings::TakeMinusOneAsOff(ImageSettings& settings) {
    DocumentSettings all;
    all.Image = settings;
    DecodeFlags(all);
    settings = all.Image;
}

void Settings::TakeMinusOneAsOff(TableSettings& settings) {
    DocumentSettings all;
    all.Table = std::move(settings);
    DecodeFlags(all);
    settings = std::move(all.Table);
}

void Settings::TakeMinusOneAsOff(BrowseSettings& settings) {
    DocumentSettings all;
    all.Browse = std::move(settings);
    DecodeFlags(all);
    settings = std::move(all.Browse);
}

FontSettings Settings::LoadFont(const IniProfile& profile, std::string_view section) {
    std::array<FontEntry, kFontRegistry.size()> entries = kFontRegistry;
    if (section == kRegFontSection) {
        for (FontEntry& entry : entries) {
            if (entry.name == "Color") {
                entry.intDefault = 0;
            }
        }
    }
    FontSettings font;
    LoadRecord(std::span<const FontEntry>(entries), profile, section, font);
    return font;
}

bool Settings::SaveFont(const FontSettings& font, std::string_view section, IniProfile& profile) {
    return SaveRecord(FontRegistry(), font, section, profile);
}

GeneralSettings Settings::LoadGeneral(const IniProfile& profile) {
    GeneralSettings general;
    LoadRecord(GeneralRegistry(), profile, kGeneralSection, general);
    return general;
}

bool Settings::SaveGeneral(const GeneralSettings& general, IniProfile& profile) {
    return SaveRecord(GeneralRegistry(), general, kGeneralSection, profile);
}
