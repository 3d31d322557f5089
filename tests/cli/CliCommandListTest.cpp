// The usage text, every command's --help, and the command lists of the README and the manual page
// all come from the one declaration of the commands.
#include "cli/CommandLine.h"
#include "framework/CommandTable.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <sstream>

namespace lumetra {
namespace {

using cli::CommandLine;

struct Ran {
    int status;
    std::string out, err;
};

Ran RunInProcess(const std::vector<std::string>& words) {
    std::ostringstream out, err;
    CommandLine commandLine;
    const int status = commandLine.Run(words, {out, err});
    return {status, out.str(), err.str()};
}

std::string Indented(const std::string& text, const std::string& indent) {
    std::string result;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);)
        result += indent + line + '\n';
    return result;
}

// The manual page's synopsis of each command: the verb and the quoted words of its .BI line
// after .TP, which troff sets side by side, without their fonts and escapes.
std::vector<std::string> ManSynopses(const std::string& page) {
    std::vector<std::string> synopses;
    const std::regex bi(R"re(\n\.TP\n\.BI (\S+) "([^"\n]*)"\n)re");
    for (auto m = std::sregex_iterator(page.begin(), page.end(), bi); m != std::sregex_iterator();
         ++m) {
        const std::string words = std::regex_replace((*m)[2].str(), std::regex(R"(\\f[BIR])"), "");
        synopses.push_back((*m)[1].str() + std::regex_replace(words, std::regex(R"(\\-)"), "-"));
    }
    return synopses;
}

TEST(CliCommandList, TheReadmeShowsTheUsageTextAndTheManualEverySynopsis) {
    const CommandLine commandLine;
    const std::string readme = test::TempDir::Read(LUMETRA_SOURCE_DIR "/README.md");
    EXPECT_NE(readme.find(Indented(commandLine.UsageText(), "    ")), std::string::npos)
        << "The README's lumetra-cli section should hold, indented by four:\n"
        << commandLine.UsageText();

    std::vector<std::string> declared;
    for (const cli::CommandSynopsis& s : commandLine.Synopses()) {
        std::string line = s.verb;
        for (const std::string& word : s.words)
            line += " " + word;
        declared.push_back(line);
    }
    EXPECT_EQ(ManSynopses(test::TempDir::Read(LUMETRA_SOURCE_DIR "/resources/man/lumetra-cli.1")),
              declared);
}

TEST(CliCommandList, TheUsageTextWrapsUnderTheFirstOptionAndSetsWhatEachDoesInAColumn) {
    const Ran r = RunInProcess({});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err.substr(0, r.err.find("\n  fit ")),
              "usage: lumetra-cli COMMAND ARGS\n"
              "commands:\n"
              "  check FILE    read a data file and print what it holds\n"
              "  report FILE   print the report of a data file as stored");
    EXPECT_NE(r.err.find("\n  import TEXTFILE --save OUT [--title T] [--xtitle T] [--ytitle T]\n"
                         "                  [--model poly|loglog|semilogy|semilogx] [--order N] "
                         "[--method classic|accurate]\n"
                         "                  [--weights none|sigma|1/x|1/x2|1/y|1/y2|replicates] "
                         "[--absolute]\n"
                         "                  [--skip-bad-lines] [--sigma]\n"
                         "                read X/Y pairs from a text file (blanks, tabs, "
                         "commas, semicolons or quotes between;\n"
                         "                a decimal comma with semicolons or tabs), fit them, "
                         "print the report, save them\n"),
              std::string::npos)
        << r.err;
    std::istringstream lines(r.err);
    for (std::string line; std::getline(lines, line);)
        EXPECT_LE(line.size(), 100u) << line;
    EXPECT_EQ(RunInProcess({"--help"}).out, r.err);
}

TEST(CliCommandList, EveryCommandsHelpStartsWithItsUsageAndNamesEachWord) {
    const Ran exportHelp = RunInProcess({"export", "--help"});
    EXPECT_EQ(exportHelp.status, 0);
    EXPECT_EQ(exportHelp.err, "");
    EXPECT_EQ(exportHelp.out, "usage: lumetra-cli export FILE --out TABLE.csv|.txt\n"
                              "write the stored fit's table as CSV, or its report as text\n\n"
                              "  FILE                  the data file\n"
                              "  --out TABLE.csv|.txt  the table, its kind by its suffix\n"
                              "  -h, --help            print this text\n");
    for (const cli::CommandSynopsis& s : CommandLine().Synopses()) {
        const Ran help = RunInProcess({s.verb, "-h"});
        EXPECT_EQ(help.status, 0) << s.verb;
        const Ran usage = RunInProcess({s.verb, "--no-such-word"});
        EXPECT_EQ(usage.status, 2) << s.verb;
        EXPECT_EQ(help.out.substr(0, usage.err.size()), usage.err) << s.verb;
        for (const std::string& word : s.words) {
            const std::string name = std::regex_replace(word, std::regex(R"([\[\]])"), "");
            const std::string entry = "\n  " + name;
            EXPECT_TRUE(help.out.find(entry + " ") != std::string::npos ||
                        help.out.find(entry + "\n") != std::string::npos)
                << name;
        }
    }
}

TEST(CliCommandList, WordsWithOneDashAreValuesAndTheLastOfARepeatedOptionCounts) {
    const std::string sample = LUMETRA_SOURCE_DIR "/samples/example.dat";
    // Y = 2X + 1.
    struct Case {
        std::vector<std::string> words;
        int status;
        std::string out, err;
    } cases[] = {
        {{"compute", sample, "-.5"}, 0, "0.0000000E+000\n", ""},
        {{"compute", sample, "-0.25"}, 0, "         0.50000\n", ""},
        {{"compute", sample, "--method", "classic", "2", "--method", "accurate"},
         0,
         "         5.00000\n",
         ""},
        {{"compute", sample, "1", "2"},
         2,
         "",
         "usage: lumetra-cli compute FILE VALUE [--method classic|accurate] "
         "[--weights none|sigma|1/x|1/x2|1/y|1/y2|replicates] [--absolute]\n"},
        {{"compute", sample, "1", "--method", "exact"},
         2,
         "",
         "usage: lumetra-cli compute FILE VALUE [--method classic|accurate] "
         "[--weights none|sigma|1/x|1/x2|1/y|1/y2|replicates] [--absolute]\n"},
        {{"predict", sample, "-x"}, 2, "", "lumetra-cli: '-x' is not a number\n"},
        {{"check", "-"}, 1, "", "- was not found.\n"},
        {{"check", ""}, 2, "", "usage: lumetra-cli check FILE\n"},
        {{"export", sample, "--out", ""},
         2,
         "",
         "usage: lumetra-cli export FILE --out TABLE.csv|.txt\n"},
    };
    for (const Case& c : cases) {
        const Ran r = RunInProcess(c.words);
        EXPECT_EQ(r.status, c.status) << c.words.back();
        EXPECT_EQ(r.out, c.out) << c.words.back();
        EXPECT_EQ(r.err, c.err) << c.words.back();
    }
}

// The window commands that lumetra-cli can do too name one of its commands.
TEST(CliCommandList, EveryVerbOfTheWindowCommandsIsACommand) {
    const CommandLine commandLine;
    std::vector<std::string> verbs;
    for (const cli::CommandSynopsis& s : commandLine.Synopses())
        verbs.push_back(s.verb);
    int named = 0;
    for (const CommandDef& def : Commands()) {
        if (!*def.cliVerb)
            continue;
        ++named;
        EXPECT_NE(std::find(verbs.begin(), verbs.end(), def.cliVerb), verbs.end())
            << def.id << " " << def.cliVerb;
    }
    EXPECT_GE(named, 8);
}

} // namespace
} // namespace lumetra
