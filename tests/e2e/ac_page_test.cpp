// SPDX-License-Identifier: GPL-3.0-or-later
// The KUVAR-AC page against a simulated accelerometer, as an operator uses it.
#include "tests/e2e/sim_process.h"
#include "tests/e2e/window_driver.h"

#include <gtest/gtest.h>

using namespace kuvar;

namespace {

class AcPage : public ::testing::Test {
protected:
    QTemporaryDir simDir;
    TWindowFixture fixture;
    TfKUVAR& w = *fixture.window;
    modules::TAcPage& ac = w.AcPage;

    std::unique_ptr<TSimProcess> StartSim(const QStringList& options = {}) {
        auto sim = std::make_unique<TSimProcess>(QStringLiteral("ac"),
                                                 simDir.filePath(QStringLiteral("ac")), options);
        EXPECT_TRUE(sim->Started());
        EXPECT_TRUE(fixture.OpenPort(sim->Link()));
        return sim;
    }
    // The log lines that arrived after `from`.
    QStringList LogSince(int from) const {
        return w.LeftColumn.Memo1->toPlainText().split(QLatin1Char('\n')).mid(from);
    }
    int LogLines() const {
        return w.LeftColumn.Memo1->toPlainText().split(QLatin1Char('\n')).size();
    }
    void Click(QWidget* button) { fixture.ClickButton(button); }
};

} // namespace

TEST_F(AcPage, IdFindFillsThePageFromTheModule) {
    auto sim = StartSim({QStringLiteral("--id"), QStringLiteral("3"), QStringLiteral("--scale"),
                         QStringLiteral("4")});
    ac.eID->setText(QStringLiteral("9"));
    Click(ac.btACIDFind);
    EXPECT_EQ(ac.eID->text(), QStringLiteral("3"));
    EXPECT_EQ(ac.cbACScale->currentText(), QStringLiteral("4"));
    EXPECT_EQ(ac.cbACMode->currentText(), QStringLiteral("0"));
    EXPECT_TRUE(ac.edACVersion->text().contains(QStringLiteral("KUVAR-AC")))
        << ac.edACVersion->text().toStdString();
    EXPECT_FALSE(fixture.boxes.seen.contains(QStringLiteral("KUVAR-AC 제품이 아닙니다.")));
    EXPECT_TRUE(fixture.boxes.seen.contains(
        QStringLiteral("센서 ID를 찾습니다. 센서가 1개만 연결되어 있습니까?")));
}

TEST_F(AcPage, StartShowsTheStreamAndStopFreezesIt) {
    auto sim = StartSim({QStringLiteral("--interval"), QStringLiteral("20")});
    Click(ac.btACStart);
    ASSERT_TRUE(WaitFor([&] { return ac.Chart1->Chart().Series(0).Count() >= 10; }, 4000));
    // The module stands near 1 g on its Z axis.
    EXPECT_GT(ac.ssACZ->Value(), 800);
    EXPECT_LT(ac.ssACZ->Value(), 1200);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(ac.Chart1->Chart().Series(i).Count(), ac.Chart1->Chart().Series(0).Count());
    }

    QElapsedTimer clock;
    clock.start();
    Click(ac.btACStop);
    ASSERT_TRUE(WaitFor(
        [&] { return w.LeftColumn.Memo1->toPlainText().contains(QStringLiteral("STOP]")); }, 3000));
    EXPECT_LT(clock.elapsed(), 1500) << "the stop sequence ends on the module's STOP reply";
    WaitFor([] { return false; }, 100);
    const int points = ac.Chart1->Chart().Series(0).Count();
    const int lines = LogLines();
    WaitFor([] { return false; }, 300);
    EXPECT_EQ(ac.Chart1->Chart().Series(0).Count(), points);
    EXPECT_EQ(LogLines(), lines) << "the module has stopped streaming";
}

TEST_F(AcPage, ScaleWithYesChangesTheModuleAndSavesIt) {
    auto sim = StartSim();
    ac.cbACScale->setEditText(QStringLiteral("8"));
    Click(ac.btACScale);
    EXPECT_TRUE(
        fixture.boxes.seen.contains(QStringLiteral("센서 Full Scale를 8로 변경하시겠습니까?")));
    EXPECT_TRUE(w.LeftColumn.Memo1->toPlainText().contains(QStringLiteral("[1 SCALE 8]")));
    EXPECT_TRUE(w.LeftColumn.Memo1->toPlainText().contains(QStringLiteral("[1 SAVE]")))
        << "SendSave follows the change";
    // The next frames carry the new scale digit.
    const int from = LogLines();
    Click(ac.btACStart);
    ASSERT_TRUE(WaitFor(
        [&] { return LogSince(from).join(QLatin1Char('\n')).contains(QStringLiteral("[1 08 ")); },
        3000));
}

TEST_F(AcPage, NoPutsTheRememberedValueBack) {
    auto sim = StartSim();
    ac.cbACMode->setEditText(QStringLiteral("1"));
    ac.cbACMode->showPopup(); // the list drops down: "1" is remembered
    ac.cbACMode->hidePopup();
    ac.cbACMode->setEditText(QStringLiteral("3"));
    fixture.boxes.SetAnswer(QMessageBox::No);
    const int from = LogLines();
    Click(ac.btACMode);
    EXPECT_EQ(ac.cbACMode->currentText(), QStringLiteral("1"));
    EXPECT_FALSE(LogSince(from).join(QLatin1Char('\n')).contains(QStringLiteral("MODE")));
    EXPECT_TRUE(w.Link->State.StreamPaused) << "the stream stays stopped after No";
}

TEST_F(AcPage, SilentModuleGivesSixTriesAndNoAnswer) {
    auto sim = StartSim({QStringLiteral("--silent")});
    ac.edACINT->setText(QStringLiteral("50"));
    QStringList status;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (status.isEmpty() || status.last() != w.StatusText(0)) {
            status << w.StatusText(0);
        }
    });
    watch.start(20);
    QElapsedTimer clock;
    clock.start();
    Click(ac.btACINT);
    watch.stop();
    // Six sends, each followed by its 500 ms wait; "Try Connect 6" gives way to "No answer" at
    // once, so a sampler sees the counts up to 5.
    EXPECT_GE(clock.elapsed(), 6 * 500);
    for (int i = 1; i <= 5; ++i) {
        EXPECT_TRUE(status.contains(QStringLiteral("Try Connect %1[sec]").arg(i)))
            << status.join(QLatin1Char('|')).toStdString();
    }
    EXPECT_TRUE(status.contains(QStringLiteral("No answer")));
    EXPECT_EQ(w.StatusText(0), QStringLiteral("No answer")) << "SendSave ends silently after it";
    EXPECT_FALSE(status.contains(QStringLiteral("Try Connect 7[sec]")));
}

TEST_F(AcPage, BaudrateChangeThenTheProgramsRateKeepsTalking) {
    auto sim = StartSim();
    ac.cbACBaudrate->setEditText(QStringLiteral("57600"));
    Click(ac.btACBaudrate);
    EXPECT_TRUE(w.LeftColumn.Memo1->toPlainText().contains(QStringLiteral("[1 SPEED 2]")));
    // The module now talks at 57600: the program follows, as the question told the operator.
    Click(w.TopPanel.btConnect);
    ASSERT_TRUE(fixture.OpenPort(sim->Link(), QStringLiteral("57600")));
    fixture.ClickButton(w.LeftColumn.btClear);
    w.LeftColumn.edSend1->setText(QStringLiteral("<1 VER>"));
    Click(w.LeftColumn.bt360Send1);
    EXPECT_TRUE(
        WaitFor([&] { return fixture.LogContains(QStringLiteral("[1 VER KUVAR-AC")); }, 3000))
        << w.LeftColumn.Memo1->toPlainText().toStdString();
}

TEST_F(AcPage, UnknownRateIsRefusedWithoutSending) {
    auto sim = StartSim();
    ac.cbACBaudrate->setEditText(QStringLiteral("9600"));
    const QString sentBefore = w.StatusText(1);
    Click(ac.btACBaudrate);
    EXPECT_TRUE(w.StatusText(0).contains(QStringLiteral("9600"))) << w.StatusText(0).toStdString();
    EXPECT_EQ(w.StatusText(1), sentBefore);
}
