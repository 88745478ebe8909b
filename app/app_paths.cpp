// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/app_paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <unistd.h>

namespace kuvar {

namespace {

const QString kSettingsName = QStringLiteral("UserSet.dat");

bool HoldsPictures(const QString& dir) {
    const QDir d(dir);
    return QFileInfo::exists(d.filePath(QStringLiteral("on.bmp"))) &&
           QFileInfo::exists(d.filePath(QStringLiteral("off.bmp")));
}

// <prefix>/share/kuvar beside <prefix>/bin/kuvar first, so that a copy installed under any prefix
// finds its own pictures; then the system's data folders (XDG_DATA_DIRS).
QString FindInstalledDataDir(const QString& exeDir) {
    const QString besidePrefix =
        QDir::cleanPath(QDir(exeDir).absoluteFilePath(QStringLiteral("../share/kuvar")));
    if (HoldsPictures(besidePrefix))
        return besidePrefix;
    const QString found =
        QStandardPaths::locate(QStandardPaths::GenericDataLocation, QStringLiteral("kuvar"),
                               QStandardPaths::LocateDirectory);
    return !found.isEmpty() && HoldsPictures(found) ? found : QString();
}

} // namespace

TAppPaths ChooseAppPaths(const TPathFacts& facts) {
    TAppPaths paths;
    // The window's place and the like are the user's, wherever the program runs from.
    paths.preferencesFile = QDir(facts.userConfigDir).filePath(QStringLiteral("kuvar.conf"));
    if (facts.picturesBesideExe && facts.exeDirWritable) {
        paths.settingsFile = QDir(facts.exeDir).filePath(kSettingsName);
        paths.pictureDir = facts.exeDir;
        return paths;
    }
    paths.settingsFile = QDir(facts.userConfigDir).filePath(kSettingsName);
    if (facts.picturesBesideExe || facts.installedDataDir.isEmpty())
        paths.pictureDir = facts.exeDir; // when nothing holds them, the error names this folder
    else
        paths.pictureDir = facts.installedDataDir;
    return paths;
}

TAppPaths DefaultAppPaths() {
    TPathFacts facts;
    facts.exeDir = QCoreApplication::applicationDirPath();
    facts.exeDirWritable = ::access(QFile::encodeName(facts.exeDir).constData(), W_OK) == 0;
    facts.picturesBesideExe = HoldsPictures(facts.exeDir);
    if (!facts.picturesBesideExe)
        facts.installedDataDir = FindInstalledDataDir(facts.exeDir);
    facts.userConfigDir = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    const TAppPaths paths = ChooseAppPaths(facts);
    // A folder that cannot be made shows as the settings file's own error at start.
    if (QFileInfo(paths.settingsFile).absolutePath() == QDir(facts.userConfigDir).absolutePath())
        QDir().mkpath(facts.userConfigDir);
    return paths;
}

} // namespace kuvar
