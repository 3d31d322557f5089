#pragma once

namespace lumetra {

class Ui;

// The one rule of every long operation (read, write, fit, report build, import): its busy flag is
// raised and the wait cursor shown while it runs, and both are put back on every way out, an
// exception included. Nothing is shown from here.
class BusyScope {
public:
    // The wait cursor, and the flag raised when one is given.
    explicit BusyScope(Ui& ui, int* flag = nullptr);
    // The flag alone, for an operation whose checks and messages come before its wait cursor.
    explicit BusyScope(int& flag);
    ~BusyScope() { End(); }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

    // The operation is over before the scope is: the flag goes down and the cursor back now.
    void End();
    // The operation stops because its document closes: the flag stays up, so that nothing starts
    // it again in the going document; the cursor still goes.
    void KeepFlagUp() { m_pFlag = nullptr; }

private:
    Ui* m_pUi;
    int* m_pFlag;
};

// A progress step of a long operation: dispatches the waiting messages under the normal cursor
// and shows the wait cursor again, however the dispatch ends.
void PumpMessagesUnderNormalCursor(Ui& ui);

} // namespace lumetra
