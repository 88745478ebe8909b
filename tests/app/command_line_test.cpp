// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/command_line.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace kuvar;
using TAction = TCommandLine::TAction;

namespace {

TCommandLine Parse(const QStringList& options) {
    return ParseCommandLine(QStringList{QStringLiteral("/usr/bin/kuvar")} + options);
}

TEST(CommandLine, ReadsTheOptionsAnOperatorGives) {
    struct Case {
        QStringList options;
        QString port, baud, settings; // settings relative to the current folder
        bool connect;
    } cases[] = {
        {{}, {}, {}, {}, false},
        {{"--port", "/dev/ttyUSB0", "--baud", "57600"}, "/dev/ttyUSB0", "57600", {}, false},
        {{"--port=COM3", "--baud=9600", "--connect"}, "COM3", "9600", {}, true},
        // One dash, as Qt programs take their long options.
        {{"-port", "COM2", "-connect"}, "COM2", {}, {}, true},
        {{"--baud", " 256000 "}, {}, "256000", {}, false},
        {{"--settings", "bench/UserSet.dat"}, {}, {}, "bench/UserSet.dat", false},
        // The last of a repeated option counts.
        {{"--port", "COM1", "--port", "COM4"}, "COM4", {}, {}, false},
        // Qt's own options and their values pass.
        {{"-platform", "offscreen", "-style", "Fusion", "-reverse", "--port", "COM5"},
         "COM5",
         {},
         {},
         false},
        {{"--platform", "xcb", "-display", ":1"}, {}, {}, {}, false},
    };
    for (const Case& c : cases) {
        const QString shown = c.options.join(QLatin1Char(' '));
        const TCommandLine line = Parse(c.options);
        ASSERT_EQ(line.action, TAction::RunWindow)
            << shown.toStdString() << ": " << line.text.toStdString();
        EXPECT_EQ(line.port, c.port) << shown.toStdString();
        EXPECT_EQ(line.baud, c.baud) << shown.toStdString();
        EXPECT_EQ(line.settingsFile,
                  c.settings.isEmpty() ? QString() : QDir::current().absoluteFilePath(c.settings))
            << shown.toStdString();
        EXPECT_EQ(line.connect, c.connect) << shown.toStdString();
    }
}

TEST(CommandLine, RefusesWhatItCannotRun) {
    struct Case {
        QStringList options;
        const char* why;
    } cases[] = {
        {{"--bogus"}, "Unknown option 'bogus'"},
        {{"-x"}, "Unknown option 'x'"},
        // An error wins over --help, so a script learns of its mistake.
        {{"--help", "--bogus"}, "Unknown option 'bogus'"},
        {{"--port"}, "Missing value after '--port'"},
        {{"--port", ""}, "--port needs a value"},
        {{"--settings", " "}, "--settings needs a value"},
        {{"--baud", "fast"}, "--baud: 'fast' is not a valid integer value"},
        {{"--baud", "12345"}, "--baud: baud rate 12345 is not supported"},
        {{"COM3"}, "unexpected argument: COM3"},
    };
    for (const Case& c : cases) {
        const TCommandLine line = Parse(c.options);
        EXPECT_EQ(line.action, TAction::Refuse) << c.why;
        EXPECT_TRUE(line.text.contains(QString::fromLatin1(c.why)))
            << c.why << ": " << line.text.toStdString();
    }
}

TEST(CommandLine, HelpAndVersionNameTheProgram) {
    for (const QString& option : {QStringLiteral("--help"), QStringLiteral("-h")}) {
        const TCommandLine line = Parse({option, QStringLiteral("--port"), QStringLiteral("COM3")});
        ASSERT_EQ(line.action, TAction::PrintHelp);
        EXPECT_TRUE(line.text.startsWith(QStringLiteral("Usage: kuvar [options]\n")))
            << line.text.toStdString();
        for (const char* name : {"--help", "--version", "--port <PATH>", "--baud <RATE>",
                                 "--connect", "--settings <FILE>"})
            EXPECT_TRUE(line.text.contains(QString::fromLatin1(name))) << name;
        // Qt's options are accepted without being listed one by one.
        EXPECT_FALSE(line.text.contains(QStringLiteral("--platform")));
    }
    for (const QString& option : {QStringLiteral("--version"), QStringLiteral("-v")}) {
        const TCommandLine line = Parse({option});
        ASSERT_EQ(line.action, TAction::PrintVersion);
        EXPECT_TRUE(line.text.startsWith(QStringLiteral("kuvar " KUVAR_PROJECT_VERSION "\n")))
            << line.text.toStdString();
    }
}

// The program itself, as a shell or a desktop launcher starts it.
struct TRun {
    int exitCode = -1;
    QString out, err;
};

TRun RunKuvar(const QStringList& options, const QProcessEnvironment& env) {
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(KUVAR_PROGRAM), options);
    TRun run;
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
        return run;
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = QString::fromLocal8Bit(process.readAllStandardOutput());
    run.err = QString::fromLocal8Bit(process.readAllStandardError());
    return run;
}

// Nothing but PATH: no display, no QT_QPA_PLATFORM, no HOME.
QProcessEnvironment BareEnvironment() {
    QProcessEnvironment env;
    env.insert(QStringLiteral("PATH"),
               qEnvironmentVariable("PATH", QStringLiteral("/usr/bin:/bin")));
    return env;
}

TEST(KuvarProgram, AnswersHelpVersionAndMistakesWithoutADisplay) {
    struct Case {
        QStringList options;
        int exitCode;
        const char* outStart; // empty: nothing on standard output
        const char* errHas;   // empty: nothing on standard error
    } cases[] = {
        {{"--help"}, 0, "Usage: kuvar [options]\n", ""},
        {{"--version"}, 0, "kuvar " KUVAR_PROJECT_VERSION "\nCopyright (C) ", ""},
        {{"--bogus"}, 2, "", "kuvar: Unknown option 'bogus'."},
        {{"--baud", "12345", "--connect"}, 2, "", "baud rate 12345 is not supported"},
    };
    for (const Case& c : cases) {
        const QString shown = c.options.join(QLatin1Char(' '));
        const TRun run = RunKuvar(c.options, BareEnvironment());
        EXPECT_EQ(run.exitCode, c.exitCode) << shown.toStdString() << ": " << run.err.toStdString();
        // An empty expectation means nothing at all on that stream.
        EXPECT_TRUE(*c.outStart ? run.out.startsWith(QString::fromLatin1(c.outStart))
                                : run.out.isEmpty())
            << shown.toStdString() << ": " << run.out.toStdString();
        EXPECT_TRUE(*c.errHas ? run.err.contains(QString::fromLatin1(c.errHas)) : run.err.isEmpty())
            << shown.toStdString() << ": " << run.err.toStdString();
    }
}

TEST(KuvarProgram, KeepsItsSettingsInTheFileOfTheCommandLine) {
    QTemporaryDir dir;
    const QString settings = dir.filePath(QStringLiteral("bench/two.dat"));
    ASSERT_TRUE(QDir().mkpath(QFileInfo(settings).absolutePath()));
    // The file beside the program, which it uses without --settings, must stay as it is.
    const QString beside = QFileInfo(QStringLiteral(KUVAR_PROGRAM))
                               .absoluteDir()
                               .filePath(QStringLiteral("UserSet.dat"));
    const bool besideExisted = QFileInfo::exists(beside);
    const QDateTime besideTime = QFileInfo(beside).lastModified();

    QProcessEnvironment env = BareEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("HOME"), dir.path());
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), dir.path());
    QProcess process;
    process.setProcessEnvironment(env);
    process.setWorkingDirectory(dir.path());
    process.start(QStringLiteral(KUVAR_PROGRAM),
                  {QStringLiteral("--settings"), QStringLiteral("bench/two.dat")});
    ASSERT_TRUE(process.waitForStarted(30000));
    // The window creates the file with the defaults at start.
    bool written = false;
    for (int i = 0; i < 600 && !written && process.state() == QProcess::Running; ++i) {
        written = QFileInfo(settings).size() == 715;
        if (!written)
            process.waitForFinished(100);
    }
    process.terminate();
    if (!process.waitForFinished(30000))
        process.kill();
    process.waitForFinished();
    EXPECT_TRUE(written) << process.readAllStandardError().toStdString();
    EXPECT_EQ(QFileInfo::exists(beside), besideExisted);
    if (besideExisted) {
        EXPECT_EQ(QFileInfo(beside).lastModified(), besideTime);
    }
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral(".config/kuvar/UserSet.dat"))));
}

} // namespace
