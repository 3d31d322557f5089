#pragma once

#include "platform/Ui.h"

#include <QPointer>

class QLabel;
class QMessageBox;
class QStatusBar;
class QWidget;

namespace lumetra {

// The Ui seam on Qt widgets: QMessageBox, the main window's status bar panes,
// processEvents, the override cursor and a non-native QFileDialog.
class QtUi : public Ui {
public:
    // The panes are the main frame's status bar texts 0, 1 and 2; the parent owns message boxes.
    void Attach(QWidget* parent, QLabel* pane0, QLabel* pane1, QLabel* pane2);

    Answer MessageBox(const std::string& text, Buttons buttons, Icon icon) override;
    Answer MessageWithAction(const std::string& text, const std::string& action,
                             Icon icon) override;
    void SetStatusText(int pane, const std::string& text) override;
    void PumpMessages() override;
    void BeginWaitCursor() override;
    void EndWaitCursor() override;
    FileChoice ChooseFile(const FileRequest& request) override;

private:
    // Runs the box, with an arrow cursor while the wait cursor is up; the box's result.
    int Show(QMessageBox& box);

    QPointer<QWidget> m_parent;
    QPointer<QLabel> m_panes[3];
    int m_nWaitDepth = 0;
};

} // namespace lumetra
