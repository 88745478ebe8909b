// SPDX-License-Identifier: GPL-3.0-or-later
// Shows the window as the program does and prints where it landed:
//   kuvar_place_probe SETTINGS_DIR
// prints "frame X Y W H available X Y W H scrollbars H V" once the window is on the screen.
// Environment that a test sets before the application starts (QT_SCALE_FACTOR, the offscreen
// platform's screen) is why this runs as a process of its own.
#include "app/app_exception.h"
#include "app/main_window.h"

#include <QDir>
#include <QScreen>
#include <QScrollBar>
#include <QTimer>

#include <cstdio>

using namespace kuvar;

int main(int argc, char** argv) {
    TKuvarApplication app(argc, argv);
    QApplication::setStyle(QStringLiteral("Fusion"));
    if (argc < 2) {
        std::fprintf(stderr, "usage: kuvar_place_probe SETTINGS_DIR\n");
        return 2;
    }
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    TfKUVAR w(TAppPaths{dir.filePath(QStringLiteral("UserSet.dat")), QStringLiteral(KUVAR_PICTURES),
                        dir.filePath(QStringLiteral("kuvar.conf"))});
    w.show();
    QTimer::singleShot(300, &w, [&w] {
        const QRect f = w.frameGeometry();
        const QRect a = w.screen()->availableGeometry();
        std::printf("frame %d %d %d %d available %d %d %d %d scrollbars %d %d\n", f.x(), f.y(),
                    f.width(), f.height(), a.x(), a.y(), a.width(), a.height(),
                    w.Canvas->horizontalScrollBar()->isVisible() ? 1 : 0,
                    w.Canvas->verticalScrollBar()->isVisible() ? 1 : 0);
        std::fflush(stdout);
        w.close();
    });
    return app.exec();
}
