#pragma once

#include "platform/Ui.h"

#include <fstream>
#include <string>

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

// Resident memory figures of this process in bytes, from /proc/self/status ("VmHWM", "VmRSS").
inline double ProcStatusBytes(const std::string& key) {
    std::ifstream in("/proc/self/status");
    std::string name;
    while (in >> name) {
        if (name == key + ":") {
            double kb = 0;
            in >> kb;
            return kb * 1024.0;
        }
        std::getline(in, name);
    }
    return 0;
}

// Lets the next VmHWM reading start from the present resident size.
inline void ResetPeakMemory() { std::ofstream("/proc/self/clear_refs") << "5"; }

} // namespace lumetra::bench
