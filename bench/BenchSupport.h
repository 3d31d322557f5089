#pragma once

#include "data/LumetraDoc.h"
#include "platform/Ui.h"

#include <fcntl.h>
#include <random>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace lumetra::bench {

// Pairs about Y = 1 + X² with X from 0.5 to 2 and 1 % noise, the same in every run: the fit
// benchmarks' data.
inline std::vector<CXYdata> NoisyParabola(int pairs) {
    std::mt19937_64 rng(1);
    std::uniform_real_distribution<double> x(0.5, 2.0), noise(0.99, 1.01);
    std::vector<CXYdata> out(static_cast<size_t>(pairs));
    for (CXYdata& p : out) {
        p.m_dX = x(rng);
        p.m_dY = (1.0 + p.m_dX * p.m_dX) * noise(rng);
    }
    return out;
}

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

// A data set of `pairs` pairs around y = x²/2 with noise, as a fitted order-3 document holds them.
inline void FillRandomDocument(CLumetraDoc& doc, int pairs) {
    doc.OnNewDocument();
    doc.m_strDataTitle = "Benchmark";
    doc.m_nOrder = 3;
    std::mt19937_64 rng(42);
    std::uniform_real_distribution<double> x(-1000.0, 1000.0), noise(-1.0, 1.0);
    doc.m_pPairs.resize(size_t(pairs));
    for (CXYdata& p : doc.m_pPairs) {
        p.m_dX = x(rng);
        p.m_dY = 0.5 * p.m_dX * p.m_dX + noise(rng);
        p.m_dComputed = 0.5 * p.m_dX * p.m_dX;
        p.m_dDifference = p.m_dY - p.m_dComputed;
    }
    doc.m_nPairs = pairs;
}

} // namespace lumetra::bench
