#include "cli/convertrunner.h"
#include "cli/clireport.h"

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string_view>

#include "cli/batchrunner.h"
#include "cli/detectrunner.h"
#include "cli/streamrunner.h"
#include "convert/conversionchain.h"
#include "convert/specialchars.h"
#include "convert/tablebuilder.h"
#include "document/settings.h"
#include "framework/atomicfile.h"
#include "framework/filebytes.h"
#include "framework/profile.h"
#include "text/utf8codec.h"

namespace {

using cli::Report;

using cli::ReadNamedFile;

// The settings from the profile named on the line, else the built-in
// defaults; nothing when the profile cannot be read.
std::optional<DocumentSettings> BaseSettings(const std::string& profilePath) {
    IniProfile profile;
    if (!profilePath.empty()) {
        // A profile named on the line must exist: a misspelt name would
        // otherwise pass silently as the defaults.
        std::string bytes;
        if (!ReadNamedFile(profilePath, "profile ", bytes)) {
            return std::nullopt;
        }
        profile.Parse(bytes);
    }
    return Settings::Load(profile);
}

// A string option in the input's encoding, as code page 1255 bytes.
bool DecodeOption(const CliArgs& args, std::string_view option, const std::string& value,
                  std::string& out) {
    if (args.encoding == CliArgs::Encoding::Cp1255) {
        out = value;
        return true;
    }
    const Utf8DecodeResult result = Utf8Codec::DecodeToCp1255(value, out);
    if (!result.Ok()) {
        Report(std::string(option) + ": " + result.Describe());
        return false;
    }
    return true;
}

bool ApplyOptions(const CliArgs& args, DocumentSettings& settings) {
    ConversionSettings& conversion = settings.Conversion;
    TableSettings& table = settings.Table;
    args.ApplyFlags(conversion);
    return (!args.breakString ||
            DecodeOption(args, "--break-string", *args.breakString, conversion.AddToBrokenLine)) &&
           (!args.before ||
            DecodeOption(args, "--before", *args.before, conversion.BeforeHebParagraph)) &&
           (!args.after ||
            DecodeOption(args, "--after", *args.after, conversion.AfterHebParagraph)) &&
           (!args.tableTag || DecodeOption(args, "--table-tag", *args.tableTag, table.TableTag)) &&
           (!args.trTag || DecodeOption(args, "--tr-tag", *args.trTag, table.TRTag)) &&
           (!args.tdTag || DecodeOption(args, "--td-tag", *args.tdTag, table.TDTag));
}

// The definition file shipped with the program: beside the executable, in the
// data folder of an installation beside it, or in the configured data folder.
std::string ShippedDefinitionFile() {
    std::error_code error;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
    const std::filesystem::path folder = error ? std::filesystem::path() : exe.parent_path();
    for (const std::filesystem::path& candidate :
         {folder / "mirval.def", folder / ".." / "share" / "mirval" / "mirval.def",
          std::filesystem::path(MIRVAL_DATA_DIR) / "mirval.def"}) {
        if (std::filesystem::exists(candidate, error)) {
            return candidate.string();
        }
    }
    return (folder / "mirval.def").string();
}

bool ReadDefinitions(const CliArgs& args, std::string& definitions) {
    const std::string path = args.def.empty() ? ShippedDefinitionFile() : args.def;
    return ReadNamedFile(path, "definition file ", definitions);
}

bool WriteOutput(const CliArgs& args, std::string_view bytes) {
    std::string error;
    const bool ok = args.output.empty()
                        ? FileBytes::WriteDescriptor(STDOUT_FILENO, "standard output", bytes, error)
                        : AtomicFile::Write(args.output, bytes, error);
    if (!ok) {
        Report(error);
    }
    return ok;
}

}  // namespace

bool ConvertRunner::ConvertText(const CliArgs& args, const ConversionSettings& settings,
                                const TableTags& tags, const std::string& definitions,
                                std::string& text) {
    switch (args.command) {
        case CliArgs::Command::ToVisual:
            return conversion::ToVisual(text, settings, conversion::VisualScope::WholeText);
        case CliArgs::Command::ToModern:
            return conversion::ToModern(text, settings, args.stripParagraphs);
        case CliArgs::Command::ToLogical:
            conversion::ToLogical(text, settings);
            break;
        case CliArgs::Command::ToDos:
            conversion::ToDos(text);
            break;
        case CliArgs::Command::Toggle:
            conversion::ToggleSemiLogical(text);
            break;
        case CliArgs::Command::LowerTags:
            conversion::LowerTags(text);
            break;
        case CliArgs::Command::SpecialChars:
            specialchars::Replace(text, definitions);
            break;
        case CliArgs::Command::Detect:  // not a conversion
            break;
        case CliArgs::Command::Table:
            return TableBuilder::FromLogical(text, settings, tags);
    }
    return true;
}

bool ConvertRunner::PrepareSettings(const CliArgs& args, DocumentSettings& settings,
                                    std::string& definitions, int& status) {
    std::optional<DocumentSettings> documentSettings = BaseSettings(args.profile);
    if (!documentSettings) {
        status = kFileError;
        return false;
    }
    if (!ApplyOptions(args, *documentSettings)) {
        status = kEncodingError;
        return false;
    }
    if (args.command == CliArgs::Command::SpecialChars && !ReadDefinitions(args, definitions)) {
        status = kFileError;
        return false;
    }
    settings = *documentSettings;
    return true;
}

int ConvertRunner::Run(const CliArgs& args) {
    if (args.batch) {
        return BatchRunner::Run(args);
    }
    if (args.command == CliArgs::Command::Detect) {
        return DetectRunner::Run(args);
    }
    std::optional<DocumentSettings> documentSettings = BaseSettings(args.profile);
    if (!documentSettings) {
        return kFileError;
    }
    if (!ApplyOptions(args, *documentSettings)) {
        return kEncodingError;
    }
    const ConversionSettings& settings = documentSettings->Conversion;
    const TableSettings& table = documentSettings->Table;

    // to-visual, lower-tags and table stream where their result allows it.
    if (const std::optional<int> streamed = StreamRunner::Run(
            args, settings, TableTags{table.TableTag, table.TRTag, table.TDTag})) {
        return *streamed;
    }

    std::string definitions;
    if (args.command == CliArgs::Command::SpecialChars && !ReadDefinitions(args, definitions)) {
        return kFileError;
    }

    std::string input;
    if (!cli::ReadInput(args.input, input)) {
        return kFileError;
    }
    const bool utf8 = args.encoding == CliArgs::Encoding::Utf8;
    std::string text;
    if (utf8) {
        const Utf8DecodeResult result = Utf8Codec::DecodeToCp1255(input, text);
        if (!result.Ok()) {
            const std::string name = args.input.empty() ? "standard input" : args.input;
            Report(name + ": " + result.Describe());
            return kEncodingError;
        }
        if (args.command != CliArgs::Command::ToVisual &&
            args.command != CliArgs::Command::ToModern) {
            // only to-visual and to-modern may write the input itself
            std::string().swap(input);
        }
    } else {
        text.swap(input);  // one copy of a large text is enough
    }

    const TableTags tags{table.TableTag, table.TRTag, table.TDTag};
    if (!ConvertText(args, settings, tags, definitions, text)) {
        switch (args.command) {
            case CliArgs::Command::ToVisual:
            case CliArgs::Command::ToModern:
                // The text is left as it was read: write out the input itself.
                Report("no Hebrew letter in the input; written out unchanged");
                return WriteOutput(args, utf8 ? input : text) ? kSuccess : kFileError;
            default:
                Report("no Hebrew letter in the input; the table has one empty cell");
                break;
        }
    }
    if (args.command == CliArgs::Command::ToModern) {
        text = Utf8Codec::EncodeCp1255(text);  // a modern page is UTF-8 whatever came in
        return WriteOutput(args, text) ? kSuccess : kFileError;
    }

    if (utf8) {
        text = args.command == CliArgs::Command::ToDos ? Utf8Codec::EncodeDosText(text)
                                                       : Utf8Codec::EncodeCp1255(text);
    }
    return WriteOutput(args, text) ? kSuccess : kFileError;
}
