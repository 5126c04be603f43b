// mirval-bench-maxrss: runs a command and reports its peak resident memory in
// KiB, like "/usr/bin/time -f %M", for systems without GNU time.
//   mirval-bench-maxrss [-o FILE] COMMAND [ARG]...
// The command keeps this program's standard streams; its exit status is
// passed on (128 + signal number if it was killed).
#include <sys/resource.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
    int first = 1;
    const char* outPath = nullptr;
    if (argc > 2 && std::strcmp(argv[1], "-o") == 0) {
        outPath = argv[2];
        first = 3;
    }
    if (first >= argc) {
        std::fputs("usage: mirval-bench-maxrss [-o FILE] COMMAND [ARG]...\n", stderr);
        return 1;
    }

    const pid_t child = fork();
    if (child < 0) {
        std::perror("mirval-bench-maxrss: fork");
        return 125;
    }
    if (child == 0) {
        execvp(argv[first], argv + first);
        std::fprintf(stderr, "mirval-bench-maxrss: cannot run %s: %s\n", argv[first],
                     std::strerror(errno));
        _exit(127);
    }

    int status = 0;
    struct rusage usage {};
    while (wait4(child, &status, 0, &usage) < 0) {
        if (errno != EINTR) {
            std::perror("mirval-bench-maxrss: wait4");
            return 125;
        }
    }
    std::FILE* out = outPath != nullptr ? std::fopen(outPath, "w") : stderr;
    if (out == nullptr) {
        std::fprintf(stderr, "mirval-bench-maxrss: cannot write %s\n", outPath);
        return 125;
    }
    std::fprintf(out, "%ld\n", usage.ru_maxrss);  // Linux reports KiB
    if (outPath != nullptr) {
        std::fclose(out);
    }
    if (WIFEXITED(status)) {
        return WEXITSTATUS(status);
    }
    return WIFSIGNALED(status) ? 128 + WTERMSIG(status) : 125;
}
