// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/user_prefs.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>

namespace kuvar {

QString UserPrefsFile() {
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
        .filePath(QStringLiteral("kuvar/kuvar.conf"));
}

QVariant UserPref(const QString& key, const QVariant& fallback) {
    return QSettings(UserPrefsFile(), QSettings::IniFormat).value(key, fallback);
}

void SetUserPref(const QString& key, const QVariant& value) {
    QSettings settings(UserPrefsFile(), QSettings::IniFormat);
    settings.setValue(key, value);
}

} // namespace kuvar
