// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/delay.h"
#include "app/main_window.h"
#include "tests/widgets/paint_count.h"

#include <QElapsedTimer>
#include <QFile>
#include <QPainter>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

using namespace kuvar;

namespace {

QColor TextColour(const QLabel* label) {
    return label->palette().color(QPalette::WindowText);
}

class Window : public ::testing::Test {
protected:
    QTemporaryDir dir;
    TAppPaths paths{dir.filePath(QStringLiteral("UserSet.dat")), QStringLiteral(KUVAR_PICTURES)};

    std::unique_ptr<TfKUVAR> Open() {
        auto window = std::make_unique<TfKUVAR>(paths);
        window->show();
        return window;
    }
};

} // namespace

TEST_F(Window, FirstStartCreatesTheFileAndShowsItsDefaults) {
    auto w = Open();
    EXPECT_EQ(QFile(paths.settingsFile).size(), kUserSetSize);
    EXPECT_EQ(w->TopPanel.ePortNo->currentText(), QStringLiteral("COM1"));
    EXPECT_EQ(w->TopPanel.cbBaudrate->currentText(), QStringLiteral("115200"));
    // The file's scale wins although the list offers only 2, 4 and 8.
    EXPECT_EQ(w->AcPage.cbACScale->currentText(), QStringLiteral("1"));
    EXPECT_EQ(w->AcPage.edACINT->text(), QStringLiteral("100"));
    EXPECT_TRUE(w->GyPage.rbGYDegrees->isChecked());
    EXPECT_FALSE(w->GyPage.rbGYDegSpeed->isChecked());
    EXPECT_EQ(w->PageControl1->currentIndex(), 2);
    EXPECT_EQ(TextColour(w->TopPanel.lbAC), kLime);
    EXPECT_EQ(TextColour(w->TopPanel.lbGY), kGreen);
    EXPECT_EQ(w->AcViewQuantity(), 300);
    EXPECT_EQ(w->windowTitle(), QStringLiteral("KUVAR 통합프로그램 Ver2.6"));
}

// The left-axis range of both charts at the first showing of their pages, as a pair
// {minimum, maximum} for Chart1 and then Chart2.
struct ChartRanges {
    double acMin, acMax, gyMin, gyMax;
};
ChartRanges ShownRanges(TfKUVAR& w) {
    QTest::mouseClick(w.TopPanel.btGY, Qt::LeftButton);
    ChartRanges r{};
    r.acMin = w.AcPage.Chart1->Chart().LeftAxis().Minimum();
    r.acMax = w.AcPage.Chart1->Chart().LeftAxis().Maximum();
    r.gyMin = w.GyPage.Chart2->Chart().LeftAxis().Minimum();
    r.gyMax = w.GyPage.Chart2->Chart().LeftAxis().Maximum();
    return r;
}

// A new user sees the gyro chart at -30..30 degrees and the accelerometer chart at -1000..2000
// mg, although the new file holds 2000 and -1000 for both. Closing then writes what the boxes
// show, whether the gyro page was shown or not, so the next start shows the same.
TEST_F(Window, FirstStartShowsTheDesignRangesAndTheCloseKeepsThem) {
    for (bool showGyPage : {true, false}) {
        QFile::remove(paths.settingsFile);
        {
            auto w = Open();
            TUserSetRecord created;
            LoadUserSet(paths.settingsFile, created);
            EXPECT_EQ(QFile(paths.settingsFile).size(), kUserSetSize);
            EXPECT_EQ(created.Text(UserSetField::Chart2LeftMax), QStringLiteral("2000"));
            EXPECT_EQ(created.Text(UserSetField::Chart2LeftMin), QStringLiteral("-1000"));
            if (showGyPage) {
                const ChartRanges r = ShownRanges(*w);
                EXPECT_EQ(r.acMin, -1000);
                EXPECT_EQ(r.acMax, 2000);
                EXPECT_EQ(r.gyMin, -30);
                EXPECT_EQ(r.gyMax, 30);
                EXPECT_EQ(w->GyPage.Chart2->LeftMaxBox()->text(), QStringLiteral("30"));
                EXPECT_EQ(w->GyPage.Chart2->LeftMinBox()->text(), QStringLiteral("-30"));
            }
            EXPECT_TRUE(w->close());
        }
        TUserSetRecord saved;
        LoadUserSet(paths.settingsFile, saved);
        EXPECT_EQ(QFile(paths.settingsFile).size(), kUserSetSize);
        EXPECT_EQ(saved.Text(UserSetField::Chart1LeftMax), QStringLiteral("2000")) << showGyPage;
        EXPECT_EQ(saved.Text(UserSetField::Chart1LeftMin), QStringLiteral("-1000")) << showGyPage;
        EXPECT_EQ(saved.Text(UserSetField::Chart2LeftMax), QStringLiteral("30")) << showGyPage;
        EXPECT_EQ(saved.Text(UserSetField::Chart2LeftMin), QStringLiteral("-30")) << showGyPage;
    }
    auto w = Open();
    const ChartRanges r = ShownRanges(*w);
    EXPECT_EQ(r.gyMin, -30);
    EXPECT_EQ(r.gyMax, 30);
}

// With a settings file, the ranges it holds are what the charts show, an old file's 2000 and
// -1000 for the gyro chart included.
TEST_F(Window, StoredRangesStandAtStart) {
    const struct {
        const char *acMax, *acMin, *gyMax, *gyMin;
    } cases[] = {
        {"500", "-250", "90", "-45"},
        {"2000", "-1000", "2000", "-1000"},
        {"1.5e3", "-1000", "12.5", "-7"},
    };
    for (const auto& c : cases) {
        TUserSetRecord stored;
        stored.SetDefaults();
        stored.SetText(UserSetField::Chart1LeftMax, QString::fromLatin1(c.acMax));
        stored.SetText(UserSetField::Chart1LeftMin, QString::fromLatin1(c.acMin));
        stored.SetText(UserSetField::Chart2LeftMax, QString::fromLatin1(c.gyMax));
        stored.SetText(UserSetField::Chart2LeftMin, QString::fromLatin1(c.gyMin));
        SaveUserSet(paths.settingsFile, stored);
        auto w = Open();
        const ChartRanges r = ShownRanges(*w);
        EXPECT_EQ(r.acMax, QString::fromLatin1(c.acMax).toDouble()) << c.acMax;
        EXPECT_EQ(r.acMin, QString::fromLatin1(c.acMin).toDouble()) << c.acMax;
        EXPECT_EQ(r.gyMax, QString::fromLatin1(c.gyMax).toDouble()) << c.acMax;
        EXPECT_EQ(r.gyMin, QString::fromLatin1(c.gyMin).toDouble()) << c.acMax;
        EXPECT_EQ(w->GyPage.Chart2->LeftMaxBox()->text(), QString::fromLatin1(c.gyMax));
        EXPECT_EQ(w->GyPage.Chart2->LeftMinBox()->text(), QString::fromLatin1(c.gyMin));
        EXPECT_TRUE(w->StatusText(0).isEmpty()) << w->StatusText(0).toStdString();
        EXPECT_TRUE(w->close());
        TUserSetRecord saved;
        LoadUserSet(paths.settingsFile, saved);
        EXPECT_EQ(saved.Text(UserSetField::Chart2LeftMax), QString::fromLatin1(c.gyMax));
        EXPECT_EQ(saved.Text(UserSetField::Chart1LeftMax), QString::fromLatin1(c.acMax));
    }
}

TEST_F(Window, EveryStoredControlComesBackAfterARestart) {
    {
        auto w = Open();
        w->TopPanel.ePortNo->setEditText(QStringLiteral("COM12"));
        w->TopPanel.cbBaudrate->setEditText(QStringLiteral("57600"));
        w->LeftColumn.edSend1->setText(QStringLiteral("<1 VER>"));
        w->LeftColumn.edSend3->setText(QStringLiteral("각도값 확인"));
        w->AcPage.eID->setText(QStringLiteral("7"));
        w->AcPage.cbACMode->setEditText(QStringLiteral("3"));
        w->GyPage.edGYINT->setText(QStringLiteral("250"));
        w->GyPage.cbGYScale->setEditText(QStringLiteral("8"));
        w->GyPage.rbGYDegSpeed->setChecked(true);
        EXPECT_TRUE(w->close());
    }
    auto w = Open();
    EXPECT_EQ(w->TopPanel.ePortNo->currentText(), QStringLiteral("COM12"));
    EXPECT_EQ(w->TopPanel.cbBaudrate->currentText(), QStringLiteral("57600"));
    EXPECT_EQ(w->LeftColumn.edSend1->text(), QStringLiteral("<1 VER>"));
    EXPECT_EQ(w->LeftColumn.edSend3->text(), QStringLiteral("각도값 확인"));
    EXPECT_EQ(w->AcPage.eID->text(), QStringLiteral("7"));
    EXPECT_EQ(w->AcPage.cbACMode->currentText(), QStringLiteral("3"));
    EXPECT_EQ(w->GyPage.edGYINT->text(), QStringLiteral("250"));
    EXPECT_EQ(w->GyPage.cbGYScale->currentText(), QStringLiteral("8"));
    EXPECT_TRUE(w->GyPage.rbGYDegSpeed->isChecked());
    EXPECT_FALSE(w->GyPage.rbGYDegrees->isChecked());
}

TEST_F(Window, UnwritableFolderShowsTheErrorAndKeepsTheWindowOpen) {
    paths.settingsFile = dir.filePath(QStringLiteral("missing/UserSet.dat"));
    auto w = Open();
    EXPECT_TRUE(w->StatusText(0).startsWith(QStringLiteral("Cannot create")));
    // Start-up stopped before the texts: the design's scale stays.
    EXPECT_EQ(w->AcPage.cbACScale->currentText(), QStringLiteral("2"));
    EXPECT_FALSE(w->close());
    EXPECT_TRUE(w->isVisible());
    EXPECT_TRUE(w->StatusText(0).startsWith(QStringLiteral("Cannot write")));
}

TEST_F(Window, ShortFileStopsStartUpAndTheNextCloseRepairsIt) {
    {
        QFile file(paths.settingsFile);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("\x04"
                   "COM9");
    }
    auto w = Open();
    EXPECT_TRUE(w->StatusText(0).startsWith(QStringLiteral("Read beyond end of file - ")));
    EXPECT_EQ(w->TopPanel.ePortNo->currentText(), QString());
    EXPECT_TRUE(w->close());
    EXPECT_EQ(QFile(paths.settingsFile).size(), kUserSetSize);
}

// Before any open or close the port is closed, and imConnect shows so with the closed-port picture
// at its own size; a picture that does not load is an error line, and start-up goes on.
TEST_F(Window, ConnectionPictureAtStartIsTheClosedPort) {
    {
        auto w = Open();
        const QImage off(QStringLiteral(KUVAR_PICTURES "/off.bmp"));
        ASSERT_FALSE(off.isNull());
        const QPixmap shown = w->TopPanel.imConnect->pixmap();
        EXPECT_EQ(shown.toImage().convertToFormat(QImage::Format_RGB32),
                  off.convertToFormat(QImage::Format_RGB32));
        EXPECT_EQ(w->TopPanel.imConnect->size(), off.size());
        EXPECT_EQ(TextColour(w->TopPanel.lbComOpen), kGreen);
        EXPECT_TRUE(w->StatusText(0).isEmpty()) << w->StatusText(0).toStdString();
        EXPECT_TRUE(w->close());
    }
    TUserSetRecord stored;
    stored.SetDefaults();
    stored.SetText(UserSetField::PortNo, QStringLiteral("COM7"));
    SaveUserSet(paths.settingsFile, stored);
    paths.pictureDir = dir.path(); // no pictures here
    auto w = Open();
    EXPECT_TRUE(w->StatusText(0).startsWith(
        QStringLiteral("Cannot load %1 - ").arg(dir.filePath(QStringLiteral("off.bmp")))))
        << w->StatusText(0).toStdString();
    EXPECT_EQ(w->TopPanel.ePortNo->currentText(), QStringLiteral("COM7"));
    EXPECT_EQ(w->PageControl1->currentIndex(), 2);
}

TEST_F(Window, ExceptionEndsOnlyItsHandlerAndShowsTheTime) {
    auto w = Open();
    QTimer::singleShot(0, w.get(), [] { throw std::runtime_error("first failure"); });
    QTimer::singleShot(0, w.get(), [] { throw std::runtime_error("second failure"); });
    bool later = false;
    QTimer::singleShot(0, w.get(), [&] { later = true; });
    Delay(0);
    EXPECT_TRUE(later);
    static const QRegularExpression line(
        QStringLiteral("^second failure - \\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d$"));
    EXPECT_TRUE(line.match(w->StatusText(0)).hasMatch()) << w->StatusText(0).toStdString();
    EXPECT_EQ(w->LastErrorText, w->StatusText(0));
}

TEST_F(Window, DelayRunsPendingEventsEvenForZeroAndWaitsItsTime) {
    auto w = Open();
    bool ran = false;
    QMetaObject::invokeMethod(
        w.get(), [&] { ran = true; }, Qt::QueuedConnection);
    Delay(0);
    EXPECT_TRUE(ran);

    // Nested waits: a handler that waits inside another wait runs to its end first.
    QElapsedTimer clock;
    clock.start();
    int innerDone = -1;
    QTimer::singleShot(5, w.get(), [&] {
        Delay(30);
        innerDone = static_cast<int>(clock.elapsed());
    });
    Delay(10);
    const qint64 outer = clock.elapsed();
    EXPECT_GE(innerDone, 30);
    EXPECT_GE(outer, 30) << "the outer wait returns only after the nested handler";
}

TEST_F(Window, PageButtonsSwitchPagesAndColours) {
    auto w = Open();
    w->Link->State.RxMode = 13;
    QTest::mouseClick(w->TopPanel.btGY, Qt::LeftButton);
    EXPECT_EQ(w->PageControl1->currentIndex(), 3);
    EXPECT_EQ(w->Link->State.RxMode, 0);
    EXPECT_EQ(TextColour(w->TopPanel.lbGY), kLime);
    EXPECT_EQ(TextColour(w->TopPanel.lbAC), kGreen);
    EXPECT_EQ(w->GyViewQuantity(), 300);

    w->AcPage.CheckBox1->setChecked(true);
    w->Views->AcView.AcOffsetX = 5;
    QTest::mouseClick(w->TopPanel.btAC, Qt::LeftButton);
    EXPECT_EQ(w->PageControl1->currentIndex(), 2);
    EXPECT_EQ(TextColour(w->TopPanel.lbAC), kLime);
    EXPECT_EQ(w->Views->AcView.AcOffsetX, 0);
    EXPECT_TRUE(w->AcPage.CheckBox1->isChecked());

    // On the page already shown only RxMode changes.
    w->Link->State.RxMode = 3;
    w->Views->AcView.AcOffsetX = 5;
    w->AcPage.Chart1->SetViewQuantity(17);
    QTest::mouseClick(w->TopPanel.btAC, Qt::LeftButton);
    EXPECT_EQ(w->Link->State.RxMode, 0);
    EXPECT_EQ(w->Views->AcView.AcOffsetX, 5);
    EXPECT_EQ(w->AcViewQuantity(), 17);
}

TEST_F(Window, CloseButtonSavesAndCloses) {
    auto w = Open();
    w->LeftColumn.edSend2->setText(QStringLiteral("<0 ID>"));
    QTest::mouseClick(w->TopPanel.btClose, Qt::LeftButton);
    EXPECT_FALSE(w->isVisible());
    TUserSetRecord record;
    LoadUserSet(paths.settingsFile, record);
    EXPECT_EQ(record.Text(UserSetField::Send2), QStringLiteral("<0 ID>"));
}

TEST_F(Window, IntervalArrowsStepByTenWithinTheirRange) {
    auto w = Open();
    auto* up = w->GyPage.udGYINT->findChild<QWidget*>(QStringLiteral("up"));
    auto* down = w->GyPage.udGYINT->findChild<QWidget*>(QStringLiteral("down"));
    ASSERT_TRUE(up && down);
    const struct {
        const char* start;
        QWidget* arrow;
        const char* after;
    } cases[] = {
        {"100", up, "110"},
        {"100", down, "90"},
        // A text that is no number: the arrows go on from their own position, 90.
        {"abc", up, "100"},
        {"1000", up, "1000"},
        {"10", down, "10"},
        {"995", up, "1000"},
    };
    for (const auto& c : cases) {
        w->GyPage.edGYINT->setText(QString::fromLatin1(c.start));
        QTest::mouseClick(c.arrow, Qt::LeftButton);
        EXPECT_EQ(w->GyPage.edGYINT->text(), QString::fromLatin1(c.after)) << c.start;
    }
}

// However the lines come, in batches that fill the log part by part or in one batch larger than
// all of it, the log ends with the newest 10,000 lines in the order they came.
TEST_F(Window, TheLogKeepsTheNewestTenThousandLinesInOrder) {
    const struct {
        int first, batches, each;
    } cases[] = {
        {0, 5, 2500},     // a full log loses its oldest lines at each batch
        {0, 2, 9999},     // the second batch removes all but one of the old lines
        {0, 1, 12500},    // an empty log and more lines than it holds
        {3000, 1, 12000}, // 3,000 lines, then more new ones than the log holds
    };
    for (const auto& c : cases) {
        auto w = Open();
        int next = 0;
        auto add = [&](int count) {
            for (int i = 0; i < count; ++i)
                w->AppendLog(QStringLiteral("line %1").arg(next++));
            QTest::qWait(80); // past the log's append spacing
        };
        if (c.first > 0)
            add(c.first);
        for (int b = 0; b < c.batches; ++b)
            add(c.each);
        ASSERT_EQ(w->LeftColumn.Memo1->blockCount(), 10000) << c.batches << " x " << c.each;
        const QTextDocument* doc = w->LeftColumn.Memo1->document();
        EXPECT_EQ(doc->firstBlock().text().toStdString(), "line " + std::to_string(next - 10000));
        EXPECT_EQ(doc->lastBlock().text().toStdString(), "line " + std::to_string(next - 1));
        EXPECT_EQ(doc->findBlockByNumber(5000).text().toStdString(),
                  "line " + std::to_string(next - 5000));
    }
}

// Long lines fill the log by characters before its lines are used up: it keeps the newest that
// fit within 16 Mi characters, in order and whole, however the batches come.
TEST_F(Window, TheLogKeepsItsNewestCharactersWithinTheByteBound) {
    constexpr int kChars = 4000; // under the length at which a line is cut
    constexpr qsizetype kBound = TReceiveLog::kMaxChars;
    const struct {
        int batches, each;
    } cases[] = {
        {9, 600},  // the bound is passed part way, then every batch trims
        {1, 5000}, // one batch larger than the bound
    };
    for (const auto& c : cases) {
        auto w = Open();
        int next = 0;
        for (int b = 0; b < c.batches; ++b) {
            for (int i = 0; i < c.each; ++i) {
                QString line = QStringLiteral("line %1 ").arg(next++);
                line += QString(kChars - line.size(), QLatin1Char('.'));
                w->AppendLog(line);
            }
            QTest::qWait(80); // past the log's append spacing
        }
        const QTextDocument* doc = w->LeftColumn.Memo1->document();
        const int kept = static_cast<int>(kBound / (kChars + 1));
        EXPECT_LE(doc->characterCount(), kBound) << c.batches << " x " << c.each;
        EXPECT_EQ(doc->blockCount(), kept) << c.batches << " x " << c.each;
        EXPECT_TRUE(
            doc->firstBlock().text().startsWith(QStringLiteral("line %1 ").arg(next - kept)));
        EXPECT_TRUE(doc->lastBlock().text().startsWith(QStringLiteral("line %1 ").arg(next - 1)));
        EXPECT_EQ(doc->lastBlock().text().size(), kChars);
    }
}

// The log shows every reply on one line of its own: control characters in caret notation, a reply
// longer than 4,096 characters cut there with a mark that gives its length.
TEST(ReceiveLog, ShowsControlCharactersAndCutsLongReplies) {
    const struct {
        QString reply, shown;
    } cases[] = {
        {QStringLiteral("[1 VER KUVAR-AC]"), QStringLiteral("[1 VER KUVAR-AC]")},
        {QString::fromLatin1("[1 \0V\tE\x1f\x7fR]", 11), QStringLiteral("[1 ^@V^IE^_^?R]")},
        {QStringLiteral("^@ stays"), QStringLiteral("^@ stays")},
        {QString(4096, QLatin1Char('a')), QString(4096, QLatin1Char('a'))},
        {QString(4097, QLatin1Char('a')),
         QString(4096, QLatin1Char('a')) + QStringLiteral(" \u2026 [cut: 4097 characters in all]")},
        {QString(65536, QChar(0)), QStringLiteral("^@").repeated(4096) +
                                       QStringLiteral(" \u2026 [cut: 65536 characters in all]")},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TReceiveLog::Shown(c.reply), c.shown) << c.reply.left(20).toStdString();
}

// A stream into a full log repaints the text and the scroll bars, never the log's frame or the
// canvas beneath them, and the bars still look as the style draws them.
TEST_F(Window, AppendsToAFullLogPaintOnlyTheTextAndTheBars) {
    auto w = Open();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
    QPlainTextEdit* memo = w->LeftColumn.Memo1;
    int next = 0;
    const auto add = [&](int count) {
        for (int i = 0; i < count; ++i)
            w->AppendLog(QStringLiteral("[1 02 +%1 -00022 +01001]").arg(next++, 5, 10, QChar('0')));
        QTest::qWait(80); // past the log's append spacing
    };
    add(10000);
    TPaintCount behind, text;
    memo->installEventFilter(&behind);
    memo->parentWidget()->installEventFilter(&behind);
    memo->viewport()->installEventFilter(&text);
    for (int batch = 0; batch < 5; ++batch)
        add(40);
    EXPECT_GT(text.paints, 0);
    EXPECT_EQ(behind.paints, 0);

    // The bar's picture, against the style's own drawing over the window colour.
    QScrollBar* bar = memo->verticalScrollBar();
    QStyleOptionSlider option;
    option.initFrom(bar);
    option.orientation = bar->orientation();
    option.minimum = bar->minimum();
    option.maximum = bar->maximum();
    option.sliderPosition = bar->sliderPosition();
    option.sliderValue = bar->value();
    option.singleStep = bar->singleStep();
    option.pageStep = bar->pageStep();
    option.upsideDown = bar->invertedAppearance();
    option.subControls = QStyle::SC_All;
    option.activeSubControls = QStyle::SC_None;
    QImage expected(bar->size(), QImage::Format_RGB32);
    expected.fill(bar->palette().window().color());
    {
        QPainter painter(&expected);
        bar->style()->drawComplexControl(QStyle::CC_ScrollBar, &option, &painter, bar);
    }
    EXPECT_EQ(bar->grab().toImage().convertToFormat(QImage::Format_RGB32), expected);
}
