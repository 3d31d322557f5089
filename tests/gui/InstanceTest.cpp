#include "AppFixture.h"
#include "RunningProgram.h"

#include "app/InstanceChannel.h"
#include "app/InstanceRules.h"
#include "data/LumetraDoc.h"
#include "report/ReportPrinting.h"

#include <QElapsedTimer>
#include <QFile>
#include <QPrinterInfo>

#include <cstring>
#include <iostream>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace lumetra {
namespace {

using test::MakeFolder;
using test::RunningProgram;
using test::SocketCount;
using test::WaitUntil;

const QString kPontius = LUMETRA_SOURCE_DIR "/samples/pontius.dat";
const QString kExample = LUMETRA_SOURCE_DIR "/samples/example.dat";
constexpr int kComeUpMs = 20000; // a loaded machine may take long to start a program
constexpr int kHandOffMs = 10000;

// A data file of `pairs` pairs, long enough that reading it pumps events many times over.
QString WriteBigDataFile(const test::TempDir& dir, int pairs) {
    QString text =
        "@Many pairs\r\nLoad\r\nDeflection\r\n0\r\n2\r\n0.0 1.0\r\n0.0 0.0\r\n0 5 1 0\r\n"
        "0.0\r\n1.0\r\n0.0\r\n";
    for (int i = 0; i < pairs; ++i)
        text += QString("%1\t%2\t0\t0\r\n").arg(i).arg(i * 0.5, 0, 'f', 1);
    return QString::fromStdString(dir.Write("many.dat", text.toStdString()));
}

QString CopyOf(const test::TempDir& dir, const QString& file, const char* name) {
    const QString copy = QString::fromStdString(dir.Path(name));
    QFile::copy(file, copy);
    return copy;
}

using SecondStart = test::AppFixture;

// The real program started a second time with a file: it hands the file over and ends, and the
// running one opens it.
TEST_F(SecondStart, OpensItsFileInTheRunningProgram) {
    ASSERT_TRUE(Start({QString::fromStdString(Sample())}));
    const QString runtime = MakeFolder(dir, "run");
    CInstanceChannel channel(runtime + "/lumetra-test");
    ASSERT_TRUE(channel.Listen());
    QObject::connect(&channel, &CInstanceChannel::filesReceived, &channel,
                     [this](const QStringList& files) { app->OpenFilesFromShell(files); });

    RunningProgram second(runtime, MakeFolder(dir, "second"));
    second.Set("LUMETRA_INSTANCE", "lumetra-test");
    second.Start({kPontius});
    ASSERT_TRUE(second.WaitForEnd(kHandOffMs));
    EXPECT_EQ(second.ExitCode(), 0) << second.Errors().toStdString();
    EXPECT_EQ(second.RecentFile(), "");
    Settle();
    const std::vector<CLumetraDoc*> docs = app->DocManager().Documents();
    ASSERT_EQ(docs.size(), 2u);
    EXPECT_EQ(docs[1]->GetTitle(), "pontius.dat");
    EXPECT_TRUE(ui.messages.empty());
}

// The running program takes a file from a second start and reads it, pumping events, while the
// second start goes away; it must come through with the file open.
TEST_F(SecondStart, HandsALargeFileToTheRunningProgram) {
    const QString runtime = MakeFolder(dir, "run");
    const QString big = WriteBigDataFile(dir, 500000);

    RunningProgram first(runtime, MakeFolder(dir, "first"));
    first.Set("LUMETRA_INSTANCE", "lumetra-handoff");
    first.Start({kPontius});
    ASSERT_TRUE(first.WaitForRecentFile(kPontius, kComeUpMs)) << first.Errors().toStdString();

    RunningProgram second(runtime, MakeFolder(dir, "second"));
    second.Set("LUMETRA_INSTANCE", "lumetra-handoff");
    second.Start({big});
    ASSERT_TRUE(second.WaitForEnd(kHandOffMs));
    EXPECT_EQ(second.ExitCode(), 0) << second.Errors().toStdString();

    EXPECT_TRUE(first.WaitForRecentFile(big, 60000)) << first.Errors().toStdString();
    EXPECT_TRUE(first.Running()) << first.Errors().toStdString();
    EXPECT_EQ(second.RecentFile(), "");
}

TEST_F(SecondStart, FindsNoneWhenNothingRunsAndTakesOverAChannelLeftBehind) {
    const QString runtime = MakeFolder(dir, "run");
    CInstanceChannel none(runtime + "/lumetra-none");
    EXPECT_EQ(none.SendToRunning({"x.dat"}), CInstanceChannel::Handoff::NoneRunning);

    // A program killed while it listened leaves its socket file, and no one answers on it.
    const QByteArray left = QFile::encodeName(runtime + "/lumetra-left");
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::memcpy(addr.sun_path, left.constData(), size_t(left.size()));
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
    ::close(fd);
    ASSERT_EQ(SocketCount(runtime), 1);

    CInstanceChannel channel(QString::fromUtf8(left));
    EXPECT_EQ(channel.SendToRunning({"x.dat"}), CInstanceChannel::Handoff::NoneRunning);
    EXPECT_TRUE(channel.Listen());
    // A second program on the same channel leaves it to the one that answers.
    CInstanceChannel another(QString::fromUtf8(left));
    EXPECT_FALSE(another.Listen());
}

// Starts of the real program on a runtime folder of their own.
struct Starts : ::testing::Test {
    test::TempDir dir;
    QString runtime = MakeFolder(dir, "run");

    // A program with its own settings on the channel `instance`.
    std::unique_ptr<RunningProgram> Launch(const char* profile, const QString& instance,
                                           const QStringList& arguments) {
        auto program = std::make_unique<RunningProgram>(runtime, MakeFolder(dir, profile));
        program->Set("LUMETRA_INSTANCE", instance);
        program->Start(arguments);
        return program;
    }
    // The next start with a file hands it to `first`, which opened only Pontius before.
    void ExpectHandedTo(const RunningProgram& first, const QString& instance) {
        const QString third = CopyOf(dir, kPontius, "third.dat");
        auto thirdStart = Launch("third", instance, {third});
        ASSERT_TRUE(thirdStart->WaitForEnd(kHandOffMs));
        EXPECT_EQ(thirdStart->ExitCode(), 0) << thirdStart->Errors().toStdString();
        EXPECT_TRUE(first.WaitForRecentFile(third, kComeUpMs));
        EXPECT_EQ(first.RecentFiles(), (QStringList{third, kPontius, "", ""}));
    }
};

// The channel is keyed by the display and the settings location: another display or another
// profile gets a program of its own, the same ones hand over.
TEST_F(Starts, TwoDisplaysOrTwoProfilesGetTwoPrograms) {
    const QString profile = MakeFolder(dir, "profile");

    RunningProgram first(runtime, profile);
    first.Set("DISPLAY", ":91");
    first.Start({kPontius});
    ASSERT_TRUE(WaitUntil([&] { return SocketCount(runtime) == 1; }, kComeUpMs))
        << first.Errors().toStdString();

    RunningProgram otherDisplay(runtime, profile);
    otherDisplay.Set("DISPLAY", ":92");
    otherDisplay.Start({kExample});
    EXPECT_TRUE(WaitUntil([&] { return SocketCount(runtime) == 2; }, kComeUpMs))
        << otherDisplay.Errors().toStdString();
    EXPECT_TRUE(otherDisplay.Running());

    const QString otherProfile = MakeFolder(dir, "other-profile");
    RunningProgram secondProfile(runtime, otherProfile);
    secondProfile.Set("DISPLAY", ":91");
    secondProfile.Start({kExample});
    EXPECT_TRUE(secondProfile.WaitForRecentFile(kExample, kComeUpMs))
        << secondProfile.Errors().toStdString();
    EXPECT_TRUE(WaitUntil([&] { return SocketCount(runtime) == 3; }, kComeUpMs));

    // The same display, named with its screen, and the same profile: the first program.
    RunningProgram sameAgain(runtime, profile);
    sameAgain.Set("DISPLAY", ":91.0");
    sameAgain.Start({kExample});
    ASSERT_TRUE(sameAgain.WaitForEnd(kHandOffMs));
    EXPECT_EQ(sameAgain.ExitCode(), 0) << sameAgain.Errors().toStdString();
    EXPECT_EQ(SocketCount(runtime), 3);
}

// A stopped program still accepts connections but never answers: the next start gives up on it
// within the bounded wait and opens its file itself, and the stopped program, once it goes on,
// does not open that file as well.
TEST_F(Starts, AStoppedProgramDoesNotHoldUpTheNextStart) {
    auto first = Launch("first", "lumetra-stopped", {kPontius});
    ASSERT_TRUE(first->WaitForRecentFile(kPontius, kComeUpMs)) << first->Errors().toStdString();
    ASSERT_TRUE(WaitUntil([&] { return SocketCount(runtime) == 1; }, kComeUpMs));
    first->Signal(SIGSTOP);

    QElapsedTimer timer;
    timer.start();
    auto second = Launch("second", "lumetra-stopped", {kExample});
    ASSERT_TRUE(second->WaitForRecentFile(kExample, kComeUpMs)) << second->Errors().toStdString();
    std::cout << "[ measured ] the second start opened its file after " << timer.elapsed()
              << " ms\n";
    EXPECT_TRUE(second->Running());
    EXPECT_TRUE(second->Errors().contains(QString::fromStdString(NoAnswerNote()) + "\n"));

    // Going on, the first works through what waited for it, then takes the next start's file.
    first->Signal(SIGCONT);
    ExpectHandedTo(*first, "lumetra-stopped");
}

TEST_F(Starts, NewInstanceStartsItsOwnProgram) {
    auto first = Launch("first", "lumetra-new", {kPontius});
    ASSERT_TRUE(WaitUntil([&] { return SocketCount(runtime) == 1; }, kComeUpMs))
        << first->Errors().toStdString();

    auto second = Launch("second", "lumetra-new", {"--new-instance", kExample});
    EXPECT_TRUE(second->WaitForRecentFile(kExample, kComeUpMs)) << second->Errors().toStdString();
    EXPECT_FALSE(second->Errors().contains("Lumetra:")) << second->Errors().toStdString();

    // The next start still finds the first program, which never saw the other's file.
    ExpectHandedTo(*first, "lumetra-new");
}

// Without a runtime folder from the desktop the program makes one of its own, closed to others,
// in the temporary folder.
TEST_F(Starts, WithoutARuntimeFolderMakesAPrivateOne) {
    const QString temp = MakeFolder(dir, "tmp", 01777);
    RunningProgram program(runtime, MakeFolder(dir, "profile"));
    program.Unset("XDG_RUNTIME_DIR");
    program.Set("TMPDIR", temp);
    program.Start({kPontius});
    const QString own = temp + QString("/lumetra-runtime-%1").arg(::getuid());
    EXPECT_TRUE(WaitUntil([&] { return SocketCount(own) == 1; }, kComeUpMs))
        << program.Errors().toStdString();
    struct stat st {};
    ASSERT_EQ(::lstat(QFile::encodeName(own).constData(), &st), 0);
    EXPECT_TRUE(S_ISDIR(st.st_mode));
    EXPECT_EQ(st.st_mode & 07777, 0700u);
    EXPECT_EQ(st.st_uid, ::getuid());
}

// Offscreen no one can answer a message box: the command line's print reports on the error
// stream and fails instead of waiting for ever.
TEST_F(Starts, PrintWithoutAPrinterOffscreenSaysSoOnTheErrorStream) {
    if (!QPrinterInfo::availablePrinters().isEmpty())
        GTEST_SKIP() << "this machine has a printer";
    RunningProgram print(runtime, MakeFolder(dir, "profile"));
    print.Start({"--print", kPontius});
    ASSERT_TRUE(print.WaitForEnd(kComeUpMs));
    EXPECT_EQ(print.ExitCode(), 1);
    EXPECT_TRUE(print.Errors().contains(
        QString::fromStdString(NoPrinterMessage(kPontius.toStdString())) + "\n"))
        << print.Errors().toStdString();

    const QString missing = QString::fromStdString(dir.Path("missing.dat"));
    RunningProgram printMissing(runtime, MakeFolder(dir, "profile2"));
    printMissing.Start({"--print", missing});
    ASSERT_TRUE(printMissing.WaitForEnd(kComeUpMs));
    EXPECT_EQ(printMissing.ExitCode(), 1);
    EXPECT_TRUE(printMissing.Errors().contains(missing + " was not found.\n"))
        << printMissing.Errors().toStdString();
}

} // namespace
} // namespace lumetra
