// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QVariant>

namespace kuvar {

// The per-user settings beyond UserSet.dat, in one QSettings file, ~/.config/kuvar/kuvar.conf
// (the generic configuration folder of the desktop). UserSet.dat keeps its bytes.
QString UserPrefsFile();
QVariant UserPref(const QString& key, const QVariant& fallback = {});
void SetUserPref(const QString& key, const QVariant& value);

} // namespace kuvar
