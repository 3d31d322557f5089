#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

class QLocalServer;

namespace lumetra {

// One Lumetra per user: a second start hands its files to the running one, which opens them as
// the desktop's open request does, and ends.
class CInstanceChannel : public QObject {
    Q_OBJECT
public:
    // The user's channel; LUMETRA_INSTANCE names another, so that test runs stay apart.
    static QString DefaultName();

    explicit CInstanceChannel(QString name, QObject* parent = nullptr);

    // True when a running Lumetra took the files (absolute paths are sent).
    bool SendToRunning(const QStringList& files) const;
    // Starts answering later starts; a channel left behind by a crashed run is taken over.
    bool Listen();

signals:
    void filesReceived(const QStringList& files);

private:
    void Accept();

    QString m_name;
    QLocalServer* m_server = nullptr;
};

} // namespace lumetra
