#include "app/LumetraApp.h"
#include "app/MainFrame.h"
#include "app/QtSettingsStore.h"
#include "app/QtUi.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication qapp(argc, argv);
    QApplication::setApplicationName("Lumetra");
    QApplication::setOrganizationName("Vandrel Enterprises");
    lumetra::QtUi ui;
    lumetra::QtSettingsStore settings;
    lumetra::CLumetraApp app(ui, settings);
    app.onMainFrameCreated = [&ui](lumetra::CMainFrame& frame) {
        ui.Attach(&frame, frame.StatusPane(0), frame.StatusPane(1), frame.StatusPane(2));
    };
    if (!app.InitInstance(QApplication::arguments()))
        return app.m_nExitCode;
    const int status = QApplication::exec();
    return app.ExitInstance() == 0 ? status : 1;
}
