#pragma once

#include "platform/MemorySettingsStore.h"
#include "support/ExampleFile.h"
#include "support/RecordingUi.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace lumetra::test {

struct CliResult {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs a shell command line, its error stream through errFile.
inline CliResult RunCommand(const std::string& command, const std::string& errFile) {
    CliResult r;
    FILE* pipe = ::popen((command + " 2>" + errFile).c_str(), "r");
    if (!pipe)
        return r;
    std::array<char, 4096> buf{};
    size_t got;
    while ((got = std::fread(buf.data(), 1, buf.size(), pipe)) > 0)
        r.out.append(buf.data(), got);
    const int raw = ::pclose(pipe);
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    r.err = TempDir::Read(errFile);
    return r;
}

// Runs lumetra-cli with the given argument text (already quoted for the shell), after the
// given command words (such as a time limit).
inline CliResult RunCli(const std::string& args, const std::string& errFile,
                        const std::string& before = "") {
    return RunCommand(before + LUMETRA_CLI + " " + args, errFile);
}

// The fixture of the lumetra-cli tests: a folder of their own, the sample files, a run of the
// program that captures both its streams, and data files of any pairs.
struct CliTest : ::testing::Test {
    TempDir dir;
    RecordingUi ui;
    MemorySettingsStore settings;
    const std::string sample = LUMETRA_SOURCE_DIR "/samples/example.dat";
    const std::string pontius = LUMETRA_SOURCE_DIR "/samples/pontius.dat";

    CliResult Run(const std::string& args) { return RunCli(args, dir.Path("err.txt")); }
    // data.dat in the folder, holding these pairs for the model and order.
    std::string SaveData(std::vector<CXYdata> pairs, int type = 0, int order = 1) {
        return WritePairsFile(ui, settings, dir.Path("data.dat"), std::move(pairs), type, order);
    }
};

} // namespace lumetra::test
