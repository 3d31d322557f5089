#pragma once

#include "framework/HelpContexts.h"

#include <QDialog>
#include <QUrl>

class QPushButton;
class QTextBrowser;

namespace lumetra {

// The topic of a help context; the contents for a context without a topic of its own.
QUrl HelpTopicUrl(int context);

// Shows the application's help window on the topic of the context, creating it on first use.
// The window belongs to parent's window, so it stays usable over a modal Options sheet.
void ShowHelpContext(QWidget* parent, int context);

// The non-modal "Lumetra Help" window; there is at most one per application.
class CHelpViewer : public QDialog {
    Q_OBJECT
public:
    // The open help window, or null when none has been shown (or its owner has gone).
    static CHelpViewer* Current();

    QTextBrowser* Browser() const { return m_browser; }
    QPushButton* BackButton() const { return m_back; }
    QPushButton* ForwardButton() const { return m_forward; }
    QPushButton* ContentsButton() const { return m_contents; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit CHelpViewer(QWidget* owner);
    void ShowTopic(QWidget* owner, const QUrl& topic);
    void SetOwner(QWidget* owner);

    QTextBrowser* m_browser;
    QPushButton* m_back;
    QPushButton* m_forward;
    QPushButton* m_contents;

    friend void ShowHelpContext(QWidget* parent, int context);
};

} // namespace lumetra
