// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/main_window.h"

#include <QString>

namespace kuvar {

// What the choice of the two folders depends on, gathered by DefaultAppPaths.
struct TPathFacts {
    QString exeDir;                 // folder of the running executable
    bool exeDirWritable = false;    // the user may create files there
    bool picturesBesideExe = false; // on.bmp and off.bmp lie beside the executable
    QString installedDataDir;       // a share/kuvar folder holding the pictures, or empty
    QString userConfigDir;          // the per-user configuration folder (~/.config/kuvar)
};

// A copy that runs from its own writable folder with its pictures (a build folder, an unpacked
// archive) keeps everything there. An installed copy keeps its settings in the per-user folder,
// even for root, who could write into /usr/bin, and reads its pictures from the data folder.
TAppPaths ChooseAppPaths(const TPathFacts& facts);

// Gathers the facts for the running program and chooses; creates the per-user folder when chosen.
TAppPaths DefaultAppPaths();

} // namespace kuvar
