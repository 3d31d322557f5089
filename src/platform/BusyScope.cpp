#include "platform/BusyScope.h"

#include "platform/Ui.h"

namespace lumetra {

BusyScope::BusyScope(Ui& ui, int* flag) : m_pUi(&ui), m_pFlag(flag) {
    if (m_pFlag)
        *m_pFlag = 1;
    m_pUi->BeginWaitCursor();
}

BusyScope::BusyScope(int& flag) : m_pUi(nullptr), m_pFlag(&flag) {
    flag = 1;
}

void BusyScope::End() {
    if (m_pFlag)
        *m_pFlag = 0;
    if (m_pUi)
        m_pUi->EndWaitCursor();
    m_pFlag = nullptr;
    m_pUi = nullptr;
}

void PumpMessagesUnderNormalCursor(Ui& ui) {
    ui.EndWaitCursor();
    // Up again however the dispatch ends (a command it runs may throw), for the operation's own
    // scope takes it down.
    struct ShowAgain {
        Ui& ui;
        ~ShowAgain() { ui.BeginWaitCursor(); }
    } showAgain{ui};
    ui.PumpMessages();
}

} // namespace lumetra
