#include "app/GuardedApplication.h"
#include "app/InstanceChannel.h"
#include "app/LumetraApp.h"
#include "app/MainFrame.h"
#include "app/QtSettingsStore.h"
#include "app/QtUi.h"

#include <QApplication>

int main(int argc, char** argv) {
    lumetra::GuardedApplication qapp(argc, argv);
    QApplication::setApplicationName("Lumetra");
    QApplication::setOrganizationName("Vandrel Enterprises");
    const QStringList arguments = QApplication::arguments();
    const QStringList files = arguments.mid(1);
    lumetra::CInstanceChannel channel(lumetra::CInstanceChannel::DefaultName());
    const bool printing = !files.isEmpty() && files.first() == "--print";
    if (!printing && !files.isEmpty() && channel.SendToRunning(files))
        return 0;
    lumetra::QtUi ui;
    qapp.SetUi(&ui);
    lumetra::QtSettingsStore settings;
    lumetra::CLumetraApp app(ui, settings);
    app.onMainFrameCreated = [&ui](lumetra::CMainFrame& frame) {
        ui.Attach(&frame, frame.StatusPane(0), frame.StatusPane(1), frame.StatusPane(2));
    };
    if (!app.InitInstance(arguments))
        return app.m_nExitCode;
    if (!printing && channel.Listen())
        QObject::connect(&channel, &lumetra::CInstanceChannel::filesReceived, &channel,
                         [&app](const QStringList& received) { app.OpenFilesFromShell(received); });
    const int status = QApplication::exec();
    return app.ExitInstance() == 0 ? status : 1;
}
