#pragma once

#include "fit/OrderTable.h"

#include <string>
#include <vector>

namespace lumetra {

class CLumetraDoc;

// The order table of the document's pairs, model and weighting, or why there is none (a model
// without an order, values the fitted scale refuses, weights that cannot be had).
OrderTable DocumentOrderTable(const CLumetraDoc& doc);

// The Statistics window's "Orders" section (and `lumetra-cli orders`): two tables of fixed-width
// columns with the best order by each criterion marked, what limits the orders, and one sentence
// of advice; the failure in words when there is no table.
std::vector<std::string> OrdersLines(const CLumetraDoc& doc, const OrderTable& table);
// The sentence of advice alone.
std::string OrderAdvice(const OrderTable& table);
// The table as one JSON object; a statistic without a finite value (AIC of zero residuals) is null.
std::string OrdersJson(const CLumetraDoc& doc, const OrderTable& table);

} // namespace lumetra
