#pragma once

#include <cstddef>
#include <functional>
#include <span>

namespace lumetra {

class CLumetraDoc;
class DocumentBackup;

// Options > Data: the document's modified flag records, while the sheet is open, whether
// anything was changed in it. After OK with a change the pairs are counted, the formats rebuilt
// and every view told (hint 1, a refit); after OK without one the flag goes back to what it was.
// Cancel puts the whole data set back as the sheet found it, the flag too. runSheet shows the
// sheet (its Data page keeps the pairs in the backup before it changes them) and returns true
// for OK. Returns whether the views were told.
// A change kept is a step of the document's history, named by its last paste or import.
bool RunOptionsData(CLumetraDoc& doc, const std::function<bool(DocumentBackup&)>& runSheet,
                    const std::function<void()>& notifyViews);

// Edit > Undo (redo false) and Edit > Redo: the document one step back or forward in its
// history, every view told as after OK with a change. False when there was no step to take.
bool StepHistory(CLumetraDoc& doc, bool redo, const std::function<void()>& notifyViews);

inline constexpr const char* kExcludeChange = "Exclude from Fit";
inline constexpr const char* kIncludeChange = "Include in Fit";

// The Influence page's Exclude from Fit (exclude true) and Include in Fit on the pairs at these
// indexes: a change of the pairs as after OK of Options > Data, one step of the history, every
// view told and the document modified. False, changing nothing, when no pair's mark would
// change, while the document is busy, or without memory for the step.
bool SetPairsExcluded(CLumetraDoc& doc, std::span<const size_t> pairs, bool exclude,
                      const std::function<void()>& notifyViews);

} // namespace lumetra
