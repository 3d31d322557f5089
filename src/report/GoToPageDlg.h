#pragma once

#include <QDialog>

class QLineEdit;

namespace lumetra {

class Ui;

// "Go to Display Page": asks for a page number; the caller clamps it. Used by the listing and
// the Data page.
class CGoToPageDlg : public QDialog {
    Q_OBJECT
public:
    CGoToPageDlg(Ui& ui, QWidget* parent = nullptr);

    int m_nPage = 0;

    // Shows the dialog on m_nPage; true after OK with a whole number in m_nPage.
    bool Run();
    QLineEdit* PageField() const { return m_edit; }

    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    Ui& m_ui;
    QLineEdit* m_edit;
};

} // namespace lumetra
