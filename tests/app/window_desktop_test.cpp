// SPDX-License-Identifier: GPL-3.0-or-later
// The window on a desktop: any size of screen, its place kept, its messages readable whole,
// the keyboard, and clicks that reach what they point at.
#include "app/delay.h"
#include "app/main_window.h"
#include "app/tab_order.h"

#include <QAccessible>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

#include "tests/app/qstring_print.h"

#include <gtest/gtest.h>

#include <memory>

using namespace kuvar;

namespace {

class Desktop : public ::testing::Test {
protected:
    QTemporaryDir dir;
    TAppPaths paths{dir.filePath(QStringLiteral("UserSet.dat")), dir.path(),
                    dir.filePath(QStringLiteral("kuvar.conf"))};

    std::unique_ptr<TfKUVAR> Open() {
        auto window = std::make_unique<TfKUVAR>(paths);
        window->show();
        Delay(0);
        return window;
    }
    static bool WaitForClosed(const QWidget& w) {
        for (int i = 0; i < 100 && w.isVisible(); ++i)
            Delay(10);
        return !w.isVisible();
    }
    static QPoint InWindow(const QWidget* control, QPoint at) {
        return control->mapTo(control->window(), at);
    }
};

} // namespace

// At 800 x 500 the canvas scrolls, the status bar stays below it, and Close can be scrolled
// to and clicked where it is drawn.
TEST_F(Desktop, ASmallWindowScrollsAndCloseCanBeReachedAndClicked) {
    auto w = Open();
    w->resize(800, 500);
    Delay(0);
    EXPECT_TRUE(w->Canvas->horizontalScrollBar()->isVisible());
    EXPECT_TRUE(w->Canvas->verticalScrollBar()->isVisible());
    EXPECT_FALSE(w->Canvas->geometry().intersects(w->StatusBar1->geometry()))
        << "the status bar is never drawn over the log";
    EXPECT_EQ(w->StatusBar1->geometry().bottom(), w->height() - 1);
    // Every control keeps its design place on the surface.
    EXPECT_EQ(w->TopPanel.btClose->geometry(), QRect(1039, 7, 65, 41));
    EXPECT_EQ(w->LeftColumn.Memo1->geometry(), QRect(16, 240, 265, 441));
    EXPECT_EQ(w->PageControl1->geometry(), QRect(294, 72, 838, 609));

    w->Canvas->ensureWidgetVisible(w->TopPanel.btClose);
    const QPoint at = InWindow(w->TopPanel.btClose, w->TopPanel.btClose->rect().center());
    ASSERT_TRUE(w->rect().contains(at));
    ASSERT_EQ(w->childAt(at), w->TopPanel.btClose);
    QTest::mouseClick(w->windowHandle(), Qt::LeftButton, Qt::NoModifier, at);
    EXPECT_TRUE(WaitForClosed(*w));
}

TEST_F(Desktop, AtItsDesignSizeNothingScrollsAndALargerWindowStretchesWhatTheDesignStretches) {
    auto w = Open();
    w->resize(1133, 700);
    Delay(0);
    EXPECT_FALSE(w->Canvas->horizontalScrollBar()->isVisible());
    EXPECT_FALSE(w->Canvas->verticalScrollBar()->isVisible());
    EXPECT_EQ(w->TopPanel.SCPanel1->geometry(), QRect(0, 0, 1136, 65));
    EXPECT_EQ(w->StatusBar1->geometry(), QRect(0, 681, 1133, 19));

    w->resize(1433, 900);
    Delay(0);
    EXPECT_FALSE(w->Canvas->horizontalScrollBar()->isVisible());
    EXPECT_FALSE(w->Canvas->verticalScrollBar()->isVisible());
    EXPECT_EQ(w->TopPanel.SCPanel1->geometry(), QRect(0, 0, 1436, 65));
    EXPECT_EQ(w->PageControl1->geometry(), QRect(294, 72, 838, 809));
    EXPECT_EQ(w->TopPanel.btClose->geometry(), QRect(1039, 7, 65, 41));
    EXPECT_EQ(w->StatusBar1->geometry(), QRect(0, 881, 1433, 19));
}

// The place and size come back after a restart; UserSet.dat holds the same bytes whether the
// per-user file is kept or not.
TEST_F(Desktop, ThePlaceSurvivesARestartAndUserSetDatKeepsItsBytes) {
    const QRect place(40, 30, 700, 450);
    {
        auto w = Open();
        EXPECT_FALSE(w->windowIcon().isNull());
        w->setGeometry(place);
        Delay(0);
        ASSERT_TRUE(w->close());
    }
    QFile file(paths.settingsFile);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray withPlace = file.readAll();
    file.close();
    EXPECT_EQ(withPlace.size(), kUserSetSize);
    EXPECT_TRUE(QFile::exists(paths.preferencesFile));
    {
        auto w = Open();
        EXPECT_EQ(w->geometry(), place);
        EXPECT_TRUE(w->close());
    }
    // The same controls without the per-user file: the same bytes.
    QTemporaryDir other;
    TAppPaths without{other.filePath(QStringLiteral("UserSet.dat")), other.path()};
    {
        TfKUVAR w(without);
        w.show();
        EXPECT_TRUE(w.close());
    }
    QFile second(without.settingsFile);
    ASSERT_TRUE(second.open(QIODevice::ReadOnly));
    EXPECT_EQ(second.readAll(), withPlace);
}

TEST_F(Desktop, AStoredPlaceOffTheScreenIsBroughtBackInside) {
    QFile conf(paths.preferencesFile);
    ASSERT_TRUE(conf.open(QIODevice::WriteOnly));
    conf.write("[Window]\nGeometry=@Rect(-900 -700 3000 2000)\nMaximized=false\n");
    conf.close();
    auto w = Open();
    Delay(50);
    const QRect available = w->screen()->availableGeometry();
    EXPECT_TRUE(available.contains(w->frameGeometry()))
        << w->frameGeometry().x() << "," << w->frameGeometry().y() << " "
        << w->frameGeometry().width() << "x" << w->frameGeometry().height();
}

// A per-user file that is not a small regular file is neither read nor replaced.
TEST_F(Desktop, APreferencesFileThatIsNoRegularFileIsLeftAlone) {
    ASSERT_TRUE(QDir().mkpath(paths.preferencesFile));
    auto w = Open();
    EXPECT_TRUE(w->close());
    EXPECT_TRUE(QFileInfo(paths.preferencesFile).isDir());
    EXPECT_EQ(QFile(paths.settingsFile).size(), kUserSetSize);
}

// A reply error longer than the panel: its tooltip and its accessible text are the whole line;
// the panel's role is its description, never a name that hides the text.
TEST_F(Desktop, StatusPanelsShowTheirWholeTextAsTooltipAndToAccessibility) {
    auto w = Open();
    const std::string error =
        "Specified device not found (/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-"
        "port0).";
    w->ShowAppException(w.get(), std::runtime_error(error));
    for (int panel : {0, 1}) {
        auto* label = w->StatusBar1->findChild<QLabel*>(QStringLiteral("StatusPanel%1").arg(panel));
        ASSERT_TRUE(label);
        if (panel == 1)
            w->ShowSentFrame(QStringLiteral("<1 VER>52\r"));
        const QString text = w->StatusText(panel);
        EXPECT_EQ(label->toolTip(), text);
        EXPECT_TRUE(label->accessibleName().isEmpty());
        EXPECT_FALSE(label->accessibleDescription().isEmpty());
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(label);
        ASSERT_TRUE(a);
        EXPECT_EQ(a->text(QAccessible::Name), text);
        EXPECT_EQ(a->text(QAccessible::Description), label->accessibleDescription());
    }
    EXPECT_TRUE(w->StatusText(0).startsWith(QString::fromStdString(error)));
    EXPECT_GT(w->StatusBar1->fontMetrics().horizontalAdvance(w->StatusText(0)), 300);
}

TEST(ReadingOrder, BandsFromTheTopEachFromLeftToRight) {
    // The AC page's top band: a tall button joins the two rows of small controls into one band.
    const std::vector<QRect> rects = {
        {85, 31, 59, 20},  // 0 ID Change
        {4, 8, 65, 20},    // 1 ID Find
        {37, 31, 31, 21},  // 2 ID No
        {112, 9, 32, 21},  // 3 New
        {220, 15, 53, 34}, // 4 Baudrate, 34 high
        {1, 66, 81, 34},   // 5 the next band
        {185, 92, 80, 17}, // 6
        {97, 66, 81, 34},  // 7
        {12, 300, 10, 10}, // 8
        {12, 200, 10, 10}, // 9
    };
    EXPECT_EQ(ReadingOrder(rects), (std::vector<int>{1, 2, 0, 3, 4, 5, 7, 6, 9, 8}));
    // Without the tall button the two rows are two bands.
    const std::vector<QRect> rows(rects.begin(), rects.begin() + 4);
    EXPECT_EQ(ReadingOrder(rows), (std::vector<int>{1, 3, 2, 0}));
    EXPECT_TRUE(ReadingOrder({}).empty());
}

// Tab goes through the top panel, the left column, then the page, each in reading order.
TEST_F(Desktop, TabFollowsTheLayoutsReadingOrder) {
    auto w = Open();
    w->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
    w->TopPanel.ePortNo->setFocus();
    QStringList visited;
    for (int i = 0; i < 19; ++i) {
        QWidget* focus = QApplication::focusWidget();
        ASSERT_TRUE(focus);
        // An editable combo's line edit stands for its combo.
        while (focus->objectName().isEmpty() && focus->parentWidget())
            focus = focus->parentWidget();
        visited << focus->objectName();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    EXPECT_EQ(visited.join(QLatin1Char(' ')).toStdString(),
              "ePortNo cbBaudrate btConnect btAC btGY btRecord btClose edSend1 bt360Send1 edSend2 "
              "bt360Send2 edSend3 bt360Send3 btClear Memo1 btACIDFind eID btIDchange edACNewID");
}

// A colour button reached with Tab is pressed with Space, as with the mouse; a mouse click on
// one leaves the focus in the line being typed.
TEST_F(Desktop, SpacePressesTheColourButtonThatTabReached) {
    auto w = Open();
    w->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
    w->LeftColumn.edSend1->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), w->LeftColumn.edSend1);
    QTest::mouseClick(w->TopPanel.btGY, Qt::LeftButton);
    EXPECT_EQ(QApplication::focusWidget(), w->LeftColumn.edSend1)
        << QApplication::focusWidget()->objectName().toStdString();
    EXPECT_EQ(w->PageControl1->currentIndex(), 3) << "the GY page";

    w->TopPanel.btGY->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ShiftModifier);
    ASSERT_EQ(QApplication::focusWidget(), w->TopPanel.btAC);
    QTest::keyClick(w->TopPanel.btAC, Qt::Key_Space);
    EXPECT_EQ(w->PageControl1->currentIndex(), 2) << "the AC page";
}

TEST_F(Desktop, CtrlQClosesAsCloseDoes) {
    auto w = Open();
    w->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
    w->LeftColumn.edSend3->setText(QStringLiteral("<0 ID>"));
    QTest::keyClick(w.get(), Qt::Key_Q, Qt::ControlModifier);
    EXPECT_FALSE(w->isVisible());
    TUserSetRecord record;
    LoadUserSet(paths.settingsFile, record);
    EXPECT_EQ(record.Text(UserSetField::Send3), QStringLiteral("<0 ID>"));
}

// The indicator's bounding square covers the lower rows of "Yaw Reset"; its corners are not
// painted and let the click through.
TEST_F(Desktop, TheIndicatorsCornersLetClicksThrough) {
    auto w = Open();
    QTest::mouseClick(w->TopPanel.btGY, Qt::LeftButton);
    modules::TGyPage& gy = w->GyPage;
    const QRect reset = gy.btGYAngleReset->geometry();
    ASSERT_TRUE(reset.intersects(gy.abGYCircle->geometry()));
    const QPoint lowerRow(reset.left() + 10, gy.abGYCircle->geometry().top() + 5);
    ASSERT_TRUE(reset.contains(lowerRow));
    EXPECT_EQ(w->childAt(InWindow(gy.sheet, lowerRow)), gy.btGYAngleReset);
    const QRect circle = gy.abGYCircle->geometry();
    EXPECT_EQ(w->childAt(InWindow(gy.sheet, circle.center())), gy.abGYCircle);
}

// No editable combo completes what is typed into something else.
TEST_F(Desktop, NoComboCompletesTheTypedText) {
    auto w = Open();
    int combos = 0;
    for (QComboBox* combo : w->findChildren<QComboBox*>()) {
        if (!combo->isEditable())
            continue;
        ++combos;
        EXPECT_EQ(combo->completer(), nullptr) << combo->objectName().toStdString();
    }
    EXPECT_GE(combos, 8);
}

// With …/mod10 listed, typing the whole path of mod1 leaves mod1 in the box, Enter included:
// the text as typed decides which port opens.
TEST_F(Desktop, TheTypedPortTextStaysAsTyped) {
    auto w = Open();
    w->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
    QComboBox* port = w->TopPanel.ePortNo;
    port->addItem(QStringLiteral("/tmp/kuvar-sim-0/mod10"));
    port->addItem(QStringLiteral("/dev/ttyS0"));
    for (const QString& typed : {QStringLiteral("/tmp/kuvar-sim-0/mod1"),
                                 QStringLiteral("/dev/tty"), QStringLiteral("/")}) {
        port->setFocus();
        port->lineEdit()->clear();
        QTest::keyClicks(port->lineEdit(), typed);
        EXPECT_EQ(port->currentText(), typed);
        QTest::keyClick(port->lineEdit(), Qt::Key_Return);
        EXPECT_EQ(port->currentText(), typed);
        EXPECT_EQ(w->PortText(), typed);
    }
}
