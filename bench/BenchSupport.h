#pragma once

#include "platform/Ui.h"

#include <fcntl.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace lumetra::bench {

// A Ui that shows nothing: benchmarks measure the work, not the messages.
class SilentUi : public Ui {
public:
    Answer MessageBox(const std::string&, Buttons, Icon) override { return Answer::Ok; }
    void SetStatusText(int, const std::string&) override {}
    void PumpMessages() override {}
    void BeginWaitCursor() override {}
    void EndWaitCursor() override {}
    FileChoice ChooseFile(const FileRequest&) override { return {}; }
};

// The peak resident memory of a child process running the given command, in bytes; its
// output is thrown away.
// A forked child starts its peak from this process's present size (small between benchmarks),
// where a vfork-style spawn would inherit this process's own peak.
inline double ChildPeakBytes(std::vector<std::string> argv) {
    std::vector<char*> args;
    for (std::string& a : argv)
        args.push_back(a.data());
    args.push_back(nullptr);
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int devNull = ::open("/dev/null", O_WRONLY);
        ::dup2(devNull, 1);
        ::dup2(devNull, 2);
        ::execv(args[0], args.data());
        ::_exit(127);
    }
    int status = 0;
    struct rusage usage {};
    ::wait4(pid, &status, 0, &usage);
    return double(usage.ru_maxrss) * 1024.0;
}

} // namespace lumetra::bench
