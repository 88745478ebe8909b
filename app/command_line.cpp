// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/command_line.h"

#include "app/interface_language.h"
#include "app/main_window.h"
#include "app/port_list.h"
#include "base/guard.h"

#include "kuvar_version.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QFileInfo>

#include <cstdio>
#include <exception>

namespace kuvar {

namespace {

const QString kProgram = QStringLiteral("kuvar");

// Qt's own options, which the application object takes out of the arguments; the parser only
// has to know them, and whether they take a value.
const char* const kQtValueOptions[] = {
    "platform",    "platformpluginpath", "platformtheme", "plugin",  "qwindowgeometry",
    "qwindowicon", "qwindowtitle",       "session",       "display", "geometry",
    "style",       "stylesheet",         "qmljsdebugger",
};
const char* const kQtFlagOptions[] = {"reverse", "widgetcount", "nograb", "dograb", "sync"};

void AddHidden(QCommandLineParser& parser, const QString& name, const QString& valueName) {
    QCommandLineOption option(name, QString(), valueName);
    option.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOption(option);
}

// The rate text as the connect button will read it; an error names what is wrong with it.
QString RateError(const QString& rate) {
    try {
        if (BaudrateCode(rate))
            return QString();
        return QStringLiteral("baud rate %1 is not supported").arg(rate);
    } catch (const std::exception& e) {
        return QString::fromStdString(e.what());
    }
}

TCommandLine Refused(const QString& why) {
    TCommandLine refused;
    refused.action = TCommandLine::TAction::Refuse;
    refused.text = why;
    return refused;
}

} // namespace

QStringList ArgumentsOf(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

TCommandLine ParseCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    // -platform is one option, as Qt reads it, not -p -l -a ...
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(QStringLiteral(
        "Viewer and configurator for KUVAR-AC and KUVAR-GY serial sensor modules.\n\n"
        "The window opens with the port and baud rate kept from the last run; no port is\n"
        "opened until the connect button is pressed or --connect is given."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Show this help and exit."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Show the version and exit."));
    const QCommandLineOption port(
        QStringLiteral("port"),
        QStringLiteral("Put PATH into \"Port No\" at start, as if typed: a device such as "
                       "/dev/ttyUSB0, a kuvar-sim link, or a COM name (COM3 opens /dev/ttyS2)."),
        QStringLiteral("PATH"));
    const QCommandLineOption baud(
        QStringLiteral("baud"),
        QStringLiteral("Put RATE into \"Baudrate\" at start, as if typed: 9600, 38400, 57600, "
                       "115200 or another standard rate up to 256000."),
        QStringLiteral("RATE"));
    const QCommandLineOption connect(
        QStringLiteral("connect"),
        QStringLiteral("Open the port at start, as the connect button does; a failure shows in "
                       "the status bar."));
    const QCommandLineOption settings(
        QStringLiteral("settings"),
        QStringLiteral("Read and write the settings in FILE instead of UserSet.dat in its "
                       "default place."),
        QStringLiteral("FILE"));
    const QCommandLineOption lang(
        QStringLiteral("lang"),
        QStringLiteral("The interface's language: ko, the window as designed (its questions in "
                       "Korean), or en, all in English. Without it, Language in the [Interface] "
                       "group of ~/.config/kuvar/kuvar.conf, else ko."),
        QStringLiteral("LANG"));
    parser.addOptions({help, version, port, baud, connect, settings, lang});
    for (const char* name : kQtValueOptions)
        AddHidden(parser, QString::fromLatin1(name), QStringLiteral("value"));
    for (const char* name : kQtFlagOptions)
        AddHidden(parser, QString::fromLatin1(name), QString());

    if (!parser.parse(arguments))
        return Refused(parser.errorText());
    if (!parser.positionalArguments().isEmpty())
        return Refused(QStringLiteral("unexpected argument: %1")
                           .arg(parser.positionalArguments().constFirst()));

    TCommandLine line;
    if (parser.isSet(help)) {
        line.action = TCommandLine::TAction::PrintHelp;
        // The parser's usage line names the path it was started by, or no program at all when
        // there is no application object yet; the manual page wants the plain name.
        QString text = parser.helpText();
        text.replace(0, text.indexOf(QLatin1Char('\n')),
                     QStringLiteral("Usage: %1 [options]").arg(kProgram));
        line.text = text + QStringLiteral("\nQt's own options, such as -platform NAME and -style "
                                          "NAME, are passed on to Qt.\n");
        return line;
    }
    if (parser.isSet(version)) {
        line.action = TCommandLine::TAction::PrintVersion;
        line.text =
            QStringLiteral("%1 %2\n%3")
                .arg(kProgram, QStringLiteral(KUVAR_VERSION), QStringLiteral(KUVAR_VERSION_NOTICE));
        return line;
    }
    for (const QCommandLineOption* option : {&port, &baud, &settings, &lang}) {
        if (parser.isSet(*option) && parser.value(*option).trimmed().isEmpty())
            return Refused(QStringLiteral("--%1 needs a value").arg(option->names().constFirst()));
    }
    line.port = parser.value(port);
    line.baud = parser.value(baud).trimmed();
    if (!line.baud.isEmpty()) {
        const QString error = RateError(line.baud);
        if (!error.isEmpty())
            return Refused(QStringLiteral("--baud: %1").arg(error));
    }
    if (parser.isSet(settings))
        line.settingsFile = QFileInfo(parser.value(settings)).absoluteFilePath();
    line.connect = parser.isSet(connect);
    line.language = parser.value(lang).trimmed();
    if (!line.language.isEmpty() && !LanguageNamed(line.language))
        return Refused(QStringLiteral("--lang: %1 is not a language of the program (ko or en)")
                           .arg(line.language));
    return line;
}

int ReportCommandLine(const TCommandLine& commandLine) {
    if (commandLine.action == TCommandLine::TAction::Refuse) {
        std::fprintf(stderr, "%s: %s\nTry '%s --help' for more information.\n",
                     qPrintable(kProgram), qPrintable(commandLine.text), qPrintable(kProgram));
        return 2;
    }
    std::fputs(commandLine.text.toLocal8Bit().constData(), stdout);
    std::fflush(stdout);
    return 0;
}

TAppPaths AppPathsFor(const TCommandLine& commandLine, const TAppPaths& defaults) {
    TAppPaths paths = defaults;
    if (!commandLine.settingsFile.isEmpty())
        paths.settingsFile = commandLine.settingsFile;
    return paths;
}

void ApplyCommandLine(const TCommandLine& commandLine, TfKUVAR& window) {
    if (!commandLine.port.isEmpty())
        window.TopPanel.ePortNo->setEditText(commandLine.port);
    if (!commandLine.baud.isEmpty())
        window.TopPanel.cbBaudrate->setEditText(commandLine.baud);
    if (commandLine.connect)
        Guarded([&] { window.btConnectClick(); });
}

} // namespace kuvar
