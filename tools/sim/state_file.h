// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/sim/module_settings.h"

#include <optional>
#include <string>

namespace kuvar::sim {

// The settings a module stored with SAVE, kept between runs as "key=value" lines.
std::string FormatState(ModuleKind kind, const ModuleSettings& settings);

// nullopt with a message for a text that is not a state of this kind of module.
std::optional<ModuleSettings> ParseState(ModuleKind kind, const std::string& text,
                                         std::string* error);

// A missing file is nullopt without an error.
std::optional<ModuleSettings> LoadStateFile(const std::string& path, ModuleKind kind,
                                            std::string* error);
// Writes a temporary file and renames it, so a crash never leaves half a state behind.
bool SaveStateFile(const std::string& path, ModuleKind kind, const ModuleSettings& settings,
                   std::string* error);

} // namespace kuvar::sim
