#include "cli/cliargs.h"

#include <array>
#include <charconv>
#include <string_view>

namespace {

struct CommandName {
    std::string_view name;
    CliArgs::Command command;
};

constexpr std::array<CommandName, 9> kCommands = {{
    {"to-modern", CliArgs::Command::ToModern},
    {"to-visual", CliArgs::Command::ToVisual},
    {"to-logical", CliArgs::Command::ToLogical},
    {"to-dos", CliArgs::Command::ToDos},
    {"toggle", CliArgs::Command::Toggle},
    {"lower-tags", CliArgs::Command::LowerTags},
    {"special-chars", CliArgs::Command::SpecialChars},
    {"table", CliArgs::Command::Table},
    {"detect", CliArgs::Command::Detect},
}};

// An on/off option pair sets one field to 1 or 0.
struct SwitchOption {
    std::string_view on;
    std::string_view off;
    std::optional<int> CliArgs::*field;
};

constexpr std::array<SwitchOption, 4> kSwitches = {{
    {"--break-lines", "--no-break-lines", &CliArgs::breakLines},
    {"--hebrew-paragraph", "--no-hebrew-paragraph", &CliArgs::hebrewParagraph},
    {"--remove-tabs", "--keep-tabs", &CliArgs::removeTabs},
    {"--two-crlf-para", "--no-two-crlf-para", &CliArgs::twoCrlfPara},
}};

CliArgs Usage(std::string error) {
    CliArgs result;
    result.action = CliArgs::Action::UsageError;
    result.error = std::move(error);
    return result;
}

bool IsValueOption(std::string_view name) {
    constexpr std::array<std::string_view, 16> kValueOptions = {
        "--width",      "--break-string", "--before", "--after",
        "--profile",    "--encoding",     "--def",    "-o",
        "--output",     "--table-tag",    "--tr-tag", "--td-tag",
        "--output-dir", "--include",      "-j",       "--jobs"};
    for (std::string_view option : kValueOptions) {
        if (name == option) {
            return true;
        }
    }
    return false;
}

// Stores the value of a value-taking option; false with error on a bad value.
bool SetValue(CliArgs& args, std::string_view name, const std::string& value, std::string& error) {
    if (name == "--width") {
        int width = 0;
        const auto [end, failure] =
            std::from_chars(value.data(), value.data() + value.size(), width);
        if (failure != std::errc{} || end != value.data() + value.size() || width < 1) {
            error = "--width needs a positive whole number, not '" + value + "'";
            return false;
        }
        args.width = width;
    } else if (name == "-j" || name == "--jobs") {
        int jobs = 0;
        const auto [end, failure] =
            std::from_chars(value.data(), value.data() + value.size(), jobs);
        if (failure != std::errc{} || end != value.data() + value.size() || jobs < 1) {
            error = "-j needs a positive whole number, not '" + value + "'";
            return false;
        }
        args.jobs = jobs;
    } else if (name == "--output-dir") {
        if (value.empty()) {
            error = "--output-dir needs a folder name";
            return false;
        }
        args.outputDir = value;
    } else if (name == "--include") {
        if (value.empty()) {
            error = "--include needs a file name pattern";
            return false;
        }
        args.includes.push_back(value);
    } else if (name == "--break-string") {
        args.breakString = value;
    } else if (name == "--before") {
        args.before = value;
    } else if (name == "--after") {
        args.after = value;
    } else if (name == "--table-tag") {
        args.tableTag = value;
    } else if (name == "--tr-tag") {
        args.trTag = value;
    } else if (name == "--td-tag") {
        args.tdTag = value;
    } else if (name == "--profile") {
        if (value.empty()) {
            error = "--profile needs a file name";
            return false;
        }
        args.profile = value;
    } else if (name == "--def") {
        if (value.empty()) {
            error = "--def needs a file name";
            return false;
        }
        args.def = value;
    } else if (name == "--encoding") {
        if (value == "cp1255") {
            args.encoding = CliArgs::Encoding::Cp1255;
        } else if (value == "utf-8" || value == "utf8") {
            args.encoding = CliArgs::Encoding::Utf8;
        } else {
            error = "--encoding is cp1255 or utf-8, not '" + value + "'";
            return false;
        }
    } else {  // -o, --output
        if (value.empty()) {
            error = "-o needs a file name";
            return false;
        }
        args.output = value;
    }
    return true;
}

}  // namespace

CliArgs CliArgs::Parse(const std::vector<std::string>& args) {
    CliArgs result;
    std::vector<std::string> positional;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg == "-" || !arg.starts_with('-')) {
            positional.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (arg == "--help" || arg == "-h") {
            result.action = Action::Help;
            return result;
        }
        if (arg == "--version") {
            result.action = Action::Version;
            return result;
        }
        // "--name=value", "--name value", "-o value" and "-ovalue".
        std::string_view name = arg;
        std::optional<std::string> inlineValue;
        if (arg.starts_with("--")) {
            if (const std::size_t equals = arg.find('='); equals != std::string::npos) {
                name = std::string_view(arg).substr(0, equals);
                inlineValue = arg.substr(equals + 1);
            }
        } else if (arg.starts_with("-o") && arg.size() > 2) {
            name = "-o";
            inlineValue = arg.substr(2);
        } else if (arg.starts_with("-j") && arg.size() > 2) {
            name = "-j";
            inlineValue = arg.substr(2);
        }
        if (name == "--strip-paragraphs" || name == "--in-place" || name == "--quiet" ||
            name == "--only-visual") {
            if (inlineValue) {
                return Usage("option " + std::string(name) + " takes no value");
            }
            (name == "--strip-paragraphs" ? result.stripParagraphs
             : name == "--in-place"       ? result.inPlace
             : name == "--quiet"          ? result.quiet
                                          : result.onlyVisual) = true;
            continue;
        }

        bool known = false;
        for (const SwitchOption& option : kSwitches) {
            if (name == option.on || name == option.off) {
                if (inlineValue) {
                    return Usage("option " + std::string(name) + " takes no value");
                }
                result.*option.field = name == option.on ? 1 : 0;
                known = true;
            }
        }
        if (known) {
            continue;
        }
        if (!IsValueOption(name)) {
            return Usage("unknown option '" + std::string(name) + "'; try --help");
        }
        std::string value;
        if (inlineValue) {
            value = *inlineValue;
        } else if (i + 1 < args.size()) {
            value = args[++i];
        } else {
            return Usage("option " + std::string(name) + " needs a value");
        }
        std::string error;
        if (!SetValue(result, name, value, error)) {
            return Usage(error);
        }
    }

    if (positional.empty()) {
        return Usage("no command given; try --help");
    }
    bool found = false;
    for (const CommandName& command : kCommands) {
        if (positional[0] == command.name) {
            result.command = command.command;
            found = true;
        }
    }
    if (!found) {
        return Usage("unknown command '" + positional[0] + "'; try --help");
    }
    if (result.command == Command::Detect) {
        result.inputs.assign(positional.begin() + 1, positional.end());
    } else if (!result.outputDir.empty() || result.inPlace) {
        if (!result.output.empty()) {
            return Usage(
                "-o names one output file; it does not go with --output-dir or --in-place");
        }
        if (!result.outputDir.empty() && result.inPlace) {
            return Usage("--output-dir and --in-place do not go together");
        }
        if (positional.size() < 2) {
            return Usage("no input file or folder given");
        }
        result.batch = true;
        result.files.assign(positional.begin() + 1, positional.end());
        result.action = Action::Convert;
        return result;
    } else if (positional.size() > 2) {
        return Usage("more than one input file given ('" + positional[2] +
                     "'); name an --output-dir or give --in-place");
    }
    if (positional.size() == 2 && result.command != Command::Detect) {
        result.input = positional[1];
    }
    result.action = Action::Convert;
    return result;
}

void CliArgs::ApplyFlags(ConversionSettings& settings) const {
    if (width) {
        settings.BreakLinesAt = *width;
    }
    if (breakLines) {
        settings.BreakLines = *breakLines;
    }
    if (hebrewParagraph) {
        settings.AddToHebParagraph = *hebrewParagraph;
    }
    if (removeTabs) {
        settings.RemoveTag = *removeTabs;
    }
    if (twoCrlfPara) {
        settings.TwoCRLFPara = *twoCrlfPara;
    }
}

std::string CliArgs::HelpText() {
    return R"(Usage: mirval-convert COMMAND [OPTIONS] [FILE]
       mirval-convert COMMAND [OPTIONS] --output-dir DIR FILE...
       mirval-convert COMMAND [OPTIONS] --in-place FILE...
       mirval-convert detect [OPTIONS] [FILE...]

Converts Hebrew text between logical order and visual HTML, as the MIRVAL
editor's commands do on a whole document. Reads FILE, or standard input when
FILE is missing or "-", and writes standard output, or the file given by -o.

Commands:
  to-visual     logical text to visual HTML: each line reversed to display
                order, broken to the line length and marked. Text without a
                Hebrew letter (code page 1255 or 862) is written out unchanged.
  to-logical    visual HTML to logical text (tags dropped, reading order)
  to-modern     a visual HTML page to logical HTML for today's browsers,
                in UTF-8: each line back in reading order with its tags in
                their logical place, the pieces of a broken line joined and
                their marks (--break-string) removed, a meta tag declaring
                the visual charset, ISO-8859-8 or windows-1255 replaced by
                <meta charset="utf-8">, and dir="rtl" lang="he" declared.
                Give the options the page was made with (--width,
                --break-string, --before, --after). Text without a Hebrew
                letter is written out unchanged.
  to-dos        visual HTML to right-aligned DOS text in code page 862
  toggle        visual HTML to semi-logical HTML, and back
  lower-tags    upper-case tags to lower case
  special-chars written forms of characters (entities such as &quot; and
                character references such as &#1488;) to the characters,
                as listed in a definition file (--def)
  table         tab-separated logical text (TAB between cells, a line end
                between rows) to a visual HTML table, as the editor's table
                paste makes it: each row reversed, so the first column comes
                last, and an empty cell filled with "&nbsp;". Text without a
                Hebrew letter gives a table of one empty cell.
  detect [FILE...]
                tells whether each file (standard input when none is given)
                is stored in visual or logical order, one line per file:
                "visual", "logical" or "unknown", the number of Hebrew words
                that begin with a final letter (ך ם ן ף ץ in code page
                1255), the number that end with one, and the file's name.
                A meta tag declaring the visual charset or ISO-8859-8 makes
                a page visual. The verdict does not change the exit status.

Conversion options (to-visual; to-logical uses --keep-tabs/--remove-tabs):
  --width N                  visual line length in characters (default 70)
  --break-lines              mark every broken Hebrew line (default)
  --no-break-lines           do not mark broken lines
  --break-string S           the mark appended to a broken line (default "<br>")
  --hebrew-paragraph         surround each run of Hebrew lines with the
                             --before and --after strings
  --no-hebrew-paragraph      do not (default)
  --before S                 written before a run of Hebrew lines
                             (default "<div align="right">")
  --after S                  written after a run of Hebrew lines (default "</div>")
  --keep-tabs                keep TAB characters
  --remove-tabs              turn TAB characters into spaces (default)
  --two-crlf-para            turn a mark, a line end and a mark (an empty
                             marked line) into a paragraph break
  --no-two-crlf-para         do not (default)

Modern page options (to-modern):
  --strip-paragraphs         remove the --before and --after strings that the
                             visual conversion put around Hebrew lines

Many files (every command but detect):
  --output-dir DIR           convert every FILE into DIR, each under the same
                             path relative to the folder it was found in;
                             folders are walked through
  --in-place                 replace every FILE by its result (atomically)
  --include GLOB             in folders, take the files whose names match
                             GLOB (repeatable; default *.htm, *.html, *.txt)
  -j N, --jobs N             convert N files at a time (default: the number
                             of processors)
  --only-visual              copy unchanged the files that are not in visual
                             order (as detect tells)
  --quiet                    no progress bar and no summary
  Without --output-dir or --in-place only one FILE is taken. Progress goes to
  standard error when it is a terminal; a summary follows: files converted,
  unchanged (no Hebrew letter), skipped (--only-visual) and failed, each
  failure with its file and reason. A failing file does not stop the others;
  the exit status is the worst of any file's.

Table options (table; the conversion options do not apply to it):
  --table-tag S              the table's opening tag
                             (default "<table border="1">")
  --tr-tag S                 a row's opening tag (default "<tr>")
  --td-tag S                 a cell's opening tag
                             (default "<td align="right" valign="top" nowrap>")

Other options:
  --def FILE                 special-chars: the definition file; each line
                             is "first,second,replacement" (default: the
                             mirval.def shipped with the program)
  --profile FILE             take the settings (table tags included) from
                             section "Settings" of the INI profile FILE;
                             options on the line still win
  --encoding cp1255|utf-8    cp1255 (default): bytes in and out untouched.
                             utf-8: input and the strings of options are UTF-8,
                             decoded to code page 1255, and the output is
                             encoded back (to-dos: DOS letters as Hebrew).
  -o FILE, --output FILE     write FILE (replaced whole, atomically)
  --help                     show this text
  --version                  show the version

Options take their value as the next argument or after "=" (--width=60).
"--" ends the options.

Exit status: 0 success, 1 usage error, 2 a file that cannot be read or
written, 3 an encoding error (a character with no code page 1255 form, or
invalid UTF-8; the message names its line and column).
)";
}
