#pragma once

#include "data/DocumentBackup.h"

#include <cstddef>
#include <string>
#include <vector>

namespace lumetra {

class CLumetraDoc;
class Ui;

inline constexpr size_t kHistoryByteLimit = size_t(100) << 20;
inline constexpr const char* kHistoryDroppedMessage =
    "Not enough memory to keep this change for Undo!\n"
    "The change is made; the earlier steps of Undo and Redo are dropped.";

// Edit > Undo and Redo of one document: each change the Options sheet kept is a step holding
// the document as it was before. Undo and Redo swap the document with the step, so a step always
// holds the other side of its change and neither needs a copy of the pairs. The steps together
// stay under a byte limit, the oldest going first.
class DocumentHistory {
public:
    // A change was made: `before` holds the document as it was. The steps to redo go. When the
    // step cannot be stored, the history is dropped after a message; the change stays.
    void Record(DocumentBackup before, Ui& ui);
    bool CanUndo() const { return m_nDone > 0; }
    bool CanRedo() const { return m_nDone < m_steps.size(); }
    // What the next Undo or Redo would take back or make again: "Paste", "Import", "Options".
    const std::string& UndoName() const;
    const std::string& RedoName() const;
    // Puts the document back to the state before the last step, or forward again; the
    // modified flag says whether it differs from the file last read or saved.
    void Undo(CLumetraDoc& doc);
    void Redo(CLumetraDoc& doc);

    // The document now matches its file.
    void MarkSaved() { m_nSaved = m_nCurrent; }
    void Clear();
    // Another byte limit, kept at once.
    void SetByteLimit(size_t bytes);
    size_t Bytes() const;
    size_t Steps() const { return m_steps.size(); }

private:
    struct Step {
        DocumentBackup state; // the other side of the change
        long long id;         // which state of the document that is
        std::string name;
    };
    static size_t StepBytes(const Step& step);
    void Swap(Step& step, CLumetraDoc& doc);
    void KeepUnderLimit();

    size_t m_nByteLimit = kHistoryByteLimit;
    std::vector<Step> m_steps;
    size_t m_nDone = 0; // the steps before this one can be undone, the others redone
    long long m_nCurrent = 0;
    long long m_nLastId = 0;
    long long m_nSaved = 0; // -1: no state in the history matches the file
};

} // namespace lumetra
