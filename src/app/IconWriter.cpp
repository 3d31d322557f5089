// Writes the program's icons into a freedesktop icon theme folder for installing: the
// application and its data files at the theme's usual sizes.
#include "framework/ToolbarImages.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QPixmap>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: lumetra-icons THEME_DIR\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen"); // a build machine has no display
    QApplication app(argc, argv);
    const QString theme = QString::fromLocal8Bit(argv[1]);
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QString dir = QString("%1/%2x%2").arg(theme).arg(size);
        const QPixmap images[2] = {lumetra::ApplicationIconImage(size),
                                   lumetra::DocumentIconImage(size)};
        const QString names[2] = {dir + "/apps/lumetra.png",
                                  dir + "/mimetypes/application-x-lumetra-data.png"};
        for (int i = 0; i < 2; ++i) {
            if (!QDir().mkpath(QFileInfo(names[i]).path()) || !images[i].save(names[i], "PNG")) {
                std::fprintf(stderr, "lumetra-icons: cannot write %s\n", qPrintable(names[i]));
                return 1;
            }
        }
    }
    return 0;
}
