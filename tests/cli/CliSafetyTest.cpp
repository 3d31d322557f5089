// What lumetra-cli refuses, and what it never does: save a failed fit, wait on a pipe, or
// replace what is not a file.
#include "support/CliRun.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>
#include <utility>

namespace lumetra {
namespace {

namespace fs = std::filesystem;

struct CliSafety : test::CliTest {
    // A command that waited on its input would be stopped after 20 s with status 124.
    test::CliResult Run(const std::string& args) {
        return test::RunCli(args, dir.Path("err.txt"), "timeout 20 ");
    }
};

TEST_F(CliSafety, AFailedFitSavesNothingAndSaysSo) {
    const std::string out = dir.Write("out.dat", "mine");
    test::CliResult r = Run("fit " + sample + " --model semilogx --save " + out);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Must have a minimum of 3 data points to fit the curve!\nCan't Fit the Curve\n"
                     "The curve was not fitted; nothing was saved to " +
                         out + ".\n");
    EXPECT_EQ(test::TempDir::Read(out), "mine");
    const std::string text = dir.Write("two.txt", "1 1\r\n2 2\r\n");
    const std::string none = dir.Path("none.dat");
    r = Run("import " + text + " --save " + none + " --model semilogx");
    EXPECT_EQ(r.status, 1);
    EXPECT_FALSE(fs::exists(none));
}

TEST_F(CliSafety, AnEmptySaveNameIsAUsageError) {
    test::CliResult r = Run("fit " + sample + " --save ''");
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err.rfind("usage: lumetra-cli fit FILE", 0), 0u) << r.err;
    r = Run("import " + dir.Write("p.txt", "1 2\r\n") + " --save ''");
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err.rfind("usage: lumetra-cli import TEXTFILE", 0), 0u) << r.err;
}

TEST_F(CliSafety, AFileWithAnEmptyAxisTitleIsFittedAndKeepsIt) {
    std::string bytes = test::TempDir::Read(sample);
    bytes.replace(bytes.find("\r\nX\r\n"), 5, "\r\n\r\n");
    const std::string in = dir.Write("untitled.dat", bytes);
    const std::string out = dir.Path("fitted.dat");
    test::CliResult r = Run("fit " + in + " --save " + out);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(test::TempDir::Read(out), bytes);
    // A title typed empty is still refused as the Curve page refuses it.
    r = Run("import " + dir.Write("p.txt", "1 2\r\n3 4\r\n") + " --save " + out + " --ytitle ''");
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "Y-Axis Title must not be left empty!\n");
}

TEST_F(CliSafety, PipesAreNeitherWaitedOnNorReplaced) {
    const std::string fifo = dir.Path("pipe.dat");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string notAFile =
        "File " + fifo + ":\nis NOT a file but a pipe, device or socket!\n";
    test::CliResult r = Run("check " + fifo);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, notAFile);
    r = Run("import " + fifo + " --save " + dir.Path("out.dat"));
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, notAFile + "No X/Y pairs were imported from " + fifo + "; nothing saved.\n");
    r = Run("fit " + sample + " --save " + fifo);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err,
              "File " + fifo + ":\nwas NOT saved: it is a pipe, device or socket, not a file!\n");
    EXPECT_EQ(fs::status(fifo).type(), fs::file_type::fifo);
    EXPECT_FALSE(fs::exists(dir.Path("out.dat")));
}

// Every file lumetra-cli writes is saved as a data file is: a pipe is refused and stays a pipe;
// a hard-linked file is written in place and keeps its other name; a file keeps its mode.
TEST_F(CliSafety, TablesAndPicturesAreSavedAsDataFilesAre) {
    ::setenv("XDG_RUNTIME_DIR", dir.path().c_str(), 1); // so Qt has nothing to warn of
    const std::pair<std::string, std::string> commands[] = {
        {"fit " + sample + " --save ", ".dat"},   {"export " + sample + " --out ", ".csv"},
        {"export " + sample + " --out ", ".txt"}, {"plot " + sample + " --out ", ".png"},
        {"plot " + sample + " --out ", ".svg"},   {"plot " + sample + " --out ", ".pdf"},
    };
    for (const auto& [command, suffix] : commands) {
        const std::string fifo = dir.Path("pipe" + suffix);
        ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
        test::CliResult r = Run(command + fifo);
        EXPECT_EQ(r.status, 1) << suffix;
        EXPECT_EQ(r.err, "File " + fifo +
                             ":\nwas NOT saved: it is a pipe, device or socket, not a file!\n")
            << suffix;
        EXPECT_EQ(fs::status(fifo).type(), fs::file_type::fifo);

        const std::string a = dir.Write("a" + suffix, "earlier"), b = dir.Path("b" + suffix);
        ASSERT_EQ(::link(a.c_str(), b.c_str()), 0);
        const std::string c = dir.Write("c" + suffix, "earlier");
        ASSERT_EQ(::chmod(c.c_str(), 0640), 0);
        EXPECT_EQ(Run(command + a).status, 0) << suffix;
        EXPECT_EQ(Run(command + c).status, 0) << suffix;
        EXPECT_EQ(fs::hard_link_count(a), 2u) << suffix;
        EXPECT_NE(test::TempDir::Read(b), "earlier") << suffix;
        EXPECT_EQ(test::TempDir::Read(a), test::TempDir::Read(b)) << suffix;
        EXPECT_EQ(fs::status(c).permissions(), fs::perms(0640)) << suffix;
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), {}), 6 * 4 + 1); // and err.txt
}

// A data file left half-written by a killed save is refused by every command that reads it.
TEST_F(CliSafety, AHalfWrittenFileIsReadByNoCommand) {
    const std::string kept = dir.Path(".torn.dat.AbC123.1.old");
    const std::string torn =
        dir.Write("torn.dat", std::string(1, '\0') +
                                  "Lumetra: this file is half-written; its previous content is "
                                  "kept in " +
                                  kept + "\n0 1\r\n2 5\r\n");
    const std::string refusal = "File " + torn +
                                ":\nwas left half-written by a save that did not finish; it is "
                                "NOT read!\nIts previous content was kept in " +
                                kept + ", which is no longer there.\n";
    test::CliResult r = Run("check " + torn);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, refusal);
    r = Run("import " + torn + " --save " + dir.Path("out.dat"));
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err.rfind(refusal, 0), 0u) << r.err;
    EXPECT_FALSE(fs::exists(dir.Path("out.dat")));
}

} // namespace
} // namespace lumetra
