#pragma once

#include "platform/Ui.h"

#include <iosfwd>

namespace lumetra {

// The Ui of lumetra-cli: message texts go to the error stream, questions are answered No (or
// Cancel where they offer it),
// file choosers are cancelled, and status texts, pumping and cursors do nothing.
class ConsoleUi : public Ui {
public:
    explicit ConsoleUi(std::ostream& err);

    Answer MessageBox(const std::string& text, Buttons buttons = Buttons::Ok,
                      Icon icon = Icon::Exclamation) override;
    void SetStatusText(int, const std::string&) override {}
    void PumpMessages() override {}
    void BeginWaitCursor() override {}
    void EndWaitCursor() override {}
    FileChoice ChooseFile(const FileRequest&) override { return {}; }

    int MessageCount() const { return m_nMessages; }

private:
    std::ostream& m_err;
    int m_nMessages = 0;
};

} // namespace lumetra
