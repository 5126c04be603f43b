#include "cli/batchrunner.h"
#include "cli/clireport.h"

#include <fnmatch.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "cli/convertrunner.h"
#include "convert/orderdetect.h"
#include "framework/atomicfile.h"
#include "framework/filebytes.h"
#include "text/utf8codec.h"

namespace {

namespace fs = std::filesystem;

using cli::Report;

// One file of the run: where it is read and where its result goes.
struct Job {
    std::string input;
    std::string output;
    uintmax_t size = 0;
};

enum class Result { Converted, Unchanged, Skipped, Failed };

struct Outcome {
    Result result = Result::Failed;
    int status = ConvertRunner::kSuccess;
    std::string reason;  // for Failed
};

bool Included(const fs::path& file, const std::vector<std::string>& patterns) {
    static const std::vector<std::string> kDefault = {"*.htm", "*.html", "*.txt"};
    const std::string name = file.filename().string();
    for (const std::string& pattern : patterns.empty() ? kDefault : patterns) {
        if (fnmatch(pattern.c_str(), name.c_str(), 0) == 0) {
            return true;
        }
    }
    return false;
}

// The files of the command line in the order given, each folder's files in
// name order. False, reported, when a named file or folder is missing.
bool CollectJobs(const CliArgs& args, std::vector<Job>& jobs) {
    bool ok = true;
    for (const std::string& named : args.files) {
        std::error_code error;
        const fs::path path(named);
        const fs::file_status status = fs::status(path, error);
        if (error || !fs::exists(status)) {
            Report("cannot read " + named + ": no such file or folder");
            ok = false;
            continue;
        }
        const auto add = [&](const fs::path& file, const fs::path& relative) {
            Job job;
            job.input = file.string();
            job.output = args.inPlace ? job.input : (fs::path(args.outputDir) / relative).string();
            std::error_code sizeError;
            job.size = fs::file_size(file, sizeError);
            jobs.push_back(std::move(job));
        };
        if (!fs::is_directory(status)) {
            add(path, path.filename());
            continue;
        }
        std::vector<fs::path> found;
        for (fs::recursive_directory_iterator it(path, error), end; !error && it != end;
             it.increment(error)) {
            if (it->is_regular_file() && Included(it->path(), args.includes)) {
                found.push_back(it->path());
            }
        }
        if (error) {
            Report("cannot read folder " + named + ": " + error.message());
            ok = false;
        }
        std::sort(found.begin(), found.end());
        for (const fs::path& file : found) {
            add(file, file.lexically_relative(path));
        }
    }
    return ok;
}

// Shows files done of total, bytes per second and the time left on standard
// error, at most ten times a second, when it is a terminal.
class Progress {
public:
    Progress(size_t files, uintmax_t bytes, bool shown)
        : m_files(files), m_bytes(bytes), m_shown(shown), m_start(Clock::now()) {}

    void Done(uintmax_t bytes) {
        std::lock_guard lock(m_mutex);
        ++m_doneFiles;
        m_doneBytes += bytes;
        const auto now = Clock::now();
        if (!m_shown ||
            (now - m_lastShown < std::chrono::milliseconds(100) && m_doneFiles < m_files)) {
            return;
        }
        m_lastShown = now;
        const double seconds = std::chrono::duration<double>(now - m_start).count();
        const double rate = seconds > 0 ? static_cast<double>(m_doneBytes) / seconds : 0;
        const double left =
            rate > 0 ? static_cast<double>(m_bytes - std::min(m_bytes, m_doneBytes)) / rate : 0;
        constexpr int kWidth = 24;
        const int filled = m_files == 0 ? kWidth : static_cast<int>(kWidth * m_doneFiles / m_files);
        std::string bar(static_cast<size_t>(filled), '#');
        bar.resize(kWidth, '-');
        std::fprintf(stderr, "\r[%s] %zu/%zu files, %.1f MB/s, %.0f s left ", bar.c_str(),
                     m_doneFiles, m_files, rate / 1e6, left);
        if (m_doneFiles == m_files) {
            std::fputc('\n', stderr);
        }
        std::fflush(stderr);
    }

private:
    using Clock = std::chrono::steady_clock;
    std::mutex m_mutex;
    size_t m_files;
    uintmax_t m_bytes;
    bool m_shown;
    Clock::time_point m_start;
    Clock::time_point m_lastShown{};
    size_t m_doneFiles = 0;
    uintmax_t m_doneBytes = 0;
};

class Converter {
public:
    Converter(const CliArgs& args, const DocumentSettings& settings, const std::string& definitions)
        : m_args(args),
          m_settings(settings),
          m_tags{settings.Table.TableTag, settings.Table.TRTag, settings.Table.TDTag},
          m_definitions(definitions) {}

    Outcome Convert(const Job& job) const {
        Outcome outcome;
        std::string input;
        std::string error;
        switch (FileBytes::ReadFile(job.input, input, error)) {
            case FileBytes::Status::Ok:
                break;
            case FileBytes::Status::Missing:
                return Failure(ConvertRunner::kFileError, "no such file");
            default:
                return Failure(ConvertRunner::kFileError, error);
        }
        const bool utf8 = m_args.encoding == CliArgs::Encoding::Utf8;
        std::string text;
        if (utf8) {
            const Utf8DecodeResult result = Utf8Codec::DecodeToCp1255(input, text);
            if (!result.Ok()) {
                return Failure(ConvertRunner::kEncodingError, result.Describe());
            }
        } else {
            text = input;
        }
        if (m_args.onlyVisual &&
            orderdetect::DetectOrder(text).order != orderdetect::TextOrder::Visual) {
            outcome.result = Result::Skipped;
            return Write(job, input, outcome, true);
        }
        if (!ConvertRunner::ConvertText(m_args, m_settings.Conversion, m_tags, m_definitions,
                                        text) &&
            m_args.command != CliArgs::Command::Table) {
            outcome.result = Result::Unchanged;
            return Write(job, input, outcome, true);
        }
        std::string().swap(input);
        if (m_args.command == CliArgs::Command::ToModern) {
            text = Utf8Codec::EncodeCp1255(text);
        } else if (utf8) {
            text = m_args.command == CliArgs::Command::ToDos ? Utf8Codec::EncodeDosText(text)
                                                             : Utf8Codec::EncodeCp1255(text);
        }
        outcome.result = Result::Converted;
        return Write(job, text, outcome, false);
    }

private:
    static Outcome Failure(int status, std::string reason) {
        Outcome outcome;
        outcome.result = Result::Failed;
        outcome.status = status;
        outcome.reason = std::move(reason);
        return outcome;
    }

    // Writes the result; a file left as it was is not rewritten in place.
    Outcome Write(const Job& job, std::string_view bytes, Outcome outcome, bool unchanged) const {
        if (unchanged && m_args.inPlace) {
            return outcome;
        }
        std::error_code dirError;
        const fs::path parent = fs::path(job.output).parent_path();
        if (!parent.empty()) {
            fs::create_directories(parent, dirError);
        }
        std::string error;
        if (dirError) {
            return Failure(ConvertRunner::kFileError,
                           "cannot make folder " + parent.string() + ": " + dirError.message());
        }
        if (!AtomicFile::Write(job.output, bytes, error)) {
            return Failure(ConvertRunner::kFileError, error);
        }
        return outcome;
    }

    const CliArgs& m_args;
    const DocumentSettings& m_settings;
    const TableTags m_tags;
    const std::string& m_definitions;
};

}  // namespace

int BatchRunner::Run(const CliArgs& args) {
    if (args.command == CliArgs::Command::Detect) {
        Report("detect takes no --output-dir or --in-place");
        return ConvertRunner::kUsageError;
    }
    DocumentSettings settings;
    std::string definitions;
    int status = ConvertRunner::kSuccess;
    if (!ConvertRunner::PrepareSettings(args, settings, definitions, status)) {
        return status;
    }
    std::vector<Job> jobs;
    if (!CollectJobs(args, jobs)) {
        status = ConvertRunner::kFileError;
    }

    uintmax_t totalBytes = 0;
    for (const Job& job : jobs) {
        totalBytes += job.size;
    }
    Progress progress(jobs.size(), totalBytes, !args.quiet && isatty(STDERR_FILENO) == 1);
    const Converter converter(args, settings, definitions);
    std::vector<Outcome> outcomes(jobs.size());
    std::atomic<size_t> next{0};
    const auto work = [&] {
        for (size_t k = next++; k < jobs.size(); k = next++) {
            outcomes[k] = converter.Convert(jobs[k]);
            progress.Done(jobs[k].size);
        }
    };
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    const size_t workers =
        std::min<size_t>(args.jobs > 0 ? static_cast<size_t>(args.jobs) : cores, jobs.size());
    std::vector<std::thread> threads;
    for (size_t w = 1; w < workers; ++w) {
        threads.emplace_back(work);
    }
    work();
    for (std::thread& thread : threads) {
        thread.join();
    }

    size_t counts[4] = {0, 0, 0, 0};
    for (size_t k = 0; k < jobs.size(); ++k) {
        const Outcome& outcome = outcomes[k];
        ++counts[static_cast<int>(outcome.result)];
        if (outcome.result == Result::Failed) {
            Report(jobs[k].input + ": " + outcome.reason);
            status = std::max(status, outcome.status);
        }
    }
    if (!args.quiet) {
        std::fprintf(stderr,
                     "mirval-convert: %zu files: %zu converted, %zu unchanged (no Hebrew letter), "
                     "%zu skipped (not visual), %zu failed\n",
                     jobs.size(), counts[0], counts[1], counts[2], counts[3]);
    }
    return status;
}
