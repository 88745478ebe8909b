// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/main_window.h"

// Beside the executable when its folder is writable; otherwise the per-user configuration
// folder for the settings and the installed data folder for the pictures.
TAppPaths DefaultAppPaths();
