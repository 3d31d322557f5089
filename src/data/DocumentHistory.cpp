#include "data/DocumentHistory.h"

#include "data/LumetraDoc.h"
#include "platform/Ui.h"

#include <new>
#include <utility>

namespace lumetra {
namespace {

const std::string kNoName;

} // namespace

void DocumentHistory::Record(DocumentBackup before, Ui& ui) {
    // Changed beside the history (as a read that had to mend a field), the document matched its
    // file in none of the states the history holds.
    if (before.IsModified() && m_nSaved == m_nCurrent)
        m_nSaved = -1;
    m_steps.erase(m_steps.begin() + std::ptrdiff_t(m_nDone), m_steps.end());
    std::string name = before.m_strChange.empty() ? "Options" : before.m_strChange;
    const long long id = m_nCurrent;
    m_nCurrent = ++m_nLastId;
    try {
        m_steps.push_back({std::move(before), id, std::move(name)});
    } catch (const std::bad_alloc&) {
        Clear();
        ui.MessageBox(kHistoryDroppedMessage);
        return;
    }
    m_nDone = m_steps.size();
    KeepUnderLimit();
}

// The oldest steps to undo go first, then the steps to redo from the last: what is left still
// leads from the document's state, step by step.
void DocumentHistory::KeepUnderLimit() {
    size_t bytes = Bytes();
    size_t oldest = 0;
    while (oldest < m_nDone && bytes > m_nByteLimit)
        bytes -= StepBytes(m_steps[oldest++]);
    m_steps.erase(m_steps.begin(), m_steps.begin() + std::ptrdiff_t(oldest));
    m_nDone -= oldest;
    while (m_steps.size() > m_nDone && bytes > m_nByteLimit) {
        bytes -= StepBytes(m_steps.back());
        m_steps.pop_back();
    }
}

const std::string& DocumentHistory::UndoName() const {
    return CanUndo() ? m_steps[m_nDone - 1].name : kNoName;
}

const std::string& DocumentHistory::RedoName() const {
    return CanRedo() ? m_steps[m_nDone].name : kNoName;
}

void DocumentHistory::Swap(Step& step, CLumetraDoc& doc) {
    DocumentBackup current(doc);
    if (step.state.HoldsPairs())
        current.TakePairs(doc);
    step.state.Restore(doc);
    step.state = std::move(current);
    std::swap(step.id, m_nCurrent);
    doc.SetModifiedFlag(m_nCurrent != m_nSaved);
    KeepUnderLimit(); // the step may now hold the larger set of pairs
}

void DocumentHistory::Undo(CLumetraDoc& doc) {
    if (!CanUndo())
        return;
    --m_nDone;
    Swap(m_steps[m_nDone], doc);
}

void DocumentHistory::Redo(CLumetraDoc& doc) {
    if (!CanRedo())
        return;
    ++m_nDone;
    Swap(m_steps[m_nDone - 1], doc);
}

void DocumentHistory::SetByteLimit(size_t bytes) {
    m_nByteLimit = bytes;
    KeepUnderLimit();
}

void DocumentHistory::Clear() {
    m_steps.clear();
    m_steps.shrink_to_fit();
    m_nDone = 0;
}

size_t DocumentHistory::StepBytes(const Step& step) {
    return step.state.Bytes() + step.name.capacity();
}

size_t DocumentHistory::Bytes() const {
    size_t bytes = 0;
    for (const Step& step : m_steps)
        bytes += StepBytes(step);
    return bytes;
}

} // namespace lumetra
