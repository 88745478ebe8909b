// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/guard.h"
#include "charts/chart_editor.h"
#include "charts/strip_chart.h"

#include <QApplication>
#include <QCoreApplication>
#include <QImage>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>
#include <memory>

using namespace kuvar;

using kuvar::charts::TStripChart;
using kuvar::charts::TStripChartConfig;

namespace kuvar::charts {
// Names the configurations in test output.
void PrintTo(const TStripChartConfig& config, std::ostream* os) {
    *os << config.chartName.toStdString();
}
} // namespace kuvar::charts

namespace {

// A strip chart on its page, with the errors its slots report collected as the window's
// status line would show them.
class StripChartTest : public ::testing::TestWithParam<TStripChartConfig> {
protected:
    StripChartTest() : page(std::make_unique<QWidget>()) {
        page->resize(840, 610);
        strip = new TStripChart(GetParam(), page.get());
        SetAppExceptionHandler([this](const std::exception& e) { errors.push_back(e.what()); });
    }
    ~StripChartTest() override { SetAppExceptionHandler(nullptr); }

    charts::TChart& Chart() { return strip->Chart(); }
    charts::TChartAxis& Bottom() { return Chart().BottomAxis(); }
    charts::TChartAxis& Left() { return Chart().LeftAxis(); }

    // One frame, with a refusal reported as the window's handler would report it.
    void Frame(double y = 1) {
        try {
            strip->AppendChartPoints({y, y + 1, y + 2});
        } catch (const std::exception& e) {
            errors.push_back(e.what());
        }
    }
    void Frames(int n) {
        for (int i = 0; i < n; ++i)
            Frame(i);
    }

    std::unique_ptr<QWidget> page;
    TStripChart* strip;
    std::vector<std::string> errors;
};

TEST_P(StripChartTest, ControlsCarryTheirNamesAndStartTexts) {
    const TStripChartConfig& c = GetParam();
    EXPECT_EQ(strip->objectName(), c.chartName);
    EXPECT_EQ(strip->geometry(), c.geometry);
    EXPECT_EQ(Chart().Title(), c.title);
    ASSERT_EQ(Chart().SeriesCount(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(Chart().Series(i).Title(), c.seriesTitles[i]);
        EXPECT_EQ(Chart().Series(i).Graph()->objectName(), c.seriesNames[i]);
    }
    EXPECT_EQ(Chart().Series(0).Color(), QColor(0xFF, 0x00, 0x80));
    EXPECT_EQ(Chart().Series(1).Color(), QColor(Qt::yellow));
    EXPECT_EQ(Chart().Series(2).Color(), QColor(0x00, 0xFF, 0x00));

    auto text = [&](const QString& name) {
        auto* box = page->findChild<QLineEdit*>(name);
        return box ? box->text() : QStringLiteral("<missing>");
    };
    EXPECT_EQ(text(c.quantityBoxName), QStringLiteral("300"));
    EXPECT_EQ(text(c.leftMaxName), c.leftMaxText);
    EXPECT_EQ(text(c.leftMinName), c.leftMinText);
    ASSERT_NE(page->findChild<QPushButton*>(c.dataButtonName), nullptr);
    EXPECT_EQ(page->findChild<QPushButton*>(c.dataButtonName)->text(), QStringLiteral("DATA"));
    ASSERT_NE(page->findChild<QPushButton*>(c.clearButtonName), nullptr);
    EXPECT_EQ(page->findChild<QPushButton*>(c.clearButtonName)->text(), c.clearButtonText);
    ASSERT_NE(page->findChild<QLabel*>(c.quantityLabelName), nullptr);
    EXPECT_EQ(page->findChild<QLabel*>(c.quantityLabelName)->text(), c.quantityLabelText);
    EXPECT_NE(page->findChild<charts::TUpDown*>(c.leftMaxUpDownName), nullptr);
    EXPECT_NE(page->findChild<charts::TUpDown*>(c.leftMinUpDownName), nullptr);

    QCheckBox* autoBox = page->findChild<QCheckBox*>(c.autoBoxName);
    ASSERT_NE(autoBox, nullptr);
    EXPECT_EQ(autoBox->parentWidget(), page.get()) << "the check box lies on the page";
    EXPECT_EQ(autoBox->pos(), c.autoBoxPosition);
    EXPECT_EQ(autoBox->text(), QStringLiteral("Left Axis Auto Range"));
    EXPECT_FALSE(autoBox->isChecked());
    // The in-chart controls are children of the chart, drawn over it.
    EXPECT_EQ(strip->LeftMaxBox()->parentWidget(), &Chart());
    EXPECT_EQ(strip->DataButton()->parentWidget(), &Chart());
}

TEST_P(StripChartTest, FirstShowingAppliesTheRangeBoxesAndPageShownSetsWhiteFonts) {
    page->show();
    EXPECT_TRUE(errors.empty());
    EXPECT_EQ(Left().Maximum(), GetParam().leftMaxText.toDouble());
    EXPECT_EQ(Left().Minimum(), GetParam().leftMinText.toDouble());
    strip->PageShown();
    EXPECT_EQ(strip->ViewQuantity(), 300);
    EXPECT_EQ(Left().LabelsColor(), QColor(Qt::white));
    EXPECT_EQ(Bottom().LabelsColor(), QColor(Qt::white));
    EXPECT_EQ(Chart().TitleColor(), QColor(Qt::white));
}

// The title in its white frame lies clear of every control of its row: on the gyro page the
// check box of the page stays where the layout puts it, white, and the title moves beside it.
TEST_P(StripChartTest, TitleInItsFrameIsClearOfTheControlsAndTheCheckBox) {
    const TStripChartConfig& c = GetParam();
    page->show();
    strip->PageShown();
    Chart().RepaintNow();
    QCheckBox* autoBox = strip->AutoRangeBox();
    EXPECT_EQ(autoBox->pos(), c.autoBoxPosition);
    EXPECT_EQ(autoBox->autoFillBackground(), c.autoBoxWhite);
    if (c.autoBoxWhite) {
        EXPECT_EQ(autoBox->palette().color(QPalette::Window), QColor(Qt::white));
    }

    // In page coordinates.
    const QRect frame = Chart().TitleFrame().translated(strip->pos());
    const QRect text = Chart().TitleTextRect().translated(strip->pos());
    ASSERT_FALSE(frame.isEmpty());
    EXPECT_TRUE(frame.contains(text));
    EXPECT_GT(frame.width(), text.width() + 8) << "the frame is not fitted to the text";
    EXPECT_GT(frame.height(), text.height());
    for (QWidget* control :
         {static_cast<QWidget*>(autoBox), static_cast<QWidget*>(strip->DataQuantityBox()),
          static_cast<QWidget*>(strip->DataButton()), static_cast<QWidget*>(strip->ClearButton()),
          static_cast<QWidget*>(page->findChild<QLabel*>(c.quantityLabelName))}) {
        const QRect at(control->mapTo(page.get(), QPoint(0, 0)), control->size());
        EXPECT_FALSE(at.intersects(frame)) << control->objectName().toStdString();
    }
    // What the page shows: the frame's edges and white text at both ends of the title.
    const QImage shot = page->grab().toImage();
    for (int x : {frame.left(), frame.right()})
        EXPECT_EQ(QColor(shot.pixel(x, frame.center().y())), QColor(Qt::white)) << x;
    auto whiteIn = [&](const QRect& r) {
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                if (qRed(shot.pixel(x, y)) > 200 && qBlue(shot.pixel(x, y)) > 200)
                    return true;
        return false;
    };
    EXPECT_TRUE(whiteIn(QRect(text.left(), text.top(), 6, text.height())));
    EXPECT_TRUE(whiteIn(QRect(text.right() - 5, text.top(), 6, text.height())));
}

// A new user's range comes from the arrows' design positions, whatever the boxes held before
// and in whichever order the axis accepts it.
TEST_P(StripChartTest, ResetWritesTheDesignRangeIntoTheBoxes) {
    const TStripChartConfig& c = GetParam();
    page->show();
    const struct {
        const char *max, *min;
    } before[] = {{"2000", "-1000"}, {"9000", "8000"}, {"-8000", "-9000"}};
    for (const auto& b : before) {
        {
            const QSignalBlocker blockMax(strip->LeftMaxBox());
            const QSignalBlocker blockMin(strip->LeftMinBox());
            strip->LeftMaxBox()->setText(QString::fromLatin1(b.max));
            strip->LeftMinBox()->setText(QString::fromLatin1(b.min));
        }
        Left().SetMinimum(-9000);
        Left().SetMaximum(9000);
        Left().SetMaximum(QString::fromLatin1(b.max).toDouble());
        Left().SetMinimum(QString::fromLatin1(b.min).toDouble());
        strip->ResetRangeBoxes();
        EXPECT_EQ(strip->LeftMaxBox()->text(), c.leftMaxText) << b.max;
        EXPECT_EQ(strip->LeftMinBox()->text(), c.leftMinText) << b.max;
        EXPECT_EQ(Left().Maximum(), c.leftMaxText.toDouble()) << b.max;
        EXPECT_EQ(Left().Minimum(), c.leftMinText.toDouble()) << b.max;
        EXPECT_TRUE(errors.empty()) << b.max << ": " << (errors.empty() ? "" : errors[0]);
    }
}

// Texts the settings file put into the range boxes stand at the first showing, numbers that are
// not integers included; the arrows go on from an integer one.
TEST_P(StripChartTest, FirstShowingKeepsTheStoredRangeTexts) {
    strip->LeftMaxBox()->setText(QStringLiteral("12.5"));
    strip->LeftMinBox()->setText(QStringLiteral("-7"));
    page->show();
    EXPECT_EQ(strip->LeftMaxBox()->text(), QStringLiteral("12.5"));
    EXPECT_EQ(strip->LeftMinBox()->text(), QStringLiteral("-7"));
    EXPECT_EQ(Left().Maximum(), 12.5);
    EXPECT_EQ(Left().Minimum(), -7);
    auto* minArrows = page->findChild<charts::TUpDown*>(GetParam().leftMinUpDownName);
    ASSERT_NE(minArrows, nullptr);
    EXPECT_EQ(minArrows->Position(), -7);
    EXPECT_TRUE(errors.empty());
}

TEST_P(StripChartTest, WindowShowsFromZeroThenSlidesByOnePerFrame) {
    strip->PageShown();
    ASSERT_EQ(strip->ViewQuantity(), 300);
    struct Step {
        int framesSoFar;
        double minimum;
        double maximum;
    } steps[] = {{1, 0, 0},     {300, 0, 299}, {301, 0, 300},
                 {302, 1, 301}, {303, 2, 302}, {1000, 699, 999}};
    int fed = 0;
    for (const Step& s : steps) {
        Frames(s.framesSoFar - fed);
        fed = s.framesSoFar;
        EXPECT_EQ(Bottom().Minimum(), s.minimum) << s.framesSoFar;
        EXPECT_EQ(Bottom().Maximum(), s.maximum) << s.framesSoFar;
        EXPECT_FALSE(Bottom().AutomaticMinimum());
        EXPECT_TRUE(Bottom().AutomaticMaximum());
    }
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(Chart().Series(i).Count(), 1000);
    EXPECT_TRUE(errors.empty());
}

TEST_P(StripChartTest, ClearEmptiesTheLinesAndRestartsXAtZero) {
    strip->PageShown();
    Frames(500);
    strip->ClearButton()->click();
    EXPECT_TRUE(errors.empty());
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(Chart().Series(i).Count(), 0);
    EXPECT_EQ(Bottom().Minimum(), 0);
    EXPECT_EQ(Bottom().Maximum(), 0);
    EXPECT_EQ(strip->ViewQuantity(), 300) << "the point count stays";
    Frame(7);
    EXPECT_EQ(Chart().Series(0).XValue(0), 0);
    EXPECT_EQ(Chart().Series(2).YValue(0), 9);
    EXPECT_EQ(Bottom().Minimum(), 0);
}

TEST_P(StripChartTest, LargerDataCountKeepsTheEdgeUntilTheMaximumPassesIt) {
    strip->PageShown();
    Frames(500); // X 0..499, window 199..499
    ASSERT_EQ(Bottom().Minimum(), 199);
    strip->DataQuantityBox()->setText(QStringLiteral("1000"));
    strip->DataButton()->click();
    EXPECT_EQ(strip->ViewQuantity(), 1000);
    EXPECT_EQ(Bottom().Minimum(), 199);
    Frames(501); // newest X = 1000
    EXPECT_EQ(Bottom().Minimum(), 199);
    Frame();
    EXPECT_EQ(Bottom().Minimum(), 1);
    EXPECT_EQ(Bottom().Maximum(), 1001);
    // A smaller count moves the edge at once.
    strip->DataQuantityBox()->setText(QStringLiteral("100"));
    strip->DataButton()->click();
    EXPECT_EQ(Bottom().Minimum(), 901);
    EXPECT_TRUE(errors.empty());
}

TEST_P(StripChartTest, NegativeCountIsRefusedAtEveryFrameWhileThePointsStillArrive) {
    Frames(10);
    strip->DataQuantityBox()->setText(QStringLiteral("-5"));
    strip->DataButton()->click();
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0], "Axis Minimum Value must be <= Maximum");
    Frames(3);
    EXPECT_EQ(errors.size(), 4u);
    EXPECT_EQ(Chart().Series(0).Count(), 13);
    EXPECT_EQ(Chart().Series(2).Count(), 13);
    EXPECT_EQ(Bottom().Minimum(), 9) << "the refused edge leaves the axis as it was";
    // A count of 0 pins the left edge to the newest X.
    strip->DataQuantityBox()->setText(QStringLiteral("0"));
    strip->DataButton()->click();
    Frame();
    EXPECT_EQ(Bottom().Minimum(), 13);
    EXPECT_EQ(Bottom().Maximum(), 13);
    EXPECT_EQ(errors.size(), 4u);
}

TEST_P(StripChartTest, PointCountTextThatIsNotAnIntegerGivesTheDefaults) {
    for (const char* text : {"abc", "", "12.5"}) {
        strip->DataQuantityBox()->setText(QString::fromLatin1(text));
        strip->PageShown();
        EXPECT_EQ(strip->ViewQuantity(), GetParam().shownDefault) << text;
        strip->DataButton()->click();
        EXPECT_EQ(strip->ViewQuantity(), GetParam().dataDefault) << text;
    }
    EXPECT_TRUE(errors.empty());
}

TEST_P(StripChartTest, RangeBoxesApplyTheirTextOrZeroAndRefuseCrossedBounds) {
    page->show();
    struct Case {
        bool maximumBox;
        const char* text;
        double minimum;
        double maximum;
        const char* error; // nullptr: none
    } cases[] = {
        {true, "1500", -1000, 1500, nullptr},
        {true, "abc", -1000, 0, nullptr},
        {true, "", -1000, 0, nullptr},
        {true, "-2000", -1000, 0, "Axis Maximum Value must be >= Minimum"},
        {true, "2000", -1000, 2000, nullptr},
        {false, "3000", -1000, 2000, "Axis Minimum Value must be <= Maximum"},
        {false, "x", 0, 2000, nullptr},
        {false, "-500.5", -500.5, 2000, nullptr},
    };
    strip->LeftMaxBox()->setText(QStringLiteral("2000"));
    strip->LeftMinBox()->setText(QStringLiteral("-1000"));
    errors.clear();
    for (const Case& c : cases) {
        (c.maximumBox ? strip->LeftMaxBox() : strip->LeftMinBox())
            ->setText(QString::fromLatin1(c.text));
        EXPECT_EQ(Left().Minimum(), c.minimum) << c.text;
        EXPECT_EQ(Left().Maximum(), c.maximum) << c.text;
        if (c.error) {
            ASSERT_EQ(errors.size(), 1u) << c.text;
            EXPECT_EQ(errors[0], c.error);
        } else {
            EXPECT_TRUE(errors.empty()) << c.text << ": " << (errors.empty() ? "" : errors[0]);
        }
        errors.clear();
    }
}

TEST_P(StripChartTest, AutoRangeFollowsTheDataAndUncheckingAppliesBothBoxes) {
    page->show();
    strip->PageShown();
    Frames(400); // y from 0 to 401 over three lines; window 99..399
    strip->AutoRangeBox()->setChecked(true);
    EXPECT_TRUE(Left().AutomaticMinimum());
    EXPECT_TRUE(Left().AutomaticMaximum());
    EXPECT_EQ(Left().Minimum(), 99) << "only the visible window counts";
    EXPECT_EQ(Left().Maximum(), 401);

    {
        const QSignalBlocker block(strip->LeftMaxBox());
        strip->LeftMaxBox()->setText(QStringLiteral("700"));
    }
    strip->AutoRangeBox()->setChecked(false);
    EXPECT_FALSE(Left().AutomaticMinimum());
    EXPECT_FALSE(Left().AutomaticMaximum());
    EXPECT_EQ(Left().Maximum(), 700);
    EXPECT_EQ(Left().Minimum(), GetParam().leftMinText.toDouble());
    EXPECT_TRUE(errors.empty());
}

TEST_P(StripChartTest, EditingARangeBoxWhileAutoUnchecksAndAppliesBothThenTheEdited) {
    page->show();
    strip->AutoRangeBox()->setChecked(true);
    strip->LeftMinBox()->setText(QStringLiteral("-20"));
    EXPECT_FALSE(strip->AutoRangeBox()->isChecked());
    EXPECT_FALSE(Left().AutomaticMinimum());
    EXPECT_FALSE(Left().AutomaticMaximum());
    EXPECT_EQ(Left().Minimum(), -20);
    EXPECT_EQ(Left().Maximum(), GetParam().leftMaxText.toDouble());
    EXPECT_TRUE(errors.empty());
}

TEST_P(StripChartTest, AutoRangeUncheckedWithABadBoxTextIsRefusedAndSkipsTheRest) {
    page->show();
    const double oldMax = Left().Maximum();
    const double oldMin = Left().Minimum();
    strip->AutoRangeBox()->setChecked(true);
    {
        // Texts put in while the handlers are silent, as the strict reading is what is tested.
        const QSignalBlocker block(strip->LeftMaxBox());
        strip->LeftMaxBox()->setText(QStringLiteral("big"));
    }
    strip->AutoRangeBox()->setChecked(false);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0], "'big' is not a valid floating point value");
    EXPECT_EQ(Left().Maximum(), oldMax);
    EXPECT_EQ(Left().Minimum(), oldMin);

    // A bad minimum text leaves the new maximum set and the old minimum.
    errors.clear();
    strip->AutoRangeBox()->setChecked(true);
    {
        const QSignalBlocker blockMax(strip->LeftMaxBox());
        const QSignalBlocker blockMin(strip->LeftMinBox());
        strip->LeftMaxBox()->setText(QStringLiteral("25"));
        strip->LeftMinBox()->setText(QStringLiteral("low"));
    }
    strip->AutoRangeBox()->setChecked(false);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0], "'low' is not a valid floating point value");
    EXPECT_EQ(Left().Maximum(), 25);
    EXPECT_EQ(Left().Minimum(), oldMin);
}

TEST_P(StripChartTest, ArrowsStepByTenWithinTheirLimitsAndApplyTheBox) {
    page->show();
    auto* arrows = page->findChild<charts::TUpDown*>(GetParam().leftMaxUpDownName);
    ASSERT_NE(arrows, nullptr);
    EXPECT_EQ(arrows->Min(), -9000);
    EXPECT_EQ(arrows->Max(), 9000);
    EXPECT_EQ(arrows->Increment(), 10);
    const int start = GetParam().leftMaxText.toInt();
    EXPECT_EQ(arrows->Position(), start);
    arrows->findChild<QToolButton*>(QStringLiteral("up"))->click();
    EXPECT_EQ(strip->LeftMaxBox()->text(), QString::number(start + 10));
    EXPECT_EQ(Left().Maximum(), start + 10);
    // A typed integer is where the arrows continue from; the end stays without separators.
    strip->LeftMaxBox()->setText(QStringLiteral("8995"));
    arrows->StepBy(1);
    EXPECT_EQ(strip->LeftMaxBox()->text(), QStringLiteral("9000"));
    arrows->StepBy(3);
    EXPECT_EQ(strip->LeftMaxBox()->text(), QStringLiteral("9000"));
    // A text that is not an integer leaves the arrows at their last position.
    strip->LeftMaxBox()->setText(QStringLiteral("abc"));
    arrows->findChild<QToolButton*>(QStringLiteral("down"))->click();
    EXPECT_EQ(strip->LeftMaxBox()->text(), QStringLiteral("8990"));
    EXPECT_EQ(Left().Maximum(), 8990);
    EXPECT_TRUE(errors.empty());
}

TEST_P(StripChartTest, DoubleClickRunsTheEditorModally) {
    page->show();
    QString shown;
    QTimer::singleShot(0, [&] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            shown = modal->objectName();
            static_cast<QDialog*>(modal)->reject();
        }
    });
    QMouseEvent event(QEvent::MouseButtonDblClick, QPointF(300, 200), QPointF(300, 200),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&Chart(), &event);
    EXPECT_EQ(shown, GetParam().editorName);
}

INSTANTIATE_TEST_SUITE_P(Charts, StripChartTest,
                         ::testing::Values(charts::AcStripChartConfig(),
                                           charts::GyStripChartConfig()),
                         [](const auto& info) { return info.param.chartName.toStdString(); });

} // namespace
