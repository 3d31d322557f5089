#include "framework/HelpViewer.h"

#include "framework/ToolbarImages.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QPointer>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

#include <array>

// The topics are compiled into the shell library; a static library's resources are only linked
// in when something names them.
static void RegisterHelpTopics() {
    static const bool registered = [] {
        Q_INIT_RESOURCE(lumetra);
        return true;
    }();
    (void)registered;
}

namespace lumetra {
namespace {

struct HelpTopic {
    int context;
    const char* file;
};

constexpr std::array<HelpTopic, 10> kTopics{{
    {help::kContents, "contents.html"},
    {help::kSynopsis, "synopsis.html"},
    {help::kCurvePage, "curve.html"},
    {help::kDataPage, "data.html"},
    {help::kResolutionPage, "resolution.html"},
    {help::kComputeYPage, "computey.html"},
    {help::kComputeXPage, "computex.html"},
    {help::kListingWindow, "listing.html"},
    {help::kPlotWindow, "plot.html"},
    {help::kStatisticsWindow, "statistics.html"},
}};

QPointer<CHelpViewer>& TheViewer() {
    static QPointer<CHelpViewer> viewer;
    return viewer;
}

QPushButton* ToolButton(const QString& text) {
    auto* button = new QPushButton(text);
    // Return in the topic text must not press a button.
    button->setAutoDefault(false);
    return button;
}

} // namespace

QUrl HelpTopicUrl(int context) {
    RegisterHelpTopics();
    const char* file = "contents.html";
    for (const HelpTopic& topic : kTopics)
        if (topic.context == context)
            file = topic.file;
    return QUrl(QStringLiteral("qrc:/help/") + QLatin1String(file));
}

void ShowHelpContext(QWidget* parent, int context) {
    const QUrl topic = HelpTopicUrl(context);
    QPointer<CHelpViewer>& viewer = TheViewer();
    if (!viewer)
        viewer = new CHelpViewer(parent ? parent->window() : nullptr);
    viewer->ShowTopic(parent, topic);
}

CHelpViewer* CHelpViewer::Current() {
    return TheViewer();
}

CHelpViewer::CHelpViewer(QWidget* owner)
    : QDialog(owner), m_browser(new QTextBrowser), m_back(ToolButton("&Back")),
      m_forward(ToolButton("&Forward")), m_contents(ToolButton("&Contents")) {
    setWindowTitle("Lumetra Help");
    setWindowIcon(ApplicationIcon());
    setSizeGripEnabled(true);
    // An open help window never keeps the program running.
    setAttribute(Qt::WA_QuitOnClose, false);
    if (owner)
        owner->installEventFilter(this);

    m_back->setEnabled(false);
    m_forward->setEnabled(false);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_contents);
    buttons->addWidget(m_back);
    buttons->addWidget(m_forward);
    buttons->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(m_browser, 1);
    resize(640, 540);

    connect(m_back, &QPushButton::clicked, m_browser, &QTextBrowser::backward);
    connect(m_forward, &QPushButton::clicked, m_browser, &QTextBrowser::forward);
    connect(m_contents, &QPushButton::clicked, this,
            [this] { m_browser->setSource(HelpTopicUrl(help::kContents)); });
    connect(m_browser, &QTextBrowser::backwardAvailable, m_back, &QPushButton::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, m_forward, &QPushButton::setEnabled);
}

void CHelpViewer::ShowTopic(QWidget* owner, const QUrl& topic) {
    SetOwner(owner);
    m_browser->setSource(topic);
    show();
    raise();
    activateWindow();
}

// A window blocked by a modal sheet would block its help too, unless the help belongs to it.
void CHelpViewer::SetOwner(QWidget* owner) {
    QWidget* window = owner ? owner->window() : nullptr;
    if (window == parentWidget())
        return;
    if (parentWidget())
        parentWidget()->removeEventFilter(this);
    const bool wasVisible = isVisible();
    const QRect frame = geometry();
    setParent(window, windowFlags());
    if (window)
        window->installEventFilter(this);
    if (wasVisible) {
        setGeometry(frame);
        show();
    }
}

// When the sheet that owns the help closes, the help stays open over the window below it.
bool CHelpViewer::eventFilter(QObject* watched, QEvent* event) {
    if (watched == parentWidget() && event->type() == QEvent::Hide && !event->spontaneous())
        if (QWidget* below = parentWidget()->parentWidget())
            SetOwner(below);
    return QDialog::eventFilter(watched, event);
}

} // namespace lumetra
