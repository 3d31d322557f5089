#pragma once

#include "fit/FitStatistics.h"

#include <nlohmann/json.hpp>

#include <cmath>

namespace lumetra {

// A statistic as JSON: null where it has no value or none a reader could parse (±inf, NaN).
inline nlohmann::ordered_json JsonNumber(const Statistic& value) {
    return value && std::isfinite(*value) ? nlohmann::ordered_json(*value)
                                          : nlohmann::ordered_json(nullptr);
}

} // namespace lumetra
