#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>

#include "support/TempDir.h"

#include <functional>

#include <signal.h>
#include <sys/stat.h>

namespace lumetra::test {

// Waits for `done` while this process goes on answering its own events; false when the time ran
// out first.
inline bool WaitUntil(const std::function<bool()>& done, int ms) {
    QDeadlineTimer deadline(ms);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

// A folder `name` in `dir` with the permission bits `mode` (0700: the user's alone).
inline QString MakeFolder(const TempDir& dir, const char* name, unsigned mode = 0700) {
    const std::string path = dir.Path(name);
    ::mkdir(path.c_str(), 0700);
    ::chmod(path.c_str(), mode);
    return QString::fromStdString(path);
}

// How many sockets, listening or left behind, `folder` holds.
inline int SocketCount(const QString& folder) {
    int count = 0;
    for (const QString& name : QDir(folder).entryList(QDir::System | QDir::Hidden)) {
        struct stat st {};
        if (::lstat(QFile::encodeName(folder + '/' + name).constData(), &st) == 0 &&
            S_ISSOCK(st.st_mode))
            ++count;
    }
    return count;
}

// The recent-file list in the settings that `configDir` holds, as the file is now. Read as text:
// the toolkit's settings reader may keep an older copy of a file that changed within the same
// moment.
inline QStringList RecentFiles(const QString& configDir) {
    QStringList files(4);
    QFile file(configDir + "/Vandrel Enterprises/Lumetra.conf");
    if (!file.open(QIODevice::ReadOnly))
        return files;
    bool inSection = false;
    for (const QString& line : QString::fromUtf8(file.readAll()).split('\n')) {
        if (line.startsWith('['))
            inSection = line == "[Recent%20File%20List]";
        for (int i = 0; i < 4 && inSection; ++i)
            if (line.startsWith(QString("File%1=").arg(i + 1)))
                files[i] = line.mid(6);
    }
    return files;
}

// The real lumetra program, offscreen, with the runtime and settings folders a test gives it.
class RunningProgram {
public:
    RunningProgram(const QString& runtimeDir, const QString& configDir) : m_configDir(configDir) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("XDG_RUNTIME_DIR", runtimeDir);
        env.insert("XDG_CONFIG_HOME", configDir);
        env.remove("LUMETRA_INSTANCE");
        env.remove("WAYLAND_DISPLAY");
        env.insert("DISPLAY", ":41");
        m_process.setProcessEnvironment(env);
    }
    ~RunningProgram() {
        if (m_process.state() == QProcess::NotRunning)
            return;
        ::kill(pid_t(m_process.processId()), SIGCONT);
        m_process.kill();
        m_process.waitForFinished();
    }
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;

    void Set(const QString& name, const QString& value) {
        QProcessEnvironment env = m_process.processEnvironment();
        env.insert(name, value);
        m_process.setProcessEnvironment(env);
    }
    void Unset(const QString& name) {
        QProcessEnvironment env = m_process.processEnvironment();
        env.remove(name);
        m_process.setProcessEnvironment(env);
    }
    void Start(const QStringList& arguments) { m_process.start(LUMETRA_APP, arguments); }

    bool Running() const { return m_process.state() != QProcess::NotRunning; }
    bool WaitForEnd(int ms) {
        return WaitUntil([this] { return !Running(); }, ms);
    }
    int ExitCode() const {
        return m_process.exitStatus() == QProcess::NormalExit ? m_process.exitCode() : -1;
    }
    QString Errors() {
        m_errors += QString::fromUtf8(m_process.readAllStandardError());
        return m_errors;
    }
    void Signal(int signal) const { ::kill(pid_t(m_process.processId()), signal); }

    QStringList RecentFiles() const { return test::RecentFiles(m_configDir); }
    QString RecentFile() const { return RecentFiles().front(); }
    // True once the program opened `path` itself (it notes every file it opens); false when
    // it ended or the time ran out first.
    bool WaitForRecentFile(const QString& path, int ms) const {
        return WaitUntil([&] { return RecentFile() == path || !Running(); }, ms) &&
               RecentFile() == path;
    }

private:
    QString m_configDir;
    QProcess m_process;
    QString m_errors;
};

} // namespace lumetra::test
