#include "RunningProgram.h"

#include "app/InstanceChannel.h"
#include "app/InstanceRules.h"

#include <QLocalServer>
#include <QLocalSocket>

#include <gtest/gtest.h>

#include <cstring>

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

namespace lumetra {
namespace {

using test::MakeFolder;
using test::RunningProgram;
using test::WaitUntil;

const QString kPontius = LUMETRA_SOURCE_DIR "/samples/pontius.dat";
constexpr int kComeUpMs = 20000;
constexpr uid_t kNobody = 65534;

// Someone listening on the channel's name who should hear nothing.
struct Squatter {
    explicit Squatter(const QString& path) {
        server.listen(path);
        QObject::connect(&server, &QLocalServer::newConnection, &server, [this] {
            while (QLocalSocket* socket = server.nextPendingConnection()) {
                ++connections;
                QObject::connect(socket, &QLocalSocket::readyRead, socket,
                                 [this, socket] { received += socket->readAll(); });
                QObject::connect(socket, &QLocalSocket::disconnected, socket, [this] { ++closed; });
            }
        });
    }
    QLocalServer server;
    int connections = 0;
    int closed = 0;
    QByteArray received;
};

// A start with a file whose channel cannot be trusted opens the file itself and says why on the
// error stream; the squatter hears nothing.
void ExpectStartsOnItsOwn(const test::TempDir& dir, const QString& runtime, const QString& note,
                          const Squatter* squatter) {
    RunningProgram program(runtime, MakeFolder(dir, "profile"));
    program.Set("LUMETRA_INSTANCE", "lumetra-squat");
    program.Start({kPontius});
    EXPECT_TRUE(program.WaitForRecentFile(kPontius, kComeUpMs)) << program.Errors().toStdString();
    EXPECT_TRUE(program.Running());
    EXPECT_TRUE(program.Errors().contains(note + "\n")) << program.Errors().toStdString();
    if (squatter) {
        EXPECT_EQ(squatter->connections, 0);
        EXPECT_EQ(squatter->received, "");
    }
}

// A squatter listens on the channel in `runtime`, which the start must refuse for `trust`.
void ExpectFolderRefused(const test::TempDir& dir, const QString& runtime, FolderTrust trust) {
    Squatter squatter(runtime + "/lumetra-squat");
    ExpectStartsOnItsOwn(dir, runtime,
                         QString::fromStdString(FolderRefusal(trust, runtime.toStdString())),
                         &squatter);
}

TEST(ChannelTrust, AFolderOthersCanEnterIsRefused) {
    for (unsigned mode : {0755u, 0770u, 0701u}) {
        SCOPED_TRACE(mode);
        test::TempDir dir;
        ExpectFolderRefused(dir, MakeFolder(dir, "run", mode), FolderTrust::OpenToOthers);
    }
}

TEST(ChannelTrust, ALinkInPlaceOfTheFolderIsRefused) {
    test::TempDir dir;
    const QString target = MakeFolder(dir, "elsewhere");
    const QString runtime = QString::fromStdString(dir.Path("run"));
    ASSERT_EQ(::symlink(target.toLocal8Bit().constData(), runtime.toLocal8Bit().constData()), 0);
    ExpectFolderRefused(dir, runtime, FolderTrust::NotAFolder);
}

TEST(ChannelTrust, AFolderOfAnotherUserIsRefused) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "only root can give a folder to another user here";
    test::TempDir dir;
    const QString runtime = MakeFolder(dir, "run");
    ASSERT_EQ(::chown(runtime.toLocal8Bit().constData(), kNobody, kNobody), 0);
    ExpectFolderRefused(dir, runtime, FolderTrust::ForeignOwner);
}

TEST(ChannelTrust, ANameThatLeavesTheFolderIsRefused) {
    test::TempDir dir;
    const QString runtime = MakeFolder(dir, "run");
    RunningProgram program(runtime, MakeFolder(dir, "profile"));
    program.Set("LUMETRA_INSTANCE", "../elsewhere");
    program.Start({kPontius});
    EXPECT_TRUE(program.WaitForRecentFile(kPontius, kComeUpMs));
    EXPECT_TRUE(program.Errors().contains(
        QString::fromStdString(BadInstanceNameNote("../elsewhere")) + "\n"));
}

// The peer check with a stand-in user id: each end expects a user this process is not.
TEST(ChannelTrust, TheRunningProgramIgnoresAStartOfAnotherUser) {
    test::TempDir dir;
    const QString runtime = MakeFolder(dir, "run");
    CInstanceChannel channel(runtime + "/lumetra-squat", ::getuid() + 1);
    ASSERT_TRUE(channel.Listen());
    int received = 0;
    QObject::connect(&channel, &CInstanceChannel::filesReceived, &channel,
                     [&received](const QStringList&) { ++received; });
    ExpectStartsOnItsOwn(dir, runtime, QString::fromStdString(NoAnswerNote()), nullptr);
    EXPECT_EQ(received, 0);
}

TEST(ChannelTrust, AStartSendsNothingToAProgramOfAnotherUser) {
    test::TempDir dir;
    const QString runtime = MakeFolder(dir, "run");
    Squatter squatter(runtime + "/lumetra-squat");
    CInstanceChannel channel(runtime + "/lumetra-squat", ::getuid() + 1);
    EXPECT_EQ(channel.SendToRunning({"/home/ann/project-secret.dat"}),
              CInstanceChannel::Handoff::Foreign);
    // Whatever was sent is read before the end of the connection is seen.
    EXPECT_TRUE(WaitUntil([&] { return squatter.closed == 1; }, 5000));
    EXPECT_EQ(squatter.connections, 1);
    EXPECT_EQ(squatter.received, "");
}

// A real second user: a child binds the channel's name in the user's own folder while it is
// still root, becomes nobody and listens, so the channel's far end is nobody. It reports how
// many bytes it was sent.
class ForeignListener {
public:
    explicit ForeignListener(const QString& path) {
        const QByteArray name = QFile::encodeName(path);
        if (::pipe(m_ready) != 0 || ::pipe(m_stop) != 0)
            return;
        m_pid = ::fork();
        if (m_pid == 0)
            Serve(name.constData());
        ::close(m_ready[1]);
        ::close(m_stop[0]);
    }
    ~ForeignListener() {
        if (m_pid > 0) {
            ::kill(m_pid, SIGKILL);
            ::waitpid(m_pid, nullptr, 0);
        }
    }
    // True once the child listens as nobody.
    bool Ready() { return Result() == 0; }
    // Ends the child; the bytes it was sent.
    long Stop() {
        (void)!::write(m_stop[1], "x", 1);
        const long received = Result();
        ::waitpid(m_pid, nullptr, 0);
        m_pid = -1;
        return received;
    }

private:
    long Result() {
        long value = -1;
        return ::read(m_ready[0], &value, sizeof value) == sizeof value ? value : -1;
    }
    [[noreturn]] void Serve(const char* path) {
        auto report = [this](long value) { (void)!::write(m_ready[1], &value, sizeof value); };
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un addr{};
        addr.sun_family = AF_UNIX;
        std::strncpy(addr.sun_path, path, sizeof addr.sun_path - 1);
        if (::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
            ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0 || ::listen(fd, 8) != 0) {
            report(-1);
            ::_exit(1);
        }
        report(0);
        long received = 0;
        pollfd fds[2] = {{fd, POLLIN, 0}, {m_stop[0], POLLIN, 0}};
        while (::poll(fds, 2, -1) > 0 && !(fds[1].revents & POLLIN)) {
            const int client = ::accept(fd, nullptr, nullptr);
            pollfd in{client, POLLIN, 0};
            char buffer[4096];
            ssize_t n = 0;
            while (::poll(&in, 1, 2000) > 0 && (n = ::read(client, buffer, sizeof buffer)) > 0)
                received += n;
            ::close(client);
        }
        report(received);
        ::_exit(0);
    }

    pid_t m_pid = -1;
    int m_ready[2] = {-1, -1};
    int m_stop[2] = {-1, -1};
};

TEST(ChannelTrust, AStartSendsNothingToARealOtherUser) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "only root can play a second user here";
    test::TempDir dir;
    const QString runtime = MakeFolder(dir, "run");
    const QString path = runtime + "/lumetra-squat";
    ForeignListener nobody(path);
    ASSERT_TRUE(nobody.Ready());
    ExpectStartsOnItsOwn(dir, runtime,
                         QString::fromStdString(ForeignChannelNote(path.toStdString())), nullptr);
    EXPECT_EQ(nobody.Stop(), 0);
}

} // namespace
} // namespace lumetra
