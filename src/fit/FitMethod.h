#pragma once

#include <optional>
#include <string_view>

namespace lumetra {

// How the least-squares problem of a fit is solved. Classic: the normal equations with
// Gauss-Jordan elimination, the program's procedure of old, bit for bit. Accurate: Householder QR
// with column pivoting of the scaled design matrix in extended precision.
enum class FitMethod { Classic, Accurate };

// The "Preferences" entry that remembers the user's choice.
inline constexpr const char* kFitMethodEntry = "FitMethod";

// The word for it on the command line ("classic", "accurate") and in the settings.
constexpr std::string_view FitMethodWord(FitMethod method) {
    return method == FitMethod::Accurate ? "accurate" : "classic";
}

constexpr std::optional<FitMethod> FitMethodFromWord(std::string_view word) {
    if (word == "classic")
        return FitMethod::Classic;
    if (word == "accurate")
        return FitMethod::Accurate;
    return std::nullopt;
}

} // namespace lumetra
