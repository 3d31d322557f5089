#include "app/QtUi.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QStyle>

namespace lumetra {
namespace {

// QFileDialog reads the patterns from the parentheses of a filter's text. "*.*" means every file
// where the filters were first written; here it would skip names without a dot.
QString FilterText(const Ui::FileFilter& filter) {
    QString name = QString::fromStdString(filter.name).trimmed();
    const QString pattern = filter.pattern == "*.*" ? "*" : QString::fromStdString(filter.pattern);
    const int paren = name.indexOf('(');
    if (paren >= 0)
        name = name.left(paren).trimmed();
    return name + " (" + pattern + ")";
}

void SetBoxIcon(QMessageBox& box, Ui::Icon icon) {
    switch (icon) {
    case Ui::Icon::Exclamation:
        box.setIcon(QMessageBox::Warning);
        break;
    case Ui::Icon::Stop:
        box.setIcon(QMessageBox::Critical);
        break;
    case Ui::Icon::Question:
        box.setIcon(QMessageBox::Question);
        break;
    case Ui::Icon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    }
}

} // namespace

void QtUi::Attach(QWidget* parent, QLabel* pane0, QLabel* pane1, QLabel* pane2) {
    m_parent = parent;
    m_panes[0] = pane0;
    m_panes[1] = pane1;
    m_panes[2] = pane2;
}

int QtUi::Show(QMessageBox& box) {
    // A message must be read even while the wait cursor is up.
    const bool waiting = m_nWaitDepth > 0;
    if (waiting)
        QApplication::setOverrideCursor(Qt::ArrowCursor);
    const int result = box.exec();
    if (waiting)
        QApplication::restoreOverrideCursor();
    return result;
}

Ui::Answer QtUi::MessageWithAction(const std::string& text, const std::string& action, Icon icon) {
    QMessageBox box(m_parent);
    box.setWindowTitle("Lumetra");
    box.setText(QString::fromStdString(text));
    SetBoxIcon(box, icon);
    box.setStandardButtons(QMessageBox::Ok);
    QPushButton* act = box.addButton(QString::fromStdString(action), QMessageBox::AcceptRole);
    box.setDefaultButton(QMessageBox::Ok);
    Show(box);
    return box.clickedButton() == act ? Answer::Yes : Answer::Ok;
}

Ui::Answer QtUi::MessageBox(const std::string& text, Buttons buttons, Icon icon) {
    QMessageBox box(m_parent);
    box.setWindowTitle("Lumetra");
    box.setText(QString::fromStdString(text));
    SetBoxIcon(box, icon);
    switch (buttons) {
    case Buttons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case Buttons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    case Buttons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        box.setEscapeButton(QMessageBox::Cancel);
        break;
    case Buttons::OkCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        box.setEscapeButton(QMessageBox::Cancel);
        break;
    }
    switch (Show(box)) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    case QMessageBox::Cancel:
        return Answer::Cancel;
    default:
        return buttons == Buttons::YesNo ? Answer::No : Answer::Ok;
    }
}

void QtUi::SetStatusText(int pane, const std::string& text) {
    if (pane < 0 || pane > 2 || !m_panes[pane])
        return;
    const QString shown = QString::fromStdString(text);
    if (m_panes[pane]->text() == shown)
        return;
    m_panes[pane]->setText(shown);
    m_panes[pane]->repaint(); // at once: a long build may not return to the event loop soon
}

void QtUi::PumpMessages() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void QtUi::BeginWaitCursor() {
    ++m_nWaitDepth;
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

void QtUi::EndWaitCursor() {
    if (m_nWaitDepth == 0)
        return;
    --m_nWaitDepth;
    QApplication::restoreOverrideCursor();
}

Ui::FileChoice QtUi::ChooseFile(const FileRequest& request) {
    QFileDialog dialog(m_parent, QString::fromStdString(request.title));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(request.saving ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(request.saving ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    QStringList filters;
    for (const FileFilter& f : request.filters)
        filters << FilterText(f);
    dialog.setNameFilters(filters);
    if (!request.initialDir.empty())
        dialog.setDirectory(QString::fromStdString(request.initialDir));
    if (!request.okLabel.empty())
        dialog.setLabelText(QFileDialog::Accept, QString::fromStdString(request.okLabel));
    if (!request.cancelLabel.empty()) {
        dialog.setLabelText(QFileDialog::Reject, QString::fromStdString(request.cancelLabel));
        // Relabelled, the button is no longer a Cancel: it keeps no Cancel icon ("New Data" is
        // a new document).
        if (auto* box = dialog.findChild<QDialogButtonBox*>())
            if (QPushButton* reject = box->button(QDialogButtonBox::Cancel))
                reject->setIcon(dialog.style()->standardIcon(QStyle::SP_FileIcon));
    }
    if (!request.defaultSuffix.empty())
        dialog.setDefaultSuffix(QString::fromStdString(request.defaultSuffix));
    FileChoice choice;
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
        choice.accepted = true;
        choice.path = dialog.selectedFiles().first().toStdString();
    }
    return choice;
}

} // namespace lumetra
