// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

namespace kuvar {

class TfKUVAR;
struct TAppPaths;

// What the command line asks of the program.
struct TCommandLine {
    enum class TAction { RunWindow, PrintHelp, PrintVersion, Refuse };
    TAction action = TAction::RunWindow;
    QString text;         // the help or version text, or why the line is refused
    QString port;         // --port; empty: the stored text stays
    QString baud;         // --baud; empty: the stored text stays
    QString settingsFile; // --settings, made absolute; empty: the default place
    bool connect = false; // --connect
    QString language;     // --lang: "ko" or "en"; empty: the kept choice
};

// The arguments as main has them, the program first. Parses without an application object, so
// that --help and --version work without a display. Qt's own options (-platform NAME,
// -style NAME, ...) are accepted and left to the application object.
TCommandLine ParseCommandLine(const QStringList& arguments);
QStringList ArgumentsOf(int argc, char** argv);

// Prints the help or version text to standard output, or the refusal to standard error, and gives
// the exit status: 0, or 2 for a refused command line.
int ReportCommandLine(const TCommandLine& commandLine);

// The default places, with the settings file of --settings.
TAppPaths AppPathsFor(const TCommandLine& commandLine, const TAppPaths& defaults);

// After the window has read its settings: puts --port and --baud into their controls as if typed
// and, with --connect, does what the connect button does (a failure shows in status panel 0).
void ApplyCommandLine(const TCommandLine& commandLine, TfKUVAR& window);

} // namespace kuvar
