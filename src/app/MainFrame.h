#pragma once

#include <QMainWindow>

#include <memory>

class QLabel;
class QPlainTextEdit;

namespace lumetra {

class CLumetraDoc;
class Ui;
class SettingsStore;

// The main window: for now it shows what one data file holds.
class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    CMainFrame(Ui& ui, SettingsStore& settings);
    ~CMainFrame() override;

    // Reads the file with the document's reader; false after the reader's message.
    bool OpenDataFile(const QString& path);
    const CLumetraDoc* Document() const { return m_doc.get(); }
    QString ShownText() const;
    QLabel* StatusPane(int pane) const { return m_panes[pane]; }

private:
    Ui& m_ui;
    SettingsStore& m_settings;
    std::unique_ptr<CLumetraDoc> m_doc;
    QPlainTextEdit* m_view;
    QLabel* m_panes[3];
};

} // namespace lumetra
