#pragma once

#include <QApplication>

namespace lumetra {

class Ui;

// The toolkit's application with a last catch around every event it delivers: an exception
// that a handler let escape is shown and the event loop goes on, instead of ending the program
// with every unsaved document.
class GuardedApplication : public QApplication {
public:
    GuardedApplication(int& argc, char** argv) : QApplication(argc, argv) {}
    // Where the message goes; until then, to the standard error stream.
    void SetUi(Ui* ui) { m_ui = ui; }
    bool notify(QObject* receiver, QEvent* event) override;

private:
    Ui* m_ui = nullptr;
};

} // namespace lumetra
