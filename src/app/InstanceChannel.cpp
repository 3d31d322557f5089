#include "app/InstanceChannel.h"

#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>

#include <unistd.h>

namespace lumetra {
namespace {

constexpr int kWaitMs = 2000;

} // namespace

QString CInstanceChannel::DefaultName() {
    const QString named = qEnvironmentVariable("LUMETRA_INSTANCE");
    return named.isEmpty() ? QString("lumetra-%1").arg(::getuid()) : named;
}

CInstanceChannel::CInstanceChannel(QString name, QObject* parent)
    : QObject(parent), m_name(std::move(name)) {}

bool CInstanceChannel::SendToRunning(const QStringList& files) const {
    QLocalSocket socket;
    socket.connectToServer(m_name);
    if (!socket.waitForConnected(kWaitMs))
        return false;
    QStringList paths;
    for (const QString& file : files)
        paths << QFileInfo(file).absoluteFilePath();
    // One path a line, an empty line at the end; the answer "ok" says the files were taken.
    socket.write((paths.join('\n') + "\n\n").toUtf8());
    if (!socket.waitForBytesWritten(kWaitMs))
        return false;
    while (socket.bytesAvailable() < 2)
        if (!socket.waitForReadyRead(kWaitMs))
            return false;
    return socket.readAll().startsWith("ok");
}

bool CInstanceChannel::Listen() {
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, &CInstanceChannel::Accept);
    if (m_server->listen(m_name))
        return true;
    QLocalServer::removeServer(m_name); // nobody answered on it: left by an earlier run
    return m_server->listen(m_name);
}

void CInstanceChannel::Accept() {
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (!socket->property("request").isValid())
                socket->setProperty("request", QByteArray());
            QByteArray request = socket->property("request").toByteArray() + socket->readAll();
            socket->setProperty("request", request);
            if (!request.endsWith("\n\n"))
                return;
            socket->write("ok");
            socket->flush();
            QStringList files;
            for (const QString& line : QString::fromUtf8(request).split('\n', Qt::SkipEmptyParts))
                files << line;
            emit filesReceived(files);
        });
    }
}

} // namespace lumetra
