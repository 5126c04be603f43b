#include "cli/detectrunner.h"
#include "cli/clireport.h"

#include <unistd.h>

#include <cstdio>
#include <string_view>

#include "cli/convertrunner.h"
#include "convert/orderdetect.h"
#include "framework/atomicfile.h"
#include "framework/filebytes.h"
#include "text/utf8codec.h"

namespace {

using cli::Report;

}  // namespace

int DetectRunner::Run(const CliArgs& args) {
    const std::vector<std::string> inputs =
        args.inputs.empty() ? std::vector<std::string>{"-"} : args.inputs;
    int status = ConvertRunner::kSuccess;
    std::string output;
    std::string bytes;
    std::string text;
    for (const std::string& path : inputs) {
        bytes.clear();
        if (!cli::ReadInput(path, bytes)) {
            status = ConvertRunner::kFileError;
            continue;
        }
        if (args.encoding == CliArgs::Encoding::Utf8) {
            text.clear();
            const Utf8DecodeResult result = Utf8Codec::DecodeToCp1255(bytes, text);
            if (!result.Ok()) {
                Report(path + ": " + result.Describe());
                if (status == ConvertRunner::kSuccess) {
                    status = ConvertRunner::kEncodingError;
                }
                continue;
            }
            bytes.swap(text);
        }
        const orderdetect::OrderEvidence evidence = orderdetect::DetectOrder(bytes);
        output += orderdetect::OrderName(evidence.order);
        output += ' ' + std::to_string(evidence.finalFirst) + ' ' +
                  std::to_string(evidence.finalLast) + ' ' + path + '\n';
        if (args.output.empty()) {
            // Each line as soon as it is known, for a long list of files.
            std::string error;
            if (!FileBytes::WriteDescriptor(STDOUT_FILENO, "standard output", output, error)) {
                Report(error);
                return ConvertRunner::kFileError;
            }
            output.clear();
        }
    }
    if (!args.output.empty()) {
        std::string error;
        if (!AtomicFile::Write(args.output, output, error)) {
            Report(error);
            return ConvertRunner::kFileError;
        }
    }
    return status;
}
