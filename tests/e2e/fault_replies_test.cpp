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

class FaultReplies : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(line.Ok());
        ASSERT_TRUE(fixture.OpenPort(line.Path())) << w.StatusText(0).toStdString();
    }
    QString LastLogLine() const { return w.LeftColumn.Memo1->document()->lastBlock().text(); }

    TPtyLine line;
    TWindowFixture fixture;
    TfKUVAR& w = *fixture.window;
};

} // namespace

// What must hold: a reply with NUL bytes shows them as a visible sign, and the log's text stays
// whole for assistive technology (a NUL ends it there), so that later replies are read too.
TEST_F(FaultReplies, NulBytesInAReplyAreShownAndKeepTheLogReadable) {
    ASSERT_TRUE(line.Write(ModuleReply(std::string("[1 \0VER\0]", 9)) + ModuleReply("[1 STOP]")));
    ASSERT_TRUE(WaitFor([&] { return LastLogLine() == QStringLiteral("[1 STOP]"); }, 3000));
    const QString shown = w.LeftColumn.Memo1->document()->findBlockByNumber(0).text();
    EXPECT_EQ(shown, QStringLiteral("[1 \u2400VER\u2400]")) << shown.toStdString();
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
