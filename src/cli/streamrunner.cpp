#include "cli/streamrunner.h"
#include "cli/clireport.h"

#include <fcntl.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "cli/convertrunner.h"
#include "convert/streamconvert.h"
#include "framework/atomicfile.h"
#include "framework/filebytes.h"
#include "text/utf8codec.h"

namespace {

using conversion::StreamConversion;
using Command = StreamConversion::Command;

// Input from a pipe up to this many blocks is kept in memory; more is
// spooled to disk.
constexpr size_t kBlocksInMemory = 8;

using cli::Report;

std::string SystemError(std::string_view what, std::string_view name, int number) {
    return std::string(what) + " " + std::string(name) + ": " + std::strerror(number);
}

// Bytes read and written per step. MIRVAL_CONVERT_BLOCK_SIZE sets it (tests
// use tiny blocks to put block ends everywhere). 64 KiB blocks and their
// buffers stay in the processor's caches and touch few fresh pages; measured
// with perf stat (task-clock, means of 15 runs on a loaded machine),
// to-visual --no-break-lines: 10 MB 32.6 ms with 1 MiB blocks (2480 page
// faults), 28.5 ms with 64 KiB (235); 100 MB 285 ms and 277 ms.
size_t BlockSize() {
    if (const char* value = std::getenv("MIRVAL_CONVERT_BLOCK_SIZE")) {
        const long long size = std::atoll(value);
        if (size > 0) {
            return static_cast<size_t>(size);
        }
    }
    return size_t{64} << 10;
}

// The input, readable from its start as often as needed: a regular file, a
// temporary file holding what a pipe gave, or the pipe's bytes in memory.
class Input {
public:
    ~Input() {
        if (m_fd >= 0 && m_ownsFd) {
            ::close(m_fd);
        }
    }

    // Opens the input; false when it cannot be opened (nothing reported).
    bool Open(const CliArgs& args) {
        m_name = args.input.empty() || args.input == "-" ? "standard input" : args.input;
        if (args.input.empty() || args.input == "-") {
            m_fd = STDIN_FILENO;
        } else {
            m_fd = ::open(args.input.c_str(), O_RDONLY | O_CLOEXEC);
            m_ownsFd = true;
        }
        struct stat info {};
        if (m_fd < 0 || ::fstat(m_fd, &info) != 0 || S_ISDIR(info.st_mode)) {
            return false;
        }
        m_rewindable = S_ISREG(info.st_mode);
        if (m_rewindable) {
            m_start = ::lseek(m_fd, 0, SEEK_CUR);  // standard input may be read from the middle
            m_rewindable = m_start >= 0;
        }
        return true;
    }

    const std::string& Name() const { return m_name; }
    bool Rewindable() const { return m_rewindable; }

    // Makes the input readable twice: a pipe's bytes are kept in memory, or
    // spooled to a temporary file when there are many.
    bool MakeRewindable(size_t block, std::string& error) {
        if (m_rewindable) {
            return true;
        }
        const size_t hold = kBlocksInMemory * block;
        m_memory.reserve(hold);
        for (;;) {
            const size_t old = m_memory.size();
            if (old >= hold) {
                break;
            }
            m_memory.resize(std::min(old + block, hold));
            const ssize_t got = ReadSome(m_fd, m_memory.data() + old, m_memory.size() - old, error);
            if (got < 0) {
                return false;
            }
            m_memory.resize(old + static_cast<size_t>(got));
            if (got == 0) {
                m_inMemory = true;
                m_rewindable = true;
                return true;
            }
        }
        const int spool = OpenTemporary(error);
        if (spool < 0) {
            return false;
        }
        std::string bytes;
        bytes.swap(m_memory);
        for (;;) {
            if (!FileBytes::WriteDescriptor(spool, "a temporary file", bytes, error)) {
                ::close(spool);
                return false;
            }
            bytes.resize(block);
            const ssize_t got = ReadSome(m_fd, bytes.data(), block, error);
            if (got < 0) {
                ::close(spool);
                return false;
            }
            if (got == 0) {
                break;
            }
            bytes.resize(static_cast<size_t>(got));
        }
        if (m_ownsFd) {
            ::close(m_fd);
        }
        m_fd = spool;
        m_ownsFd = true;
        m_start = 0;
        m_rewindable = true;
        return Rewind(error);
    }

    // Starts reading from the beginning again.
    bool Rewind(std::string& error) {
        m_memoryPos = 0;
        if (!m_inMemory && ::lseek(m_fd, m_start, SEEK_SET) != m_start) {
            error = SystemError("cannot read", m_name, errno);
            return false;
        }
        return true;
    }

    // Reads up to `size` bytes; 0 at the end, -1 on failure.
    ssize_t Read(char* data, size_t size, std::string& error) {
        if (m_inMemory) {
            const size_t n = std::min(size, m_memory.size() - m_memoryPos);
            std::memcpy(data, m_memory.data() + m_memoryPos, n);
            m_memoryPos += n;
            return static_cast<ssize_t>(n);
        }
        return ReadSome(m_fd, data, size, error);
    }

private:
    ssize_t ReadSome(int fd, char* data, size_t size, std::string& error) {
        for (;;) {
            const ssize_t got = ::read(fd, data, size);
            if (got >= 0) {
                return got;
            }
            if (errno != EINTR) {
                error = SystemError("cannot read", m_name, errno);
                return -1;
            }
        }
    }

    static int OpenTemporary(std::string& error) {
        const char* folder = std::getenv("TMPDIR");
        std::string dir = folder != nullptr && *folder != '\0' ? folder : "/tmp";
        int fd = ::open(dir.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
        if (fd < 0) {
            // A file system without unnamed temporary files: create and unlink.
            std::string path = dir + "/mirval-convert-XXXXXX";
            fd = ::mkostemp(path.data(), O_CLOEXEC);
            if (fd >= 0) {
                ::unlink(path.c_str());
            }
        }
        if (fd < 0) {
            error = SystemError("cannot create a temporary file in", dir, errno);
        }
        return fd;
    }

    std::string m_name;
    int m_fd = -1;
    bool m_ownsFd = false;
    bool m_rewindable = false;
    bool m_inMemory = false;
    off_t m_start = 0;  // where the input starts in its file
    std::string m_memory;
    size_t m_memoryPos = 0;
};

// A byte buffer that grows without zero-filling what is read into it.
class ByteBuffer {
public:
    const char* Data() const { return m_data.get(); }
    size_t Size() const { return m_size; }
    // `count` writable bytes after the content; Commit(n) adds n of them.
    char* Space(size_t count) {
        if (m_capacity - m_size < count) {
            const size_t capacity = std::max(m_size + count, 2 * m_capacity);
            auto data = std::make_unique_for_overwrite<char[]>(capacity);
            if (m_size > 0) {
                std::memcpy(data.get(), m_data.get(), m_size);
            }
            m_data = std::move(data);
            m_capacity = capacity;
        }
        return m_data.get() + m_size;
    }
    void Commit(size_t count) { m_size += count; }
    // Drops the first `count` bytes.
    void Consume(size_t count) {
        std::memmove(m_data.get(), m_data.get() + count, m_size - count);
        m_size -= count;
    }
    std::string_view View() const { return {m_data.get(), m_size}; }

private:
    std::unique_ptr<char[]> m_data;
    size_t m_size = 0;
    size_t m_capacity = 0;
};

// Reads the input in blocks of code page 1255 text. UTF-8 is decoded a run of
// whole lines at a time, so a character is never cut and an error's line and
// column are counted as in the whole text.
class BlockReader {
public:
    BlockReader(Input& input, bool utf8, size_t block)
        : m_input(input), m_utf8(utf8), m_block(block) {}

    // The next block (empty at the end); false on a read or encoding error,
    // which is reported, with `status` set to the exit status.
    bool Next(std::string_view& block, int& status) {
        if (!m_utf8) {
            m_raw.Consume(m_handed);  // the block handed out last time
        }
        for (;;) {
            std::string error;
            const ssize_t got = m_input.Read(m_raw.Space(m_block), m_block, error);
            if (got < 0) {
                Report(error);
                status = ConvertRunner::kFileError;
                return false;
            }
            m_raw.Commit(static_cast<size_t>(got));
            const bool end = got == 0;
            if (!m_utf8) {
                // A block ends after its last line feed where it has one, and
                // the rest goes in front of the next: the stages then rarely
                // carry a line over and copy the next block behind it
                // (measured with callgrind, to-visual --no-break-lines on the
                // 10 MB benchmark text: memcpy 19.8 -> 10.3 million
                // instructions, the run 206.1 -> 196.9 million).
                block = m_raw.View();
                if (!end) {
                    if (const void* lf = ::memrchr(block.data(), '\n', block.size())) {
                        block = block.substr(
                            0,
                            static_cast<size_t>(static_cast<const char*>(lf) - block.data()) + 1);
                    }
                }
                m_handed = block.size();
                return true;
            }
            size_t cut = m_raw.Size();
            if (!end) {
                const size_t lf = m_raw.View().rfind('\n');
                if (lf == std::string_view::npos) {
                    continue;  // a line longer than a block: read on
                }
                cut = lf + 1;
            }
            if (!Decode(m_raw.View().substr(0, cut), status)) {
                return false;
            }
            m_raw.Consume(cut);
            block = m_out;
            return true;
        }
    }

private:
    bool Decode(std::string_view lines, int& status) {
        m_out.clear();
        // A byte order mark counts as one only at the very start of the text:
        // a line of a later block that starts with one is decoded behind a
        // line end, which is then taken off again.
        const bool shield = !m_first && lines.starts_with("\xEF\xBB\xBF");
        const std::string shielded = shield ? "\n" + std::string(lines) : std::string();
        Utf8DecodeResult result =
            Utf8Codec::DecodeToCp1255(shield ? std::string_view(shielded) : lines, m_out);
        if (shield && !m_out.empty()) {
            m_out.erase(0, 1);
        }
        m_first = m_first && lines.empty();
        if (!result.Ok()) {
            result.line += m_lines - (shield ? 1 : 0);
            Report(m_input.Name() + ": " + result.Describe());
            status = ConvertRunner::kEncodingError;
            return false;
        }
        for (char c : lines) {
            m_lines += c == '\n' ? 1 : 0;
        }
        return true;
    }

    Input& m_input;
    bool m_utf8;
    size_t m_block;
    bool m_first = true;
    size_t m_handed = 0;  // bytes of m_raw handed out last time
    size_t m_lines = 0;   // line ends decoded so far
    ByteBuffer m_raw;
    std::string m_out;
};

// Where the result goes: standard output, or the file of -o through a
// temporary file that replaces it when everything is written (a device or a
// FIFO is written directly), so a failure leaves the old file as it was.
class Output {
public:
    Output(const CliArgs& args, bool utf8) : m_utf8(utf8) {
        if (!args.output.empty()) {
            m_file.emplace(args.output);
        }
    }

    bool IsOpen() const { return m_open; }

    bool Open() {
        std::string error;
        if (m_file && !m_file->Open(error)) {
            Report(error);
            return false;
        }
        m_open = true;
        if (!m_file) {
            // Standard output can be cut back only when it is a regular file
            // written at its end, not appended to: then cutting it back to
            // where it was restores the file as it was.
            struct stat info {};
            const int flags = ::fcntl(STDOUT_FILENO, F_GETFL);
            if (::fstat(STDOUT_FILENO, &info) == 0 && S_ISREG(info.st_mode) && flags >= 0 &&
                (flags & O_APPEND) == 0) {
                const off_t at = ::lseek(STDOUT_FILENO, 0, SEEK_CUR);
                m_stdoutStart = at == info.st_size ? at : -1;
            }
        }
        return true;
    }

    // Whether Restart can take back what was written: a temporary file or
    // standard output going to a regular file.
    bool Restartable() const { return m_file ? m_file->Restartable() : m_stdoutStart >= 0; }

    // Drops everything written so far.
    bool Restart() {
        std::string error;
        if (m_file) {
            if (!m_file->Restart(error)) {
                Report(error);
                return false;
            }
        } else if (::ftruncate(STDOUT_FILENO, m_stdoutStart) != 0 ||
                   ::lseek(STDOUT_FILENO, m_stdoutStart, SEEK_SET) != m_stdoutStart) {
            Report(SystemError("cannot write", "standard output", errno));
            return false;
        }
        return true;
    }

    // Writes converted bytes, encoded to UTF-8 where the input was.
    bool Write(std::string_view bytes) {
        if (!m_utf8 || bytes.empty()) {
            return WriteRaw(bytes);
        }
        return WriteRaw(Utf8Codec::EncodeCp1255(bytes));
    }

    // Writes bytes as they are.
    bool WriteRaw(std::string_view bytes) {
        if (bytes.empty()) {
            return true;
        }
        std::string error;
        const bool ok =
            m_file ? m_file->Write(bytes, error)
                   : FileBytes::WriteDescriptor(STDOUT_FILENO, "standard output", bytes, error);
        if (!ok) {
            Report(error);
        }
        return ok;
    }

    bool Commit() {
        std::string error;
        if (m_file && !m_file->Commit(error)) {
            Report(error);
            return false;
        }
        return true;
    }

private:
    bool m_utf8;
    std::optional<AtomicFileWriter> m_file;
    bool m_open = false;
    off_t m_stdoutStart = -1;  // where standard output's file was when opened; -1: not a file
};

// Puts the input back at its start for another pass; says why when it cannot.
bool Rewind(Input& input) {
    std::string error;
    if (input.Rewind(error)) {
        return true;
    }
    Report(error);
    return false;
}

// The first pass: the facts of the whole text, read from its start, its
// encoding checked on the way. False when reading or decoding failed (reported,
// `status` set).
bool ScanFacts(Input& input, bool utf8, size_t block, conversion::TextFacts& facts, int& status) {
    conversion::FactScanner scanner;
    BlockReader reader(input, utf8, block);
    std::string_view bytes;
    do {
        if (!reader.Next(bytes, status)) {
            return false;
        }
        scanner.Feed(bytes);
    } while (!bytes.empty());
    facts = scanner.Facts();
    if (!Rewind(input)) {
        status = ConvertRunner::kFileError;
        return false;
    }
    return true;
}

// to-visual decides by two facts only: whether the text holds a Hebrew letter
// and its line separator. Once the start of a text holds a Hebrew letter and
// "\r\n", the rest can change that decision only with a "\r\r\n" (which
// wins over every other separator). Then the first pass is skipped: the
// conversion starts on the facts of the first block, looks for "\r\r\n" on
// the way, and starts again with a first pass in the rare text that holds one.
// The text is read once instead of twice: CPU-time medians of alternating
// runs on the logical benchmark text into a file (Release), 10 MB (21 runs):
// to-visual 36.3 -> 34.8 ms, --no-break-lines 34.2 -> 33.0 ms; 100 MB (7):
// 351 -> 330 ms and 334 -> 327 ms.
std::optional<conversion::TextFacts> FactsFromStart(Input& input, size_t block, int& status) {
    conversion::FactScanner scanner;
    BlockReader reader(input, false, block);
    std::string_view bytes;
    if (!reader.Next(bytes, status)) {
        return std::nullopt;
    }
    scanner.Feed(bytes);
    if (!Rewind(input)) {
        status = ConvertRunner::kFileError;
        return std::nullopt;
    }
    conversion::TextFacts facts = scanner.Facts();
    if (!facts.hebrew || facts.separator != "\r\n") {
        return std::nullopt;
    }
    return facts;
}

// How a streamed conversion ended.
enum class Streamed { Done, Failed, Restart };

// Converts the input from its start with `facts`, writing the result. With
// `verify`, the facts were judged from the start of the text: the run stops
// with Restart as soon as a "\r\r\n" shows they were wrong.
Streamed Stream(Input& input, Output& output, StreamConversion::Command command,
                const ConversionSettings& settings, const TableTags& tags,
                const std::optional<conversion::TextFacts>& facts, bool utf8, size_t block,
                bool verify, int& status) {
    StreamConversion stream(command, settings, tags, facts);
    BlockReader reader(input, utf8, block);
    // A ByteSink rather than a std::string: to-visual's line wrapper writes
    // into it directly, its line break marks as fixed 16-byte stores (with
    // the wrapper's output copied from a ByteSink of its own into a
    // std::string here, the gain in instructions was eaten by the copy).
    ByteSink out;
    std::string_view bytes;
    do {
        if (!reader.Next(bytes, status)) {
            return Streamed::Failed;
        }
        if (bytes.empty()) {
            stream.Finish(out);
        } else {
            stream.Feed(bytes, out);
        }
        if (verify && stream.CrCrLfSeen()) {
            return Streamed::Restart;
        }
        if (out.View().size() >= block || bytes.empty()) {
            if (!output.Write(out.View())) {
                status = ConvertRunner::kFileError;
                return Streamed::Failed;
            }
            out.Clear();
        }
    } while (!bytes.empty());
    return Streamed::Done;
}

}  // namespace

std::optional<int> StreamRunner::Run(const CliArgs& args, const ConversionSettings& settings,
                                     const TableTags& tags) {
    Command command;
    switch (args.command) {
        case CliArgs::Command::ToVisual:
            command = Command::ToVisual;
            break;
        case CliArgs::Command::LowerTags:
            command = Command::LowerTags;
            break;
        case CliArgs::Command::Table:
            command = Command::Table;
            break;
        default:
            return std::nullopt;
    }
    if (!StreamConversion::Streams(command, settings)) {
        return std::nullopt;
    }
    Input input;
    if (!input.Open(args)) {
        return std::nullopt;
    }
    const bool utf8 = args.encoding == CliArgs::Encoding::Utf8;
    const size_t block = BlockSize();
    std::string error;
    int status = ConvertRunner::kSuccess;

    // The first pass: the facts of the whole text, and its encoding checked
    // before anything is written; or, for to-visual of a code page 1255 file
    // into a file, the facts of the text's start, checked on the way.
    std::optional<conversion::TextFacts> facts;
    Output output(args, utf8);
    bool guessed = false;
    if (command == Command::ToVisual && !utf8 && input.Rewindable()) {
        if (!output.Open()) {
            return ConvertRunner::kFileError;
        }
        if (output.Restartable()) {
            facts = FactsFromStart(input, block, status);
            if (status != ConvertRunner::kSuccess) {
                return status;
            }
            guessed = facts.has_value();
        }
    }
    if (guessed) {
        switch (Stream(input, output, command, settings, tags, facts, utf8, block, true, status)) {
            case Streamed::Done:
                return output.Commit() ? ConvertRunner::kSuccess : ConvertRunner::kFileError;
            case Streamed::Failed:
                return status;
            case Streamed::Restart:
                break;
        }
        if (!output.Restart()) {
            return ConvertRunner::kFileError;
        }
        if (!Rewind(input)) {
            return ConvertRunner::kFileError;
        }
        facts.reset();
    }
    const bool needsFacts = command != Command::LowerTags || utf8 || input.Rewindable();
    if (needsFacts && !facts) {
        if (!input.MakeRewindable(block, error)) {
            Report(error);
            return ConvertRunner::kFileError;
        }
        facts.emplace();
        if (!ScanFacts(input, utf8, block, *facts, status)) {
            return status;
        }
    }

    if (!output.IsOpen() && !output.Open()) {
        return ConvertRunner::kFileError;
    }
    const bool nothing = facts && !facts->hebrew && !facts->dosLetters;
    if (command == Command::ToVisual && nothing) {
        // The text is left as it was read: write out the input itself.
        Report("no Hebrew letter in the input; written out unchanged");
        std::string raw(block, '\0');
        for (;;) {
            const ssize_t got = input.Read(raw.data(), raw.size(), error);
            if (got < 0) {
                Report(error);
                return ConvertRunner::kFileError;
            }
            if (got == 0) {
                break;
            }
            if (!output.WriteRaw(std::string_view(raw).substr(0, static_cast<size_t>(got)))) {
                return ConvertRunner::kFileError;
            }
        }
        return output.Commit() ? ConvertRunner::kSuccess : ConvertRunner::kFileError;
    }
    if (command == Command::Table && nothing) {
        Report("no Hebrew letter in the input; the table has one empty cell");
    }
    if (Stream(input, output, command, settings, tags, facts, utf8, block, false, status) !=
        Streamed::Done) {
        return status;
    }
    return output.Commit() ? ConvertRunner::kSuccess : ConvertRunner::kFileError;
}
