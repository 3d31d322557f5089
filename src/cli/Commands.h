#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace lumetra {
class CLumetraDoc;
}

namespace lumetra::cli {

// Exit statuses of lumetra-cli.
inline constexpr int kOk = 0;
inline constexpr int kFailed =
    1; // the file was refused or the work failed; the message is on stderr
inline constexpr int kUsage = 2;

struct Streams {
    std::ostream& out;
    std::ostream& err;
};

// Each command takes the words after its name.
int RunCheck(const std::vector<std::string>& args, Streams io);
int RunReport(const std::vector<std::string>& args, Streams io);
int RunFit(const std::vector<std::string>& args, Streams io);
int RunCompute(const std::vector<std::string>& args, Streams io);
int RunImport(const std::vector<std::string>& args, Streams io);
int RunPlot(const std::vector<std::string>& args, Streams io);
int RunStats(const std::vector<std::string>& args, Streams io);
int RunExport(const std::vector<std::string>& args, Streams io);
int RunPredict(const std::vector<std::string>& args, Streams io);
int RunCalibrate(const std::vector<std::string>& args, Streams io);

// The report's lines, one output line each, TABs kept.
void PrintReportLines(const CLumetraDoc& doc, std::ostream& out);

} // namespace lumetra::cli
