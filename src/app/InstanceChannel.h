#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <sys/types.h>
#include <unistd.h>

class QLocalServer;

namespace lumetra {

// One Lumetra per user, display and settings location: a second start hands its files to the
// running one, which opens them as the desktop's open request does, and ends. The channel is a
// local socket in the user's private runtime folder, and each end makes sure the other is the
// same user before a file name crosses it.
class CInstanceChannel : public QObject {
    Q_OBJECT
public:
    // Where this start's channel is: XDG_RUNTIME_DIR, or a folder of the user's own in the
    // temporary folder when there is none; the name comes from the display and the settings
    // location, or from LUMETRA_INSTANCE (a plain name in the same folder) so that test runs stay
    // apart. An empty path when the folder cannot be trusted, with the reason in `refusal`.
    struct Place {
        QString path;
        QString refusal;
    };
    static Place FindPlace(const QString& settingsLocation);

    // `peerUid`: the user the other end must be.
    explicit CInstanceChannel(QString path, uid_t peerUid = ::getuid(), QObject* parent = nullptr);
    const QString& Path() const { return m_path; }

    enum class Handoff {
        Taken,       // a running Lumetra took the files
        NoneRunning, // nothing listens on the channel
        NoAnswer,    // something listens but did not take them in time (stopped, hung)
        Foreign,     // another user listens there: nothing was sent
    };
    // Sends the files' absolute paths; every wait is bounded, well under a second in all.
    Handoff SendToRunning(const QStringList& files) const;
    // Starts answering later starts; a channel left behind by a run that ended is taken over,
    // one that answers is left to its program.
    bool Listen();

signals:
    void filesReceived(const QStringList& files);

private:
    void Accept();

    QString m_path;
    uid_t m_peerUid;
    QLocalServer* m_server = nullptr;
};

} // namespace lumetra
