// SPDX-License-Identifier: GPL-3.0-or-later
// Replies that are not what they seem: the window's own frames coming back on a looped-back
// line, two modules answering, another module's reply, NUL bytes, replies far longer than any
// module sends, and the device lost in the middle of a command. The window runs here against a
// pseudo-terminal whose other end the test plays.
#include "tests/e2e/pty_line.h"
#include "tests/e2e/window_driver.h"

#include <QAccessible>
#include <QTextBlock>

#include <gtest/gtest.h>

using namespace kuvar;

namespace {

using Strings = std::vector<std::string>;

class FaultReplies : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(line.Ok());
        ASSERT_TRUE(fixture.OpenPort(line.Path())) << w.StatusText(0).toStdString();
    }
    // The frames the window sent, without their checksum digits.
    Strings SentTexts() {
        line.Frames(line.Read());
        Strings texts;
        for (const std::string& frame : line.Sent())
            texts.push_back(frame.size() >= 2 ? frame.substr(0, frame.size() - 2) : frame);
        return texts;
    }
    QString LastLogLine() const { return w.LeftColumn.Memo1->document()->lastBlock().text(); }

    TPtyLine line;
    TWindowFixture fixture;
    TfKUVAR& w = *fixture.window;
};

Strings Repeat(const std::string& text, int count) {
    return Strings(static_cast<std::size_t>(count), text);
}

Strings operator+(Strings a, const Strings& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

} // namespace

// What must hold: on a line with TX and RX shorted, the window's own frames are no answer. ID
// Find tries six times, asks ID 1 for its scale six times and its version once, and eID keeps
// its text, instead of taking "<0" from the echo and sending "<<0 SCALE>".
TEST_F(FaultReplies, ALoopedBackLineIsNoAnswerToIdFind) {
    line.Respond([](const std::string& frame) { return frame + "\r"; });
    fixture.ClickButton(w.AcPage.btACIDFind);
    EXPECT_EQ(SentTexts(),
              (Repeat("<0 ID>", 6) + Repeat("<1 SCALE>", 6) + Strings{"<1 STOP>", "<1 VER>"}));
    EXPECT_EQ(w.AcPage.eID->text().toStdString(), "1");
    EXPECT_EQ(w.AcPage.edACVersion->text().toStdString(), "");
    EXPECT_TRUE(fixture.boxes.seen.contains(QStringLiteral("KUVAR-AC 제품이 아닙니다.")));
    // Every echo is still in the log.
    EXPECT_TRUE(fixture.LogContains(QStringLiteral("<1 SCALE>")));
}

// What must hold: when two modules answer ID Find, the page takes the last one as before, and
// status panel 0 says that more than one ID answered.
TEST_F(FaultReplies, TwoModulesAnsweringIdFindAreNamedInPanelZero) {
    line.Respond([](const std::string& frame) -> std::string {
        if (frame.rfind("<0 ID>", 0) == 0)
            return ModuleReply("[3 02 ID]") + ModuleReply("[9 12 ID]");
        if (frame.rfind("<9 SCALE>", 0) == 0)
            return ModuleReply("[9 SCALE 2]");
        if (frame.rfind("<9 VER>", 0) == 0)
            return ModuleReply("[9 VER KUVAR-AC V2.0]");
        return {};
    });
    fixture.ClickButton(w.AcPage.btACIDFind);
    EXPECT_EQ(w.AcPage.eID->text().toStdString(), "9");
    EXPECT_EQ(w.AcPage.edACVersion->text().toStdString(), "[9 VER KUVAR-AC V2.0]");
    EXPECT_EQ(w.StatusText(0).toStdString(), "More than one module answered: IDs 3, 9");
    EXPECT_EQ(SentTexts(), (Strings{"<0 ID>", "<9 SCALE>", "<9 STOP>", "<9 VER>"}));
}

// What must hold: a reply that names another ID than the one asked is no answer to the query.
TEST_F(FaultReplies, AnotherModulesReplyIsNoAnswerToAQuery) {
    line.Respond([](const std::string& frame) -> std::string {
        if (frame.rfind("<7 VER>", 0) == 0)
            return ModuleReply("[9 VER KUVAR-AC V2.0]");
        if (frame.rfind("<7 STOP>", 0) == 0)
            return ModuleReply("[7 STOP]");
        return {};
    });
    w.AcPage.eID->setText(QStringLiteral("7"));
    fixture.ClickButton(w.AcPage.btACVersion);
    ASSERT_TRUE(WaitFor([&] { return fixture.LogContains(QStringLiteral("[9 VER")); }, 3000));
    WaitFor([] { return false; }, 100);
    EXPECT_EQ(w.AcPage.edACVersion->text().toStdString(), "");
}

// What must hold: a reply with NUL bytes shows them visibly ("^@"), and the log's text stays
// whole for assistive technology (a NUL ends it there), so that later replies are read too.
TEST_F(FaultReplies, NulBytesInAReplyAreShownAndKeepTheLogReadable) {
    ASSERT_TRUE(line.Write(ModuleReply(std::string("[1 \0VER\0]", 9)) + ModuleReply("[1 STOP]")));
    ASSERT_TRUE(WaitFor([&] { return LastLogLine() == QStringLiteral("[1 STOP]"); }, 3000));
    const QString shown = w.LeftColumn.Memo1->document()->findBlockByNumber(0).text();
    EXPECT_EQ(shown.toStdString(), "[1 ^@VER^@]");
    QAccessibleInterface* log = QAccessible::queryAccessibleInterface(w.LeftColumn.Memo1);
    ASSERT_TRUE(log && log->textInterface());
    const QString text = log->textInterface()->text(0, log->textInterface()->characterCount());
    EXPECT_FALSE(text.contains(QChar(0)));
    EXPECT_TRUE(text.contains(QStringLiteral("[1 STOP]"))) << text.toStdString();
}

// What must hold: a reply far longer than any module sends is shown cut with a mark that says
// so, and the log stays small; the replies after it are shown whole.
TEST_F(FaultReplies, RepliesOfSixtyFourKilobytesAreShownCutWithAMark) {
    const std::string longReply = "[1 " + std::string(64 * 1024 - 4, 'x') + "]";
    std::string bytes;
    for (int i = 0; i < 40; ++i)
        bytes += ModuleReply(longReply);
    ASSERT_TRUE(line.Write(bytes + ModuleReply("[1 STOP]"), 10000));
    ASSERT_TRUE(WaitFor([&] { return LastLogLine() == QStringLiteral("[1 STOP]"); }, 10000));
    const QTextDocument* doc = w.LeftColumn.Memo1->document();
    ASSERT_EQ(doc->blockCount(), 41);
    const QString first = doc->firstBlock().text();
    EXPECT_TRUE(first.startsWith(QStringLiteral("[1 xxx")));
    EXPECT_TRUE(first.endsWith(QStringLiteral(" \u2026 [cut: 65536 characters in all]")))
        << first.right(60).toStdString();
    EXPECT_LT(doc->characterCount(), 41 * 5000);
}

// What must hold: when the device goes away during ID Find, the command ends there: "Device
// disconnected (...)" stays in panel 0, no further tries overwrite it, and no "Open Com port."
// box comes from the command's later steps.
TEST_F(FaultReplies, DeviceLostDuringIdFindEndsTheCommandAndKeepsTheMessage) {
    QTimer hangUp;
    QObject::connect(&hangUp, &QTimer::timeout, [&] {
        line.Frames(line.Read());
        if (!line.Sent().empty()) {
            hangUp.stop();
            line.HangUp();
        }
    });
    hangUp.start(5);
    fixture.ClickButton(w.AcPage.btACIDFind);
    EXPECT_FALSE(w.Link->PortOpen());
    EXPECT_TRUE(
        w.StatusText(0).startsWith(QStringLiteral("Device disconnected (%1). - ").arg(line.Path())))
        << w.StatusText(0).toStdString();
    EXPECT_EQ(fixture.boxes.seen.join(QStringLiteral(" | ")).toStdString(),
              "센서 ID를 찾습니다. 센서가 1개만 연결되어 있습니까?");
    EXPECT_EQ(SentTexts(), Strings{"<0 ID>"});
}
