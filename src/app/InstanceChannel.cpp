#include "app/InstanceChannel.h"

#include "app/InstanceRules.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>

#include <memory>
#include <optional>

#include <sys/socket.h>
#include <sys/stat.h>

namespace lumetra {
namespace {

// A running Lumetra answers from its event loop at once; one that takes longer is stopped or
// hung, and the start goes on without it.
constexpr int kConnectMs = 300;
constexpr int kAnswerMs = 500;

// The request: each path, then a NUL (no path holds one); a second NUL ends the list. The
// running program answers "ok\n" and opens the files only after the start's "go\n", so a start
// that gave up waiting never has its files opened twice.
const QByteArray kEnd("\0\0", 2);
const QByteArray kOk("ok\n");
const QByteArray kGo("go\n");

std::optional<uid_t> PeerUid(qintptr descriptor) {
    ucred cred{};
    socklen_t size = sizeof cred;
    if (descriptor < 0 || ::getsockopt(int(descriptor), SOL_SOCKET, SO_PEERCRED, &cred, &size) != 0)
        return std::nullopt;
    return cred.uid;
}

FolderFacts Inspect(const QString& folder) {
    struct stat st {};
    if (::lstat(QFile::encodeName(folder).constData(), &st) != 0)
        return {};
    return {true, S_ISDIR(st.st_mode), unsigned(st.st_uid), unsigned(st.st_mode & 07777)};
}

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

// Reads until `expected` came whole; false when the time ran out or the peer went away.
bool ReadExactly(QLocalSocket& socket, const QByteArray& expected, QDeadlineTimer deadline) {
    QByteArray answer;
    while (answer.size() < expected.size()) {
        if (!socket.bytesAvailable() && !socket.waitForReadyRead(int(deadline.remainingTime())))
            return false;
        answer += socket.read(expected.size() - answer.size());
    }
    return answer == expected;
}

} // namespace

CInstanceChannel::Place CInstanceChannel::FindPlace(const QString& settingsLocation) {
    const uid_t uid = ::getuid();
    QString folder = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (folder.isEmpty()) {
        folder = Text(FallbackChannelFolder(QDir::tempPath().toStdString(), uid));
        // Fails when it is there already; whoever made it, the check below decides.
        ::mkdir(QFile::encodeName(folder).constData(), 0700);
    }
    const FolderTrust trust = CheckChannelFolder(folder.toStdString(), Inspect(folder), uid);
    if (trust != FolderTrust::Private)
        return {{}, Text(FolderRefusal(trust, folder.toStdString()))};
    QString name = qEnvironmentVariable("LUMETRA_INSTANCE");
    if (name.isEmpty())
        name = Text(ChannelName(qEnvironmentVariable("WAYLAND_DISPLAY").toStdString(),
                                qEnvironmentVariable("DISPLAY").toStdString(),
                                settingsLocation.toStdString()));
    else if (!IsPlainChannelName(name.toStdString()))
        return {{}, Text(BadInstanceNameNote(name.toStdString()))};
    return {folder + '/' + name, {}};
}

CInstanceChannel::CInstanceChannel(QString path, uid_t peerUid, QObject* parent)
    : QObject(parent), m_path(std::move(path)), m_peerUid(peerUid) {}

CInstanceChannel::Handoff CInstanceChannel::SendToRunning(const QStringList& files) const {
    QLocalSocket socket;
    socket.connectToServer(m_path);
    if (!socket.waitForConnected(kConnectMs)) {
        const auto error = socket.error();
        return error == QLocalSocket::ServerNotFoundError ||
                       error == QLocalSocket::ConnectionRefusedError
                   ? Handoff::NoneRunning
                   : Handoff::NoAnswer;
    }
    if (PeerUid(socket.socketDescriptor()) != m_peerUid)
        return Handoff::Foreign;
    QByteArray request;
    for (const QString& file : files)
        request += QFile::encodeName(QFileInfo(file).absoluteFilePath()) + '\0';
    request += '\0';
    const QDeadlineTimer deadline(kAnswerMs);
    socket.write(request);
    if (!socket.waitForBytesWritten(int(deadline.remainingTime())) ||
        !ReadExactly(socket, kOk, deadline))
        return Handoff::NoAnswer;
    socket.write(kGo);
    if (!socket.waitForBytesWritten(kAnswerMs))
        return Handoff::NoAnswer;
    socket.disconnectFromServer();
    return Handoff::Taken;
}

bool CInstanceChannel::Listen() {
    // No socket options: with them the toolkit binds elsewhere and renames the socket into
    // place, over a channel another program answers on. The private folder keeps others out.
    m_server = new QLocalServer(this);
    connect(m_server, &QLocalServer::newConnection, this, &CInstanceChannel::Accept);
    if (m_server->listen(m_path))
        return true;
    QLocalSocket probe;
    probe.connectToServer(m_path);
    if (probe.waitForConnected(kConnectMs))
        return false;                   // another program has it
    QLocalServer::removeServer(m_path); // nobody answered on it: left by an earlier run
    return m_server->listen(m_path);
}

void CInstanceChannel::Accept() {
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        if (PeerUid(socket->socketDescriptor()) != m_peerUid) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        struct Request {
            QByteArray bytes;
            QStringList files;
            bool answered = false;
        };
        auto request = std::make_shared<Request>();
        connect(socket, &QLocalSocket::readyRead, this, [this, socket, request] {
            request->bytes += socket->readAll();
            if (!request->answered) {
                if (!request->bytes.endsWith(kEnd))
                    return;
                request->bytes.chop(kEnd.size());
                for (const QByteArray& path : request->bytes.split('\0'))
                    request->files << QFile::decodeName(path);
                request->bytes.clear();
                request->answered = true;
                socket->write(kOk);
                socket->flush();
                return;
            }
            if (request->bytes != kGo)
                return;
            // Opening reads the files, and reading lets events in: it must not run inside
            // this socket's own handler, which the socket's end would pull from under it.
            const QStringList files = request->files;
            QMetaObject::invokeMethod(
                this, [this, files] { emit filesReceived(files); }, Qt::QueuedConnection);
            socket->disconnectFromServer();
        });
    }
}

} // namespace lumetra
