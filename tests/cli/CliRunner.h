#pragma once

#include <array>
#include <cstdio>
#include <string>
#include <sys/wait.h>

namespace lumetra::test {

struct CliResult {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs lumetra-cli with the given argument text (already quoted for the shell), after the
// given command words (such as a time limit).
inline CliResult RunCli(const std::string& args, const std::string& errFile,
                        const std::string& before = "") {
    CliResult r;
    const std::string command = before + std::string(LUMETRA_CLI) + " " + args + " 2>" + errFile;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        return r;
    std::array<char, 4096> buf{};
    size_t got;
    while ((got = std::fread(buf.data(), 1, buf.size(), pipe)) > 0)
        r.out.append(buf.data(), got);
    const int raw = ::pclose(pipe);
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    if (FILE* e = std::fopen(errFile.c_str(), "rb")) {
        while ((got = std::fread(buf.data(), 1, buf.size(), e)) > 0)
            r.err.append(buf.data(), got);
        std::fclose(e);
    }
    return r;
}

} // namespace lumetra::test
