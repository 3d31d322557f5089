#include "app/MainFrame.h"
#include "app/QtSettingsStore.h"
#include "app/QtUi.h"

#include <QApplication>
#include <QStringList>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Lumetra");
    lumetra::QtUi ui;
    lumetra::QtSettingsStore settings;
    lumetra::CMainFrame frame(ui, settings);
    ui.Attach(&frame, frame.StatusPane(0), frame.StatusPane(1), frame.StatusPane(2));
    frame.show();
    const QStringList args = QApplication::arguments();
    if (args.size() > 1)
        frame.OpenDataFile(args.at(1));
    return app.exec();
}
