// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/app_exception.h"
#include "app/app_paths.h"
#include "app/main_window.h"

#include <csignal>

using namespace kuvar;

int main(int argc, char* argv[]) {
    // Past a file-size limit a write then fails with EFBIG and is reported like a full disk,
    // instead of the signal ending the program.
    std::signal(SIGXFSZ, SIG_IGN);
    TKuvarApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kuvar"));
    QApplication::setStyle(QStringLiteral("Fusion"));
    TfKUVAR window(DefaultAppPaths());
    window.show();
    return app.exec();
}
