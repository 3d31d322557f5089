#pragma once

#include <array>
#include <optional>
#include <string_view>

namespace lumetra {

// How the pairs of a fit are weighted. Sigma takes w = 1/σ² from each pair's own standard
// deviation; the reciprocal schemes weigh by the measured units, as calibration laboratories do;
// Replicates takes 1/s² of the readings that share an X.
enum class WeightScheme { None, Sigma, InverseX, InverseX2, InverseY, InverseY2, Replicates };

// The "Preferences" entries that remember the user's choice for new data sets.
inline constexpr const char* kWeightsEntry = "Weights";
inline constexpr const char* kSigmaAbsoluteEntry = "SigmaAbsolute";

// The word for each scheme on the command line, in the settings and on the data file's settings
// line, in the order of the enum.
inline constexpr std::array<std::string_view, 7> kWeightSchemeWords = {
    "none", "sigma", "1/x", "1/x2", "1/y", "1/y2", "replicates"};

constexpr std::string_view WeightSchemeWord(WeightScheme scheme) {
    return kWeightSchemeWords[size_t(scheme)];
}

constexpr std::optional<WeightScheme> WeightSchemeFromWord(std::string_view word) {
    for (size_t i = 0; i < kWeightSchemeWords.size(); ++i)
        if (kWeightSchemeWords[i] == word)
            return WeightScheme(i);
    return std::nullopt;
}

} // namespace lumetra
