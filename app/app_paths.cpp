// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/app_paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <unistd.h>

TAppPaths DefaultAppPaths() {
    const QString exeDir = QCoreApplication::applicationDirPath();
    TAppPaths paths;
    if (::access(QFile::encodeName(exeDir).constData(), W_OK) == 0) {
        paths.settingsFile = QDir(exeDir).filePath(QStringLiteral("UserSet.dat"));
        paths.pictureDir = exeDir;
        return paths;
    }
    const QString config = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    QDir().mkpath(config);
    paths.settingsFile = QDir(config).filePath(QStringLiteral("UserSet.dat"));
    // Installed layout: <prefix>/bin/kuvar and <prefix>/share/kuvar/.
    const QString data = QDir(exeDir).absoluteFilePath(QStringLiteral("../share/kuvar"));
    paths.pictureDir = QFileInfo::exists(data) ? QDir::cleanPath(data) : exeDir;
    return paths;
}
