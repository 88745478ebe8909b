// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/paint_pacer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPainter>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <vector>

using namespace kuvar;

namespace {

// A child that notes when it is painted.
class TCountingChild : public QWidget {
public:
    using QWidget::QWidget;
    std::vector<qint64> paints;
    QElapsedTimer* clock = nullptr;

protected:
    void paintEvent(QPaintEvent*) override {
        paints.push_back(clock->elapsed());
        QPainter(this).fillRect(rect(), Qt::black);
    }
};

class PaintPacer : public ::testing::Test {
protected:
    PaintPacer() {
        clock.start();
        child.clock = &clock;
        child.setGeometry(10, 10, 50, 20);
        window.resize(200, 100);
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
        QTest::qWait(50);
        child.paints.clear();
    }
    QElapsedTimer clock;
    QWidget window;
    TCountingChild child{&window};
    TPaintPacer* pacer = new TPaintPacer(&window);
};

TEST_F(PaintPacer, AChangeAfterAQuietSpellIsPaintedOnTheNextPass) {
    child.update();
    QCoreApplication::processEvents();
    EXPECT_EQ(child.paints.size(), 1u);
}

// Changes at every pass of the event loop are painted once per refresh, and the last one is
// painted once they stop.
TEST_F(PaintPacer, ChangesAtEveryPassArePaintedOncePerRefresh) {
    int changes = 0;
    while (clock.elapsed() < 300) {
        child.update();
        ++changes;
        QCoreApplication::processEvents();
        QTest::qSleep(1);
    }
    const qint64 lastChange = clock.elapsed();
    child.update();
    QTest::qWait(3 * TPaintPacer::kRefreshMs);
    ASSERT_GE(child.paints.size(), 3u);
    EXPECT_LT(child.paints.size(), static_cast<std::size_t>(changes) / 4);
    // Counted over the whole span rather than gap by gap: a paint that the machine delays after
    // its refresh has begun narrows the gap to the next one without adding a paint.
    const qint64 span = child.paints.back() - child.paints.front();
    EXPECT_LE(static_cast<qint64>(child.paints.size()), span / (TPaintPacer::kRefreshMs - 1) + 2)
        << child.paints.size() << " paints in " << span << " ms";
    EXPECT_GE(child.paints.back(), lastChange);
}

// Widgets that repaint at once still do after a quiet spell; within a refresh they are painted
// at its end.
TEST_F(PaintPacer, RepaintWithinARefreshIsPaintedAtItsEnd) {
    QElapsedTimer sinceFirst;
    sinceFirst.start();
    child.repaint();
    ASSERT_EQ(child.paints.size(), 1u);
    child.repaint();
    if (sinceFirst.elapsed() < TPaintPacer::kRefreshMs - 2) { // not held up by the machine
        EXPECT_EQ(child.paints.size(), 1u);
    }
    QTest::qWait(3 * TPaintPacer::kRefreshMs);
    EXPECT_EQ(child.paints.size(), 2u);
}

} // namespace
