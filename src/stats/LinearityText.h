#pragma once

#include "fit/LackOfFit.h"

#include <nlohmann/json.hpp>

#include <optional>
#include <string>
#include <vector>

namespace lumetra {

class CLumetraDoc;

// The lack-of-fit test of the document's fit, and Mandel's test where the fit is a straight line
// in its fitted scale; none when the fit has no statistics (the statistics say why).
struct Linearity {
    std::optional<LackOfFitTest> lackOfFit;
    std::optional<MandelTest> mandel;
    std::string scaleNote; // where the tests are made, for the models fitted in a transformed scale
    std::string inputName; // "X", or "Y" for X=Ae^BY
};
Linearity DocumentLinearity(const CLumetraDoc& doc);

// The Statistics window's "Lack of fit and linearity" lines (with `lumetra-cli stats`), closed by
// the rule; none without a test.
std::vector<std::string> LinearityLines(const Linearity& linearity);
// The same as the "linearity" member of the statistics' JSON; null without a test.
nlohmann::ordered_json LinearityJson(const Linearity& linearity);

} // namespace lumetra
