#pragma once

#include "cli/Commands.h"

#include <CLI/App.hpp>

#include <string>
#include <vector>

namespace lumetra::cli {

// A command as its usage shows it: the verb, the words after it ("FILE", "[--order N]"), how
// many of those are positional, and what it does.
struct CommandSynopsis {
    std::string verb;
    std::vector<std::string> words;
    size_t positionals = 0;
    std::string summary;
};

// lumetra-cli's commands and their words, declared once: the parser, the usage texts, each
// command's --help and the command lists of the README and the manual page all read this.
class CommandLine {
public:
    CommandLine();
    CommandLine(const CommandLine&) = delete;
    CommandLine& operator=(const CommandLine&) = delete;

    // Reads the words after the program's name and runs the command; returns the exit status.
    int Run(const std::vector<std::string>& words, Streams io);

    std::vector<CommandSynopsis> Synopses() const;
    // "usage: lumetra-cli COMMAND ARGS" and every command with what it does.
    std::string UsageText() const;

private:
    CLI::App* AddCommand(const char* verb, const char* summary, Handler handler);
    const CLI::App* FindCommand(const std::string& verb) const;

    CLI::App m_app;
    Arguments m_args;
    std::vector<std::pair<CLI::App*, Handler>> m_commands;
};

// Breaks `words` into lines at most `width` wide: the first after `lead`, the others indented to
// where the first's word number `hangAfter` ended (or by `lead`'s width when it is 0).
std::vector<std::string> WrapWords(const std::string& lead, const std::vector<std::string>& words,
                                   size_t hangAfter, size_t width);

} // namespace lumetra::cli
