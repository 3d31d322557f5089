#include "app/InstanceChannel.h"
#include "app/InstanceRules.h"
#include "app/LumetraApp.h"
#include "app/MainFrame.h"
#include "app/QtSettingsStore.h"
#include "app/QtUi.h"
#include "framework/GuardedApplication.h"
#include "platform/ConsoleUi.h"

#include <QApplication>

#include <iostream>
#include <memory>

namespace {

// On a platform without a screen no one can answer a message box.
bool CanShowMessages() {
    const QString platform = QGuiApplication::platformName();
    return platform != "offscreen" && platform != "minimal";
}

void Note(const QString& text) {
    std::cerr << text.toStdString() << std::endl;
}

} // namespace

int main(int argc, char** argv) {
    lumetra::GuardedApplication qapp(argc, argv);
    QApplication::setApplicationName("Lumetra");
    QApplication::setOrganizationName("Vandrel Enterprises");
    QStringList arguments = QApplication::arguments();
    const bool newInstance = arguments.removeAll("--new-instance") > 0;
    const QStringList files = arguments.mid(1);
    const bool printing = !files.isEmpty() && files.first() == "--print";
    lumetra::QtSettingsStore settings;

    std::unique_ptr<lumetra::CInstanceChannel> channel;
    if (!printing && !newInstance) {
        const auto place = lumetra::CInstanceChannel::FindPlace(settings.Location());
        if (place.path.isEmpty())
            Note(place.refusal);
        else
            channel = std::make_unique<lumetra::CInstanceChannel>(place.path);
    }
    if (channel && !files.isEmpty()) {
        switch (channel->SendToRunning(files)) {
        case lumetra::CInstanceChannel::Handoff::Taken:
            return 0;
        case lumetra::CInstanceChannel::Handoff::NoneRunning:
            break;
        case lumetra::CInstanceChannel::Handoff::NoAnswer:
            Note(QString::fromStdString(lumetra::NoAnswerNote()));
            break;
        case lumetra::CInstanceChannel::Handoff::Foreign:
            Note(
                QString::fromStdString(lumetra::ForeignChannelNote(channel->Path().toStdString())));
            channel.reset(); // not ours to answer on
            break;
        }
    }

    lumetra::QtUi qtUi;
    lumetra::ConsoleUi consoleUi(std::cerr);
    lumetra::Ui& ui = printing && !CanShowMessages() ? static_cast<lumetra::Ui&>(consoleUi) : qtUi;
    qapp.SetUi(&ui);
    lumetra::CLumetraApp app(ui, settings);
    app.onMainFrameCreated = [&qtUi](lumetra::CMainFrame& frame) {
        qtUi.Attach(&frame, frame.StatusPane(0), frame.StatusPane(1), frame.StatusPane(2));
    };
    if (!app.InitInstance(arguments))
        return app.m_nExitCode;
    if (channel && channel->Listen())
        QObject::connect(channel.get(), &lumetra::CInstanceChannel::filesReceived, channel.get(),
                         [&app](const QStringList& received) { app.OpenFilesFromShell(received); });
    const int status = QApplication::exec();
    return app.ExitInstance() == 0 ? status : 1;
}
