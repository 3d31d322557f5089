#include "platform/ConsoleUi.h"

#include <ostream>

namespace lumetra {

ConsoleUi::ConsoleUi(std::ostream& err) : m_err(err) {}

Ui::Answer ConsoleUi::MessageBox(const std::string& text, Buttons buttons, Icon) {
    ++m_nMessages;
    m_err << text;
    if (text.empty() || text.back() != '\n')
        m_err << '\n';
    m_err.flush();
    switch (buttons) {
    case Buttons::YesNo:
        return Answer::No;
    case Buttons::YesNoCancel:
    case Buttons::OkCancel:
        return Answer::Cancel;
    default:
        return Answer::Ok;
    }
}

} // namespace lumetra
