// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/ab_settings.h"
#include "widgets/ab_val_ind.h"
#include "widgets/ab_vc_ind.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>
#include <vector>

using namespace kuvar;

TEST(ChangeChain, OwnedObjectReachesTheTopOnceWithItsOwnSender) {
    TAbFlexScale scale;
    std::vector<TAbPersistent*> senders;
    scale.OnChange = [&](TAbPersistent* s) { senders.push_back(s); };
    scale.StepLines.SetPen(QPen(Qt::red, 3));
    ASSERT_EQ(senders.size(), 1u);
    EXPECT_EQ(senders[0], &scale.StepLines);
    scale.StepLines.SetPen(QPen(Qt::red, 3)); // equal: nothing
    EXPECT_EQ(senders.size(), 1u);
    scale.SetFormatStr("##0.00");
    ASSERT_EQ(senders.size(), 2u);
    EXPECT_EQ(senders[1], &scale);
}

TEST(ChangeChain, ReadoutCaptionAndBevelReportThroughTheReadout) {
    TAbValInd ind;
    std::vector<TAbPersistent*> senders;
    ind.OnChange = [&](TAbPersistent* s) { senders.push_back(s); };
    ind.Caption.SetText("X");
    ind.Bevel.Exchange();
    ind.TxtSpacing.SetLeft(3);
    ASSERT_EQ(senders.size(), 3u);
    EXPECT_EQ(senders[0], &ind.Caption);
    EXPECT_EQ(senders[1], &ind.Bevel);
    EXPECT_EQ(senders[2], &ind.TxtSpacing);
}

TEST(ChangeChain, WidgetRepaintsOnceForAPitchScalePenChange) {
    TAbVCInd w;
    w.Face();
    const int before = w.RedrawCount();
    w.PitchScale.StepLines.SetPen(QPen(Qt::yellow, 2));
    w.Face();
    EXPECT_EQ(w.RedrawCount(), before + 1);
}

TEST(Settings, DefaultsAndGuards) {
    TAbFlexScale s;
    EXPECT_EQ(s.FormatStr(), "##0.#");
    EXPECT_EQ(s.StepLines.Pen().color(), QColor(Qt::white));
    EXPECT_EQ(s.StepLines.Pen().width(), 2);
    int changes = 0;
    s.OnChange = [&](TAbPersistent*) { ++changes; };
    for (float bad : {0.0f, -1.0f})
        s.SetSubStepAt(bad);
    s.SetStepMulti(0);
    s.SetSubStepsVis(-3);
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(s.SubStepAt(), 0.0f);
    s.SetSubStepAt(0.5f);
    EXPECT_EQ(changes, 1);

    TAbValInd ind;
    EXPECT_EQ(ind.Bevel.ColorFrom(), QColor(0x73, 0x73, 0x73)); // sunken: exchanged
    EXPECT_EQ(ind.Bevel.ColorTo(), QColor(Qt::white));
    EXPECT_EQ(ind.Caption.Pos(), toTopLeft);
    TAbBtnBevel b;
    b.SetWidth(-1);
    EXPECT_EQ(b.Width(), 4);
}

TEST(ValInd, LayoutBoxFromTheFormatTextAndAnchor) {
    TAbValInd ind;
    ind.SetFont({AbFont(13, true), Qt::green});
    QImage img(200, 100, QImage::Format_RGB32);
    img.fill(Qt::gray);
    QPainter p(&img);
    ind.Layout(p, QPoint(100, 50), toBotCenter);
    const QFontMetrics fm(ind.Font().Font);
    const int th = fm.height(), tw = fm.horizontalAdvance("##0.0"), m = th / 7;
    const int w = tw + 4 + 2 * m, h = th + 4;
    EXPECT_EQ(ind.BoxRect(), QRect(100 + 1 - w / 2, 50 - h, w, h));
    EXPECT_EQ(ind.InnerRect(), ind.BoxRect().adjusted(2, 2, -2, -2));
    ind.Value(p, -10.0);
    p.end();
    const QRect box = ind.BoxRect();
    EXPECT_EQ(QColor(img.pixel(box.topLeft())), QColor(0x73, 0x73, 0x73));
    EXPECT_EQ(QColor(img.pixel(box.right(), box.bottom())), QColor(Qt::white));
    bool green = false;
    for (int y = box.top(); y <= box.bottom(); ++y)
        for (int x = box.left(); x <= box.right(); ++x)
            green |= qGreen(img.pixel(x, y)) > 200 && qRed(img.pixel(x, y)) < 80;
    EXPECT_TRUE(green);
}

TEST(ValInd, InvisibleReadoutDrawsNothing) {
    TAbValInd ind;
    ind.SetVisible(false);
    ind.Caption.SetText("Course");
    QImage img(200, 100, QImage::Format_RGB32);
    img.fill(Qt::gray);
    const QImage before = img;
    QPainter p(&img);
    ind.Layout(p, QPoint(100, 50), toMidCenter);
    ind.Value(p, 12.3);
    p.end();
    EXPECT_EQ(img, before);
}
