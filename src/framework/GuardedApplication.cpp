#include "framework/GuardedApplication.h"

#include "framework/CommandGuard.h"
#include "platform/ConsoleUi.h"

#include <iostream>

namespace lumetra {

bool GuardedApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        if (m_ui) {
            ShowEscapedException(*m_ui);
        } else {
            ConsoleUi console(std::cerr);
            ShowEscapedException(console);
        }
        return false;
    }
}

} // namespace lumetra
