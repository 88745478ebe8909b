// SPDX-License-Identifier: GPL-3.0-or-later
#include "charts/chart_editor.h"
#include "charts/chart_window.h"
#include "charts/strip_chart.h"

#include <QCheckBox>
#include <QSpinBox>
#include <gtest/gtest.h>

using namespace kuvar;

namespace {

class ChartEditorTest : public ::testing::Test {
protected:
    ChartEditorTest() : strip(charts::GyStripChartConfig(), &page), editor(strip.Chart(), &page) {
        for (int i = 0; i < 10; ++i)
            charts::AppendChartPoints(Chart(), {double(i), -double(i), 0}, 300);
        editor.pickColour = [this](const QColor&, QWidget*) { return nextColour; };
        editor.Refresh();
    }
    charts::TChart& Chart() { return strip.Chart(); }
    template <typename T> T* Field(const QString& name) {
        T* field = editor.findChild<T*>(name);
        EXPECT_NE(field, nullptr) << name.toStdString();
        return field;
    }
    void Type(const QString& name, const QString& text) {
        auto* edit = Field<QLineEdit>(name);
        edit->setText(text);
        emit edit->textEdited(text);
        emit edit->editingFinished();
    }

    QWidget page;
    charts::TStripChart strip;
    charts::TChartEditor editor;
    QColor nextColour = Qt::cyan;
};

TEST_F(ChartEditorTest, TitleAndLinesFollowAtOnce) {
    Type(QStringLiteral("edTitle"), QStringLiteral("Gyro"));
    EXPECT_EQ(Chart().Title(), QStringLiteral("Gyro"));
    Type(QStringLiteral("edSeriesTitle1"), QStringLiteral("Roll angle"));
    EXPECT_EQ(Chart().Series(1).Title(), QStringLiteral("Roll angle"));
    Field<QPushButton>(QStringLiteral("btSeriesColour2"))->click();
    EXPECT_EQ(Chart().Series(2).Color(), QColor(Qt::cyan));
    EXPECT_EQ(Chart().legend->itemWithPlottable(Chart().Series(2).Graph())->textColor(),
              QColor(Qt::cyan));
    Field<QSpinBox>(QStringLiteral("spSeriesWidth0"))->setValue(3);
    EXPECT_EQ(Chart().Series(0).LineWidth(), 3);
    EXPECT_TRUE(Field<QCheckBox>(QStringLiteral("cbSeriesVisible0"))->isChecked());
    Field<QCheckBox>(QStringLiteral("cbSeriesVisible0"))->setChecked(false);
    EXPECT_FALSE(Chart().Series(0).Visible());
}

TEST_F(ChartEditorTest, AxesTakeBoundsAndFlagsAndShowRefusals) {
    EXPECT_EQ(Field<QLineEdit>(QStringLiteral("edLeftMaximum"))->text(), QStringLiteral("2000"));
    Type(QStringLiteral("edLeftMaximum"), QStringLiteral("50"));
    EXPECT_EQ(Chart().LeftAxis().Maximum(), 50);
    Type(QStringLiteral("edLeftMinimum"), QStringLiteral("60"));
    EXPECT_EQ(Chart().LeftAxis().Minimum(), -1000);
    EXPECT_EQ(Field<QLabel>(QStringLiteral("lbEditorError"))->text(),
              QStringLiteral("Axis Minimum Value must be <= Maximum"));
    Type(QStringLiteral("edLeftMinimum"), QStringLiteral("oops"));
    EXPECT_EQ(Field<QLabel>(QStringLiteral("lbEditorError"))->text(),
              QStringLiteral("'oops' is not a valid floating point value"));
    Type(QStringLiteral("edLeftMinimum"), QStringLiteral("-5"));
    EXPECT_EQ(Chart().LeftAxis().Minimum(), -5);
    EXPECT_TRUE(Field<QLabel>(QStringLiteral("lbEditorError"))->text().isEmpty());

    Field<QCheckBox>(QStringLiteral("cbLeftAutomaticMaximum"))->setChecked(true);
    EXPECT_TRUE(Chart().LeftAxis().AutomaticMaximum());
    EXPECT_EQ(Chart().LeftAxis().Maximum(), 9);
    EXPECT_EQ(Field<QLineEdit>(QStringLiteral("edLeftMaximum"))->text(), QStringLiteral("9"));
    Field<QCheckBox>(QStringLiteral("cbBottomAutomaticMinimum"))->setChecked(true);
    EXPECT_TRUE(Chart().BottomAxis().AutomaticMinimum());
}

TEST_F(ChartEditorTest, BackgroundColoursReachTheChart) {
    nextColour = QColor(0x30, 0x30, 0x30);
    Field<QPushButton>(QStringLiteral("btBackgroundMiddle"))->click();
    EXPECT_EQ(Chart().Background().middle, nextColour);
    nextColour = QColor(); // the operator cancelled the colour dialog
    Field<QPushButton>(QStringLiteral("btBackgroundTop"))->click();
    EXPECT_EQ(Chart().Background().top, QColor(Qt::black));
}

} // namespace
