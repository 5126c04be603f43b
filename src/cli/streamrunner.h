#pragma once

#include <optional>

#include "cli/cliargs.h"
#include "convert/conversionsettings.h"
#include "convert/tablebuilder.h"

// Runs to-visual (without two CR LF as a paragraph), lower-tags and table as a
// stream: the input is read in blocks, each block's complete lines are
// converted and written, the rest waits for the next block. The output is
// byte for byte the whole-text conversion's.
//
// What the result depends on in the whole text (a Hebrew letter anywhere, DOS
// letters only, the line separator, the last ">") is settled by a first pass
// over the input, so the input is read twice. A regular file is simply read
// again; other input (a pipe) is kept in memory up to eight blocks (512 KiB) and
// otherwise spooled to an unlinked temporary file in $TMPDIR (or /tmp) and
// read from there. Only lower-tags on code page 1255 from a pipe needs no
// first pass: a "<" is held back until its ">" arrives.
class StreamRunner {
public:
    // The exit status, or nothing when the input cannot be opened here (the
    // whole-text path then reads it and reports why) or the command does not
    // stream with these settings.
    static std::optional<int> Run(const CliArgs& args, const ConversionSettings& settings,
                                  const TableTags& tags);
};
