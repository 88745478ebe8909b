// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "protocol/messages.h"

#include <QString>

#include <optional>

namespace kuvar {

class TUserPreferences;

// The interface's language: the window's own texts as designed (its title, the GY page's display
// choice, the questions and product messages in Korean, everything else in English), or all of
// it in English.
enum class TLanguage { Design, English };

// "ko" for the design's texts, "en" for English; nothing for any other name.
std::optional<TLanguage> LanguageNamed(const QString& name);
// The language asked for on the command line (empty: none), else the one kept as
// Interface/Language in the per-user settings, else the design's.
TLanguage ChooseLanguage(const QString& commandLine, const TUserPreferences& preferences);
// Installs the translation of the language into the application, before the window is made.
void InstallLanguage(TLanguage language);

// The source of a message translated into the installed language, with its values (in the
// line's code page) put in once each.
QString TranslatedMessage(const protocol::TMessage& message);

} // namespace kuvar
