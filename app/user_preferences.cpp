// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/user_preferences.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <cerrno>
#include <sys/stat.h>

namespace kuvar {

bool UsablePreferencesFile(const QString& path, qint64 maxBytes) {
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return errno == ENOENT;
    return S_ISREG(st.st_mode) && st.st_size <= maxBytes;
}

TUserPreferences::TUserPreferences(const QString& path) : path_(path) {
    // QSettings reads at construction; a file that is not ours to read is never opened.
    if (!path_.isEmpty() && UsablePreferencesFile(path_))
        settings_ = std::make_unique<QSettings>(path_, QSettings::IniFormat);
}

TUserPreferences::~TUserPreferences() = default;

QVariant TUserPreferences::Value(const QString& key, const QVariant& fallback) const {
    if (const auto set = setThisRun_.find(key); set != setThisRun_.end())
        return set->second;
    return settings_ ? settings_->value(key, fallback) : fallback;
}

void TUserPreferences::SetValue(const QString& key, const QVariant& value) {
    setThisRun_[key] = value;
    if (settings_)
        settings_->setValue(key, value);
}

bool TUserPreferences::Save() {
    if (!settings_ || !UsablePreferencesFile(path_))
        return false;
    // QSettings writes a temporary file and renames it into place when whole.
    settings_->sync();
    return settings_->status() == QSettings::NoError;
}

QString OfferedFolder(const TUserPreferences& preferences, const QString& key) {
    const QString kept = preferences.Value(key).toString();
    if (!kept.isEmpty() && QFileInfo(kept).isDir())
        return kept;
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QFileInfo(documents).isDir() ? documents : QDir::homePath();
}

QString OfferedPath(const TUserPreferences& preferences, const QString& key, const QString& stem,
                    const QString& suffix) {
    const QString now = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    return QDir(OfferedFolder(preferences, key))
        .filePath(QStringLiteral("%1-%2.%3").arg(stem, now, suffix));
}

void KeepFolderOf(TUserPreferences& preferences, const QString& key, const QString& path) {
    preferences.SetValue(key, QFileInfo(path).absolutePath());
    preferences.Save();
}

} // namespace kuvar
