// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/app_exception.h"
#include "app/app_paths.h"
#include "app/main_window.h"

using namespace kuvar;

int main(int argc, char* argv[]) {
    TKuvarApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kuvar"));
    QApplication::setStyle(QStringLiteral("Fusion"));
    TfKUVAR window(DefaultAppPaths());
    window.show();
    return app.exec();
}
