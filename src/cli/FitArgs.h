#pragma once

#include "cli/Commands.h"
#include "fit/FitMethod.h"
#include "stats/PredictionTable.h"

#include <optional>
#include <string>
#include <vector>

namespace lumetra::cli {

struct CliDocument;

// The settings fit and import take from their command line.
struct FitArgs {
    std::string file;
    int model = -1; // -1: as stored
    std::string order;
    std::string save;
    std::optional<FitMethod> method;                  // as the settings have it unless asked
    std::optional<std::string> title, xtitle, ytitle; // import only
};

// Reads "--method classic|accurate" at args[i] (moving i past the value); false when it is not.
bool ParseMethodArg(const std::vector<std::string>& args, size_t& i,
                    std::optional<FitMethod>& method);

// The message for a confidence level that is not one (ReadLevel).
inline constexpr const char* kLevelMessage =
    "lumetra-cli: the level must be a number between 0 and 1, such as 0.95\n";

// False for an unknown word or a missing value; titles are taken only when allowed.
bool ParseFitArgs(const std::vector<std::string>& args, bool withTitles, FitArgs& out);

// Puts the settings in as the Curve page takes them, fits as a window does when the sheet closes
// with a change, prints the report and saves when asked. Returns the exit status.
int FitPrintAndSave(CliDocument& file, const FitArgs& fit, Streams io);

} // namespace lumetra::cli
