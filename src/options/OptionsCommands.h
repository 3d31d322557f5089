#pragma once

#include <functional>

namespace lumetra {

class CLumetraDoc;

// Options > Data: the document's modified flag records, while the sheet is open, whether
// anything was changed in it. After OK with a change the pairs are counted, the formats rebuilt
// and every view told (hint 1, a refit); otherwise the flag goes back to what it was.
// runSheet shows the sheet and returns true for OK. Returns whether the views were told.
bool RunOptionsData(CLumetraDoc& doc, const std::function<bool()>& runSheet,
                    const std::function<void()>& notifyViews);

} // namespace lumetra
