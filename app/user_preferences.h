// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSettings>
#include <QString>
#include <QVariant>

#include <map>
#include <memory>

namespace kuvar {

// The per-user settings file kuvar.conf: what UserSet.dat does not hold (the window's place,
// reconnecting by itself). UserSet.dat keeps its bytes. The file is read only when it is a small
// regular file and written only when it is absent or one; anything else (a FIFO, a device, a
// folder, a huge file) is left alone and the defaults apply.
class TUserPreferences {
public:
    // A value set holds for the rest of the run even where it cannot be kept. An empty path keeps
    // nothing: a value not set this run is its fallback, and Save does nothing.
    explicit TUserPreferences(const QString& path);
    ~TUserPreferences();

    QVariant Value(const QString& key, const QVariant& fallback = {}) const;
    void SetValue(const QString& key, const QVariant& value);
    // Writes what was set; false when the file is not one to write or the write failed.
    bool Save();

    const QString& Path() const { return path_; }

private:
    QString path_;
    std::unique_ptr<QSettings> settings_;
    std::map<QString, QVariant> setThisRun_;
};

// The folder to offer for a file the operator saves: the one kept under key when it still is a
// folder, else the user's documents folder, else the home folder (a fresh account may have no
// documents folder yet).
QString OfferedFolder(const TUserPreferences& preferences, const QString& key);
// A new file's path in that folder: "<stem>-YYYYMMDD-HHMMSS.<suffix>", at the local time now.
QString OfferedPath(const TUserPreferences& preferences, const QString& key, const QString& stem,
                    const QString& suffix);
// Keeps the folder of path under key, in the file at once.
void KeepFolderOf(TUserPreferences& preferences, const QString& key, const QString& path);

// Whether path may be read or replaced as a settings file: absent, or a regular file of at
// most maxBytes (links followed).
bool UsablePreferencesFile(const QString& path, qint64 maxBytes = 64 * 1024);

} // namespace kuvar
