#pragma once

// Runs the built mirval-convert as a user would: arguments, standard input
// from a file, standard output and standard error caught in files.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "common/scratchfolder.h"

struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
};

inline std::string Quote(const std::string& arg) {
    std::string quoted = "'";
    for (char c : arg) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

class CliTest : public ::testing::Test {
protected:
    // Runs the program with input on standard input, through a pipe when
    // piped; standard output goes into a pipe as well when pipedOutput.
    Outcome Run(const std::vector<std::string>& args, const std::string& input = "",
                bool piped = false, bool pipedOutput = false) {
        ScratchFolder::Write(m_folder.File("stdin"), input);
        std::string command = (piped ? "cat " + Quote(m_folder.File("stdin")) + " | " : "") +
                              Quote(MIRVAL_CONVERT_PATH);
        for (const std::string& arg : args) {
            command += ' ' + Quote(arg);
        }
        command += (piped ? "" : " <" + Quote(m_folder.File("stdin"))) + " 2>" +
                   Quote(m_folder.File("stderr"));
        if (pipedOutput) {
            // The shell gives a pipeline the status of its last command.
            command = "{ " + command + "; echo $? >" + Quote(m_folder.File("status")) +
                      "; } | cat >" + Quote(m_folder.File("stdout"));
        } else {
            command += " >" + Quote(m_folder.File("stdout"));
        }
        const int raw = std::system(command.c_str());
        Outcome outcome;
        outcome.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        if (pipedOutput && outcome.status == 0) {
            outcome.status = std::atoi(ScratchFolder::Read(m_folder.File("status")).c_str());
        }
        outcome.out = ScratchFolder::Read(m_folder.File("stdout"));
        outcome.err = ScratchFolder::Read(m_folder.File("stderr"));
        return outcome;
    }

    // An error is one line on standard error, naming the program.
    static void ExpectOneErrorLine(const Outcome& outcome) {
        EXPECT_TRUE(outcome.err.starts_with("mirval-convert: ")) << outcome.err;
        EXPECT_EQ(outcome.err.find('\n'), outcome.err.size() - 1) << outcome.err;
    }

    ScratchFolder m_folder;
};
