// SPDX-License-Identifier: GPL-3.0-or-later
// Drives the real window against running simulators as an operator would and saves what it
// shows: kuvar_screenshot OUT.png [ac|gy] [PORT] [SECONDS] [rec]. Used for the README's pictures
// and for looking at the window after a change.
#include "app/app_exception.h"
#include "tests/e2e/window_driver.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>

using namespace kuvar;

int main(int argc, char** argv) {
    TKuvarApplication app(argc, argv);
    QApplication::setStyle(QStringLiteral("Fusion"));
    if (argc < 2) {
        std::fprintf(stderr, "usage: kuvar_screenshot OUT.png [ac|gy] [PORT] [SECONDS] [rec]\n");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    const bool gy = argc > 2 && QString::fromLatin1(argv[2]) == QStringLiteral("gy");
    const QString port = argc > 3 ? QString::fromLocal8Bit(argv[3]) : QString();
    const int seconds = argc > 4 ? QString::fromLatin1(argv[4]).toInt() : 3;
    // "rec": the picture shows a recording running (into a temporary folder).
    const bool record = argc > 5 && QString::fromLatin1(argv[5]) == QStringLiteral("rec");
    QTemporaryDir recordings;

    TWindowFixture fixture;
    TfKUVAR& w = *fixture.window;
    // The picture shows the design's client area whatever the size of the screen.
    WaitFor([] { return false; }, 50);
    w.resize(1133, 700);
    if (gy) {
        fixture.ClickButton(w.TopPanel.btGY);
    }
    if (!port.isEmpty() && fixture.OpenPort(port)) {
        fixture.ClickButton(gy ? static_cast<QWidget*>(w.GyPage.btGYIDfind)
                               : static_cast<QWidget*>(w.AcPage.btACIDFind));
        WaitFor([] { return false; }, 500);
        if (record) {
            w.Recorder->chooseFile = [&](QWidget*, const QString& offered) {
                return recordings.filePath(QFileInfo(offered).fileName());
            };
            fixture.ClickButton(w.TopPanel.btRecord);
        }
        fixture.ClickButton(gy ? static_cast<QWidget*>(w.GyPage.btGYSTART)
                               : static_cast<QWidget*>(w.AcPage.btACStart));
    }
    WaitFor([] { return false; }, seconds * 1000);
    const bool saved = w.grab().save(out);
    std::printf("%s %s\n", saved ? "saved" : "could not save", qPrintable(out));
    return saved ? 0 : 1;
}
