// SPDX-License-Identifier: GPL-3.0-or-later
// The window started as main starts it from a command line, against kuvar-sim.
#include "app/command_line.h"
#include "app/user_settings.h"
#include "tests/e2e/sim_process.h"
#include "tests/e2e/window_driver.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

using namespace kuvar;

namespace {

class CommandLineWindow : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString settings = dir.filePath(QStringLiteral("bench.dat"));
    TBoxAnswerer boxes;
    std::unique_ptr<TfKUVAR> window;

    void SetUp() override {
        // What an earlier run kept in the file.
        TUserSetRecord record;
        record.SetDefaults();
        record.SetText(UserSetField::PortNo, QStringLiteral("COM7"));
        record.SetText(UserSetField::Baudrate, QStringLiteral("38400"));
        SaveUserSet(settings, record);
    }

    // Does what main does with these options.
    TfKUVAR& Start(const QStringList& options) {
        const TCommandLine line = ParseCommandLine(
            QStringList{QStringLiteral("kuvar"), QStringLiteral("--settings"), settings} + options);
        EXPECT_EQ(line.action, TCommandLine::TAction::RunWindow) << line.text.toStdString();
        const TAppPaths defaults{dir.filePath(QStringLiteral("UserSet.dat")),
                                 QStringLiteral(KUVAR_PICTURES)};
        window = std::make_unique<TfKUVAR>(AppPathsFor(line, defaults));
        window->show();
        ApplyCommandLine(line, *window);
        return *window;
    }
};

} // namespace

TEST_F(CommandLineWindow, PortAndRateOverrideTheStoredTextsAndOpenNothing) {
    struct Case {
        QStringList options;
        const char* port;
        const char* rate;
    } cases[] = {
        {{}, "COM7", "38400"}, // the file of --settings was read
        {{"--port", "/dev/ttyUSB0", "--baud", "57600"}, "/dev/ttyUSB0", "57600"},
        {{"--baud", "9600"}, "COM7", "9600"},
    };
    for (const Case& c : cases) {
        TfKUVAR& w = Start(c.options);
        EXPECT_EQ(w.TopPanel.ePortNo->currentText(), QString::fromLatin1(c.port));
        EXPECT_EQ(w.TopPanel.cbBaudrate->currentText(), QString::fromLatin1(c.rate));
        EXPECT_FALSE(w.Link->PortOpen());
        window.reset();
    }
    // Never written to the default place.
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("UserSet.dat"))));
}

TEST_F(CommandLineWindow, ConnectOpensTheLinkAndTheModuleAnswers) {
    TSimProcess sim(QStringLiteral("ac"), dir.filePath(QStringLiteral("ac")),
                    {QStringLiteral("--baud"), QStringLiteral("57600")});
    ASSERT_TRUE(sim.Started());
    TfKUVAR& w = Start({QStringLiteral("--port"), sim.Link(), QStringLiteral("--baud"),
                        QStringLiteral("57600"), QStringLiteral("--connect")});
    ASSERT_TRUE(WaitFor([&] { return w.Link->PortOpen(); }, 5000)) << w.StatusText(0).toStdString();
    w.LeftColumn.edSend1->setText(QStringLiteral("<1 VER>"));
    w.LeftColumn.bt360Send1->click();
    EXPECT_TRUE(
        WaitFor([&] { return w.LeftColumn.Memo1->toPlainText().contains(QStringLiteral("[1 VER")); }, 5000))
        << w.LeftColumn.Memo1->toPlainText().toStdString();
}

TEST_F(CommandLineWindow, AFailedConnectShowsInTheStatusBarAsAClickWould) {
    const QString missing = dir.filePath(QStringLiteral("no-such-link"));
    TfKUVAR& w = Start({QStringLiteral("--port"), missing, QStringLiteral("--connect")});
    EXPECT_FALSE(w.Link->PortOpen());
    const QString fromCommandLine = w.StatusText(0);
    EXPECT_TRUE(fromCommandLine.contains(missing)) << fromCommandLine.toStdString();
    // The same press by hand says the same (but for the time it adds).
    QTest::mouseClick(w.TopPanel.btConnect, Qt::LeftButton, Qt::NoModifier, w.TopPanel.btConnect->rect().center());
    EXPECT_FALSE(w.Link->PortOpen());
    const auto withoutTime = [](QString text) {
        return text.remove(QRegularExpression(QStringLiteral(" - [0-9: -]+$")));
    };
    EXPECT_EQ(withoutTime(w.StatusText(0)), withoutTime(fromCommandLine));
    EXPECT_TRUE(boxes.seen.isEmpty()) << boxes.seen.join(QLatin1Char('|')).toStdString();
}
