// SPDX-License-Identifier: GPL-3.0-or-later
// Recording to disk against kuvar-sim: every frame the simulator sent is in the file, in order,
// with the values the displays showed; a killed window leaves a readable file that lacks at most
// the last second; a full disk or a place that cannot be written stops the recording with a clear
// line while the stream goes on. Also the receive log saved to a file.
#include "tests/e2e/fault_support.h"
#include "tests/e2e/sim_process.h"
#include "tests/e2e/window_driver.h"

#include "charts/chart_export.h"
#include "modules/wire_text.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>

#include <gtest/gtest.h>

#include <csignal>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

using namespace kuvar;
using namespace std::chrono_literals;

namespace {

// One frame as the simulator logged it: when its last byte was written, and its text.
struct TSentFrame {
    long long ns;
    std::string text;
};

std::vector<TSentFrame> ReadFrameLog(const QString& path) {
    std::vector<TSentFrame> frames;
    std::ifstream in(path.toStdString());
    std::string line;
    while (std::getline(in, line)) {
        const auto blank = line.find(' ');
        if (blank != std::string::npos) {
            frames.push_back({std::stoll(line.substr(0, blank)), line.substr(blank + 1)});
        }
    }
    return frames;
}

// The recording read back: header lines, column names, rows of fields, and whether the last
// line lacked its line end (torn by a kill).
struct TRecording {
    QStringList header;
    QByteArray columns;
    std::vector<std::vector<std::string>> rows;
    bool tornLast = false;
};

// RFC 4180 fields of one line.
std::vector<std::string> Fields(const QByteArray& line) {
    std::vector<std::string> fields(1);
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted) {
            if (c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
                fields.back() += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                fields.back() += c;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            fields.emplace_back();
        } else {
            fields.back() += c;
        }
    }
    return fields;
}

TRecording ReadRecording(const QString& path) {
    TRecording r;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return r;
    }
    const QByteArray all = file.readAll();
    qsizetype at = 0;
    while (at < all.size()) {
        const qsizetype end = all.indexOf("\r\n", at);
        if (end < 0) {
            r.tornLast = true;
            break;
        }
        const QByteArray line = all.mid(at, end - at);
        at = end + 2;
        if (line.startsWith('#')) {
            r.header << QString::fromUtf8(line);
        } else if (r.columns.isEmpty()) {
            r.columns = line;
        } else {
            r.rows.push_back(Fields(line));
        }
    }
    return r;
}

qint64 MsOf(const std::string& iso) {
    return QDateTime::fromString(QString::fromStdString(iso), Qt::ISODateWithMs)
        .toMSecsSinceEpoch();
}

// A frame's reading as the display shows it at one decimal: "12.0" for 12, "-0.5" for tenths -5.
std::string Shown(long long value, bool tenths) {
    if (!tenths) {
        return std::to_string(value) + ".0";
    }
    const long long magnitude = value < 0 ? -value : value;
    return (value < 0 ? "-" : "") + std::to_string(magnitude / 10) + "." +
           std::to_string(magnitude % 10);
}

// The three readings of a frame: AC "[id md x y z]", GY "[id md roll pitch yaw]".
std::array<long long, 3> Readings(const std::string& frame) {
    std::istringstream in(frame.substr(1));
    std::string id, mode;
    long long a = 0, b = 0, c = 0;
    in >> id >> mode >> a >> b >> c;
    return {a, b, c};
}

const QStringList kColumns = {QStringLiteral("time"),   QStringLiteral("kind"),
                              QStringLiteral("page"),   QStringLiteral("unit"),
                              QStringLiteral("value1"), QStringLiteral("value2"),
                              QStringLiteral("value3"), QStringLiteral("raw")};

// The sent frames must be found among the rows in their order, each as its raw text.
::testing::AssertionResult HoldsInOrder(const std::vector<TSentFrame>& sent,
                                        const std::vector<std::vector<std::string>>& rows) {
    std::size_t row = 0;
    for (std::size_t i = 0; i < sent.size(); ++i) {
        while (row < rows.size() && rows[row][7] != sent[i].text) {
            ++row;
        }
        if (row == rows.size()) {
            return ::testing::AssertionFailure() << "frame " << i << " of " << sent.size() << " ("
                                                 << sent[i].text << ") is missing or out of order";
        }
        ++row;
    }
    return ::testing::AssertionSuccess();
}

// The per-user settings file in a folder of the test's own, so that parallel tests and the
// user's own settings stay apart.
class TOwnConfig {
public:
    TOwnConfig() : saved_(qgetenv("XDG_CONFIG_HOME")) {
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir_.path()));
    }
    ~TOwnConfig() {
        saved_.isEmpty() ? qunsetenv("XDG_CONFIG_HOME") : qputenv("XDG_CONFIG_HOME", saved_);
    }

private:
    QTemporaryDir dir_;
    QByteArray saved_;
};

struct TPageCase {
    const char* name;
    bool gy;
};

class Recording : public ::testing::TestWithParam<TPageCase> {
protected:
    QString Path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }

    TOwnConfig config;
    QTemporaryDir dir;
    QTemporaryDir simDir;
};

std::string CaseName(const ::testing::TestParamInfo<TPageCase>& info) {
    return info.param.name;
}

} // namespace

// What must hold: every frame the simulator sent while recording is in the file, in order, with
// times that never go backwards and the values the displays showed; the frames the window sent
// are in it too, and the file ends cleanly when the recording ends.
TEST_P(Recording, HoldsEveryFrameTheSimulatorSentWithTheValuesShown) {
    const bool gy = GetParam().gy;
    const QString frameLog = Path("frames.log");
    TSimProcess sim(gy ? QStringLiteral("gy") : QStringLiteral("ac"),
                    simDir.filePath(QStringLiteral("sim")),
                    {QStringLiteral("--interval"), QStringLiteral("5"),
                     QStringLiteral("--log-frames"), frameLog});
    ASSERT_TRUE(sim.Started());
    TWindowFixture fixture;
    TfKUVAR& w = *fixture.window;
    if (gy) {
        fixture.ClickButton(w.TopPanel.btGY);
    }
    // Without a port there is nothing to record.
    fixture.ClickButton(w.TopPanel.btRecord);
    EXPECT_TRUE(fixture.boxes.seen.contains(QStringLiteral("Open Com port.")));
    EXPECT_FALSE(w.Recorder->Recording());
    ASSERT_TRUE(fixture.OpenPort(sim.Link()));

    // The operator chooses the file in the dialog, offered in the documents folder first.
    QString suggested;
    const QString path = Path("run.csv");
    w.Recorder->chooseFile = [&](QWidget*, const QString& offered) {
        suggested = offered;
        return path;
    };
    fixture.ClickButton(w.TopPanel.btRecord);
    ASSERT_TRUE(w.Recorder->Recording()) << w.StatusText(0).toStdString();
    EXPECT_TRUE(w.TopPanel.btRecord->Checked());
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    EXPECT_EQ(QFileInfo(suggested).absolutePath(),
              QFileInfo(documents).isDir() ? documents : QDir::homePath());
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^kuvar-\\d{8}-\\d{6}\\.csv$"))
                    .match(QFileInfo(suggested).fileName())
                    .hasMatch())
        << suggested.toStdString();
    // The next recording is offered in this one's folder.
    EXPECT_EQ(QFileInfo(w.Recorder->SuggestedPath()).absolutePath(), dir.path());

    const qint64 startedMs = QDateTime::currentMSecsSinceEpoch();
    charts::TChart& chart = gy ? w.GyPage.Chart2->Chart() : w.AcPage.Chart1->Chart();
    fixture.ClickButton(gy ? static_cast<QWidget*>(w.GyPage.btGYSTART) : w.AcPage.btACStart);
    ASSERT_TRUE(WaitFor([&] { return chart.Series(0).Count() >= 300; }, 20000));
    fixture.ClickButton(gy ? static_cast<QWidget*>(w.GyPage.btGYStop) : w.AcPage.btACStop);
    ASSERT_TRUE(WaitFor([&] { return fixture.LogContains(QStringLiteral("STOP]")); }, 5000));
    WaitFor([] { return false; }, 200);
    const auto* x = gy ? w.GyPage.ssGYRoll : w.AcPage.ssACX;
    const auto* y = gy ? w.GyPage.ssGYPitch : w.AcPage.ssACY;
    const auto* z = gy ? w.GyPage.ssGYYaw : w.AcPage.ssACZ;
    const std::vector<std::string> displayed = {x->Text().toStdString(), y->Text().toStdString(),
                                                z->Text().toStdString()};
    // The AC run ends with the port's closing, the GY run with the button.
    if (gy) {
        fixture.ClickButton(w.TopPanel.btRecord);
    } else {
        fixture.ClickButton(w.TopPanel.btConnect);
    }
    EXPECT_FALSE(w.Recorder->Recording());
    EXPECT_FALSE(w.TopPanel.btRecord->Checked());
    ASSERT_TRUE(WaitFor([&] { return !w.Recorder->Writing(); }, 10000));
    const qint64 endedMs = QDateTime::currentMSecsSinceEpoch();

    const std::vector<TSentFrame> sent = ReadFrameLog(frameLog);
    const TRecording r = ReadRecording(path);
    ASSERT_GE(sent.size(), 300u);
    EXPECT_FALSE(r.tornLast);
    EXPECT_EQ(QString::fromLatin1(r.columns).split(QLatin1Char(',')), kColumns);
    EXPECT_EQ(
        r.header.filter(QRegularExpression(QStringLiteral("^# program: kuvar \\d+\\.\\d+"))).size(),
        1)
        << r.header.join('\n').toStdString();
    EXPECT_TRUE(r.header.contains(QStringLiteral("# port: ") + sim.Link()));
    EXPECT_TRUE(r.header.contains(QStringLiteral("# baud rate: 115200")));
    EXPECT_TRUE(HoldsInOrder(sent, r.rows));

    qint64 last = startedMs - 1000;
    std::size_t frames = 0;
    bool sentStart = false;
    const std::vector<std::string>* lastFrame = nullptr;
    for (const auto& row : r.rows) {
        ASSERT_EQ(row.size(), 8u);
        const qint64 ms = MsOf(row[0]);
        EXPECT_GE(ms, last) << row[0] << " goes backwards";
        EXPECT_LE(ms, endedMs + 1000);
        last = ms;
        EXPECT_EQ(row[2], gy ? "GY" : "AC") << row[7];
        if (row[1] == "sent") {
            sentStart = sentStart || row[7].find(" START>") != std::string::npos;
            continue;
        }
        if (row[1] != "frame") {
            EXPECT_EQ(row[1], "reply");
            EXPECT_EQ(row[3] + row[4] + row[5] + row[6], "") << row[7];
            continue;
        }
        ++frames;
        lastFrame = &row;
        // The values as the displays showed them: the frame's readings (angles in tenths of a
        // degree on the GY page).
        const auto readings = Readings(row[7]);
        EXPECT_EQ(row[3], gy ? "deg" : "mg");
        EXPECT_EQ(row[4], Shown(readings[0], gy)) << row[7];
        EXPECT_EQ(row[5], Shown(readings[1], gy)) << row[7];
        EXPECT_EQ(row[6], Shown(readings[2], gy)) << row[7];
    }
    EXPECT_TRUE(sentStart) << "the START frame the window sent";
    EXPECT_GE(frames, 300u);
    ASSERT_NE(lastFrame, nullptr);
    EXPECT_EQ((std::vector<std::string>{(*lastFrame)[4], (*lastFrame)[5], (*lastFrame)[6]}),
              displayed);
    // The chart's export carries the same times as the file.
    EXPECT_TRUE(charts::ChartDataText(chart, QLatin1Char(','))
                    .section(QStringLiteral("\r\n"), 1, 1)
                    .contains(QRegularExpression(QStringLiteral(
                        ",\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d\\.\\d{3}[+-]\\d\\d:\\d\\d$"))));
}

INSTANTIATE_TEST_SUITE_P(Pages, Recording,
                         ::testing::Values(TPageCase{"Ac", false}, TPageCase{"Gy", true}),
                         CaseName);

// What must hold: closing the window ends the file with its last row whole.
TEST(RecordingEnd, ClosingTheWindowEndsTheFileCleanly) {
    QTemporaryDir dir;
    QTemporaryDir simDir;
    const QString frameLog = dir.filePath(QStringLiteral("frames.log"));
    TSimProcess sim(QStringLiteral("ac"), simDir.filePath(QStringLiteral("ac")),
                    {QStringLiteral("--stream"), QStringLiteral("--interval"), QStringLiteral("5"),
                     QStringLiteral("--log-frames"), frameLog});
    ASSERT_TRUE(sim.Started());
    const QString path = dir.filePath(QStringLiteral("closed.csv"));
    {
        TWindowFixture fixture;
        ASSERT_TRUE(fixture.OpenPort(sim.Link()));
        fixture.window->Recorder->Start(path);
        ASSERT_TRUE(WaitFor([&] { return fixture.LogContains(QStringLiteral("]")); }, 5000));
        WaitFor([] { return false; }, 300);
        fixture.window.reset();
    }
    const TRecording r = ReadRecording(path);
    EXPECT_FALSE(r.tornLast);
    EXPECT_GT(r.rows.size(), 10u);
    for (const auto& row : r.rows) {
        EXPECT_EQ(row.size(), 8u);
    }
}

namespace {

struct TPlaceCase {
    const char* name;
    std::function<QString(const QString& dir)> make; // the file to record to
    const char* why;
};

} // namespace

// What must hold: a place where the file cannot be made gives the clear line in panel 0 and no
// recording; the stream goes on.
TEST(RecordingFaults, AnUnwritablePlaceStopsTheRecordingAndTheStreamGoesOn) {
    QTemporaryDir simDir;
    TSimProcess sim(
        QStringLiteral("ac"), simDir.filePath(QStringLiteral("ac")),
        {QStringLiteral("--stream"), QStringLiteral("--interval"), QStringLiteral("5")});
    ASSERT_TRUE(sim.Started());
    TWindowFixture fixture;
    TfKUVAR& w = *fixture.window;
    ASSERT_TRUE(fixture.OpenPort(sim.Link()));
    fixture.ClickButton(w.AcPage.btACStart);
    const TPlaceCase cases[] = {
        {"read-only folder",
         [](const QString& d) {
             ::mkdir(QFile::encodeName(d + QStringLiteral("/ro")).constData(), 0555);
             return d + QStringLiteral("/ro/run.csv");
         },
         "Permission denied"},
        {"missing folder", [](const QString& d) { return d + QStringLiteral("/gone/run.csv"); },
         "No such file or directory"},
        {"folder that is a file",
         [](const QString& d) {
             QFile(d + QStringLiteral("/plain")).open(QIODevice::WriteOnly);
             return d + QStringLiteral("/plain/run.csv");
         },
         "Not a directory"},
        {"a FIFO",
         [](const QString& d) {
             ::mkfifo(QFile::encodeName(d + QStringLiteral("/fifo")).constData(), 0600);
             return d + QStringLiteral("/fifo");
         },
         "not a regular file"},
    };
    for (const TPlaceCase& c : cases) {
        QTemporaryDir dir;
        const QString path = c.make(dir.path());
        if (std::string(c.name) == "read-only folder" &&
            ::access(QFile::encodeName(dir.path() + QStringLiteral("/ro")).constData(), W_OK) ==
                0) {
            continue; // the superuser writes into any folder
        }
        const int before = w.AcPage.Chart1->Chart().Series(0).Count();
        w.Recorder->Start(path);
        EXPECT_FALSE(w.Recorder->Recording()) << c.name;
        EXPECT_FALSE(w.TopPanel.btRecord->Checked()) << c.name;
        EXPECT_TRUE(w.StatusText(0).startsWith(
            QStringLiteral("Recording stopped: %1 (%2) - ").arg(QLatin1String(c.why), path)))
            << c.name << ": " << w.StatusText(0).toStdString();
        EXPECT_TRUE(WaitFor(
            [&] { return w.AcPage.Chart1->Chart().Series(0).Count() > before + 20; }, 10000))
            << c.name << ": the stream stopped";
        EXPECT_EQ(QFileInfo(path).isFile(), false) << c.name;
    }
}

// What must hold: a disk that fills during the recording (a file-size limit in the window's own
// process) stops it with the clear line, no crash, the stream goes on, and the file keeps every
// whole line written before.
TEST(RecordingFaults, AFullDiskStopsTheRecordingAndTheStreamGoesOn) {
    QTemporaryDir dir;
    QTemporaryDir simDir;
    TSimProcess sim(QStringLiteral("ac"), simDir.filePath(QStringLiteral("ac")),
                    {QStringLiteral("--interval"), QStringLiteral("5")});
    ASSERT_TRUE(sim.Started());
    const QString path = dir.filePath(QStringLiteral("full.csv"));
    constexpr int kLimit = 30000;
    TChildProcess drive({KUVAR_DRIVE_PROGRAM, "record", sim.Link().toStdString(), "115200",
                         path.toStdString(), "8", std::to_string(kLimit)});
    ASSERT_TRUE(drive.Started());
    const std::string stopped =
        "status Recording stopped: File too large (" + path.toStdString() + ") - ";
    int pointsAtStop = -1;
    int pointsLast = -1;
    std::string closed;
    std::vector<std::string> statuses;
    for (auto line = drive.ReadLine(30s); line; line = drive.ReadLine(30s)) {
        if (line->rfind("status ", 0) == 0) {
            statuses.push_back(*line);
            if (line->rfind(stopped, 0) == 0) {
                pointsAtStop = pointsLast;
            }
        } else if (line->rfind("points ", 0) == 0) {
            pointsLast = std::stoi(line->substr(7));
        } else if (line->rfind("closed ", 0) == 0) {
            closed = *line;
            break;
        }
    }
    EXPECT_EQ(drive.WaitExit(20s), 0);
    ASSERT_GE(pointsAtStop, 0) << "no line of the stop; panel 0 showed:\n"
                               << ::testing::PrintToString(statuses);
    ASSERT_FALSE(closed.empty());
    EXPECT_GT(std::stoi(closed.substr(7)), pointsAtStop + 100) << "the stream went on";
    const TRecording r = ReadRecording(path);
    EXPECT_LE(QFileInfo(path).size(), kLimit);
    EXPECT_FALSE(r.tornLast) << "a part of a line was left at the end";
    EXPECT_EQ(QString::fromLatin1(r.columns).split(QLatin1Char(',')), kColumns);
    EXPECT_GT(r.rows.size(), 50u);
    for (const auto& row : r.rows) {
        EXPECT_EQ(row.size(), 8u);
    }
}

// What must hold: a window killed while it records leaves a readable file that holds every frame
// sent up to one second before the kill (a torn last line, if any, lacks its line end).
TEST(RecordingFaults, AKilledWindowLosesAtMostTheLastSecond) {
    QTemporaryDir dir;
    QTemporaryDir simDir;
    const QString frameLog = dir.filePath(QStringLiteral("frames.log"));
    TSimProcess sim(QStringLiteral("ac"), simDir.filePath(QStringLiteral("ac")),
                    {QStringLiteral("--interval"), QStringLiteral("5"),
                     QStringLiteral("--log-frames"), frameLog});
    ASSERT_TRUE(sim.Started());
    const QString path = dir.filePath(QStringLiteral("killed.csv"));
    TChildProcess drive({KUVAR_DRIVE_PROGRAM, "record", sim.Link().toStdString(), "115200",
                         path.toStdString(), "60"});
    ASSERT_TRUE(drive.Started());
    std::optional<std::string> line = drive.ReadLine(30s);
    ASSERT_TRUE(line && line->rfind("recording ", 0) == 0) << line.value_or("(nothing)");
    // Let it record a while: frames stream in, the file grows.
    int points = 0;
    while ((line = drive.ReadLine(30s)) && points < 600) {
        if (line->rfind("points ", 0) == 0) {
            points = std::stoi(line->substr(7));
        }
    }
    ASSERT_GE(points, 600);
    const long long killedAt = MonotonicNs();
    drive.Kill(SIGKILL);
    EXPECT_EQ(drive.WaitExit(10s), 128 + SIGKILL);

    std::vector<TSentFrame> sent = ReadFrameLog(frameLog);
    std::erase_if(sent, [&](const TSentFrame& f) { return f.ns > killedAt - 1'000'000'000LL; });
    ASSERT_GE(sent.size(), 300u);
    const TRecording r = ReadRecording(path);
    EXPECT_EQ(QString::fromLatin1(r.columns).split(QLatin1Char(',')), kColumns);
    for (const auto& row : r.rows) {
        ASSERT_EQ(row.size(), 8u);
    }
    EXPECT_TRUE(HoldsInOrder(sent, r.rows));
}

// What must hold: the receive log's "Save Log..." and Ctrl+S write every line it holds, the ones
// not yet shown included, in the line's code page.
TEST(ReceiveLogSave, EveryLineGoesIntoTheFileInCodePage949) {
    TOwnConfig config;
    QTemporaryDir dir;
    QTemporaryDir simDir;
    TSimProcess sim(
        QStringLiteral("ac"), simDir.filePath(QStringLiteral("ac")),
        {QStringLiteral("--stream"), QStringLiteral("--interval"), QStringLiteral("2")});
    ASSERT_TRUE(sim.Started());
    TWindowFixture fixture;
    TfKUVAR& w = *fixture.window;
    ASSERT_TRUE(fixture.OpenPort(sim.Link()));
    ASSERT_TRUE(WaitFor([&] { return w.LeftColumn.Memo1->blockCount() > 200; }, 10000));
    fixture.ClickButton(w.TopPanel.btConnect);
    ASSERT_FALSE(w.Link->PortOpen());
    // A line in Korean (the operator's note, say) that the log has not shown yet.
    w.AppendLog(QStringLiteral("센서 메모"));
    const QString path = dir.filePath(QStringLiteral("log.txt"));
    QString offered;
    w.LogSaver->chooseFile = [&](QWidget*, const QString& suggested) {
        offered = suggested;
        return path;
    };
    w.LeftColumn.Memo1->setFocus();
    QTest::keyClick(w.LeftColumn.Memo1, Qt::Key_S, Qt::ControlModifier);
    ASSERT_TRUE(QFileInfo(path).isFile()) << w.StatusText(0).toStdString();
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^kuvar-log-\\d{8}-\\d{6}\\.txt$"))
                    .match(QFileInfo(offered).fileName())
                    .hasMatch())
        << offered.toStdString();
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QByteArray expected;
    for (const QString& l : w.LeftColumn.Memo1->toPlainText().split(QLatin1Char('\n'))) {
        expected += QByteArray::fromStdString(modules::ToWire(l)) + '\n';
    }
    EXPECT_EQ(bytes, expected);
    EXPECT_TRUE(bytes.endsWith("\xBC\xBE\xBC\xAD \xB8\xDE\xB8\xF0\n")) << "in code page 949";
    EXPECT_GT(bytes.count('\n'), 200);
}
