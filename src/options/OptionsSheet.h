#pragma once

#include <QDialog>
#include <QWidget>

#include <vector>

class QPushButton;
class QStackedWidget;
class QTabBar;

namespace lumetra {

class CLumetraDoc;
class Ui;

// One page of the Options sheet. Leaving a page can be refused (it has shown its message and
// put the focus on the field); OK reaches every page that was shown.
class CPropertyPage : public QWidget {
    Q_OBJECT
public:
    CPropertyPage(const QString& caption, CLumetraDoc& doc, Ui& ui);

    virtual void OnSetActive() {}
    virtual bool OnKillActive() { return true; }
    virtual void OnOK() {}
    // The last check on OK, once the page showing was left: false keeps the sheet open on this
    // page (after its message), with the focus where FocusRefused puts it.
    virtual bool OnQueryOK() { return true; }
    virtual void FocusRefused() {}
    virtual int HelpContext() const = 0;

    bool m_bShown = false;

protected:
    CLumetraDoc& m_doc;
    Ui& m_ui;
};

// The modal Options sheet, captioned "Lumetra", with OK, Cancel and Help.
class CMySheet : public QDialog {
    Q_OBJECT
public:
    explicit CMySheet(QWidget* parent = nullptr);

    void AddPage(CPropertyPage* page);
    // Shows the page as a tab click does: false when the page showing refused to be left.
    bool SetActivePage(int index);
    CPropertyPage* ActivePage() const;
    int ActiveIndex() const { return m_nActive; }
    const std::vector<CPropertyPage*>& Pages() const { return m_pages; }

    // Raised by the Resolution page when the display settings changed, so the Data page
    // formats its list lines anew, whichever window opened the sheet.
    int m_bRefreshDataList = 0;
    // A page is working (an import that lets the window repaint): the sheet stays open.
    int m_nBusy = 0;

    void done(int result) override;

    void accept() override;
    void OnHelp();

protected:
    void showEvent(QShowEvent* event) override;
    // Ctrl+Tab and Ctrl+Page Down to the next page, with Shift or Page Up to the one before.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Activate(int index);

    // The tabs and the pages apart, so that a page shows only once the one before let go.
    QTabBar* m_tabs;
    QStackedWidget* m_stack;
    QPushButton* m_ok = nullptr;
    std::vector<CPropertyPage*> m_pages;
    int m_nActive = -1;
    bool m_bSwitching = false;
};

} // namespace lumetra
