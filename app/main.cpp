// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/app_exception.h"
#include "app/app_paths.h"
#include "app/command_line.h"
#include "app/interface_language.h"
#include "app/main_window.h"
#include "app/user_preferences.h"

#include <csignal>

using namespace kuvar;

int main(int argc, char* argv[]) {
    // Past a file-size limit a write then fails with EFBIG and is reported like a full disk,
    // instead of the signal ending the program.
    std::signal(SIGXFSZ, SIG_IGN);
    // Before any application object, so that --help and --version need no display.
    const TCommandLine commandLine = ParseCommandLine(ArgumentsOf(argc, argv));
    if (commandLine.action != TCommandLine::TAction::RunWindow)
        return ReportCommandLine(commandLine);
    TKuvarApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kuvar"));
    // The desktop entry's name: X11's WM_CLASS and Wayland's application ID are both "kuvar".
    QGuiApplication::setDesktopFileName(QStringLiteral("kuvar"));
    QApplication::setStyle(QStringLiteral("Fusion"));
    const TAppPaths paths = AppPathsFor(commandLine, DefaultAppPaths());
    InstallLanguage(ChooseLanguage(commandLine.language, TUserPreferences(paths.preferencesFile)));
    TfKUVAR window(paths);
    QuitWhenClosed(window);
    window.show();
    ApplyCommandLine(commandLine, window);
    return app.exec();
}
