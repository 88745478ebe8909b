// SPDX-License-Identifier: GPL-3.0-or-later
// Files that are not files and a disk that is full: the settings file at start and close, and the
// chart export in every format, against FIFOs, device nodes of the test's own, links and a
// file-size limit (which fails a write as a full disk does).
#include "tests/e2e/fault_support.h"

#include "app/main_window.h"
#include "app/user_settings.h"
#include "charts/chart_window.h"
#include "charts/export_dialog.h"
#include "charts/strip_chart.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <csignal>
#include <fcntl.h>
#include <functional>
#include <mutex>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <thread>
#include <unistd.h>

using namespace kuvar;
using namespace std::chrono_literals;

namespace {

QByteArray Name(const QString& path) {
    return QFile::encodeName(path);
}

// The node's type and, for a link, where it points: what must not change.
std::string NodeOf(const QString& path) {
    struct stat st {};
    if (::lstat(Name(path).constData(), &st) != 0) {
        return "missing";
    }
    std::string node = std::to_string(st.st_mode & S_IFMT) + ":" + std::to_string(st.st_rdev);
    if (S_ISLNK(st.st_mode)) {
        char target[4096] = {};
        node +=
            std::string(":") + (::readlink(Name(path).constData(), target, 4095) > 0 ? target : "");
    }
    return node;
}

// Every entry of a folder, hidden ones included, so that a temporary left behind shows.
QStringList Entries(const QString& folder) {
    return QDir(folder).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

enum class TNode { Fifo, LinkToDevZero, Device, LinkToDevice, LinkToFifo, Folder };

struct TNodeCase {
    const char* name;
    TNode node;
};

// Makes the node at path inside the test's own folder; false when this machine does not allow
// it (mknod needs root).
bool MakeNode(TNode node, const QString& path) {
    const QString folder = QFileInfo(path).absolutePath();
    const QString device = folder + QStringLiteral("/own-device");
    const QString fifo = folder + QStringLiteral("/own-fifo");
    switch (node) {
    case TNode::Fifo:
        return ::mkfifo(Name(path).constData(), 0600) == 0;
    case TNode::LinkToDevZero:
        return ::symlink("/dev/zero", Name(path).constData()) == 0;
    case TNode::Device:
        // The null device's numbers, under a name in the test's folder.
        return ::mknod(Name(path).constData(), S_IFCHR | 0600, makedev(1, 3)) == 0;
    case TNode::LinkToDevice:
        return ::mknod(Name(device).constData(), S_IFCHR | 0600, makedev(1, 3)) == 0 &&
               ::symlink(Name(device).constData(), Name(path).constData()) == 0;
    case TNode::LinkToFifo:
        return ::mkfifo(Name(fifo).constData(), 0600) == 0 &&
               ::symlink(Name(fifo).constData(), Name(path).constData()) == 0;
    case TNode::Folder:
        return ::mkdir(Name(path).constData(), 0755) == 0;
    }
    return false;
}

const TNodeCase kNodes[] = {
    {"Fifo", TNode::Fifo},
    {"LinkToDevZero", TNode::LinkToDevZero},
    {"Device", TNode::Device},
    {"LinkToDevice", TNode::LinkToDevice},
    {"LinkToFifo", TNode::LinkToFifo},
    {"Folder", TNode::Folder},
};

// As export targets, the system's own device is never named: a fault would replace it.
const TNodeCase kExportNodes[] = {
    {"Fifo", TNode::Fifo},
    {"Device", TNode::Device},
    {"LinkToDevice", TNode::LinkToDevice},
    {"LinkToFifo", TNode::LinkToFifo},
    {"Folder", TNode::Folder},
};

std::string CaseName(const ::testing::TestParamInfo<TNodeCase>& info) {
    return info.param.name;
}

// The start-up and close of the window, in a process of its own so that a blocked read or a
// read without end fails the test instead of hanging or exhausting the machine.
struct TStartReport {
    bool started = false;
    long long startMs = -1;
    long growthKb = -1;
    std::string startStatus;
    bool closed = false;
    std::string closeStatus;
    int exit = -1;
};

TStartReport StartWindow(const QString& settings, bool close = true) {
    TStartReport report;
    std::vector<std::string> argv = {KUVAR_DRIVE_PROGRAM, "start", settings.toStdString()};
    if (!close) {
        argv.push_back("--no-close");
    }
    TChildProcess drive(argv);
    const auto started = drive.ReadLine(20s);
    char status[1024] = {};
    if (started && std::sscanf(started->c_str(), "started %lld %ld %1023[^\n]", &report.startMs,
                               &report.growthKb, status) >= 2) {
        report.started = true;
        report.startStatus = status;
    } else {
        report.startStatus = started.value_or("(nothing within 20 s)");
        return report;
    }
    const auto closed = drive.ReadLine(20s);
    if (closed && closed->rfind("closed ", 0) == 0) {
        report.closed = closed->compare(7, 1, "1") == 0;
        report.closeStatus = closed->substr(9);
    }
    report.exit = drive.WaitExit(10s);
    return report;
}

class FaultSettingsNode : public ::testing::TestWithParam<TNodeCase> {};

// A soft file-size limit for the test's own process; writes past it fail with EFBIG, as they
// fail with ENOSPC on a full disk.
class TFileSizeLimit {
public:
    explicit TFileSizeLimit(rlim_t bytes) {
        previous_ = std::signal(SIGXFSZ, SIG_IGN);
        ::getrlimit(RLIMIT_FSIZE, &saved_);
        const rlimit limit{bytes, saved_.rlim_max};
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~TFileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previous_);
    }

private:
    rlimit saved_{};
    void (*previous_)(int) = SIG_DFL;
};

std::unique_ptr<TfKUVAR> OpenWindow(const QString& settings) {
    auto window = std::make_unique<TfKUVAR>(TAppPaths{settings, QStringLiteral(KUVAR_PICTURES)});
    window->show();
    return window;
}

bool StartsWith(const std::string& text, const std::string& head) {
    return text.rfind(head, 0) == 0;
}

} // namespace

// What must hold: the window is up at once without reading the node and says why it did not
// load; the close refuses to write it; the node is still the node it was.
TEST_P(FaultSettingsNode, StartsAtOnceAndLeavesTheNodeAlone) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("UserSet.dat"));
    if (!MakeNode(GetParam().node, path)) {
        GTEST_SKIP() << "this machine does not allow making the node";
    }
    const std::string before = NodeOf(path);
    // The save is not tried on a link to the system's device: a fault there would replace it.
    const bool close = GetParam().node != TNode::LinkToDevZero;
    const TStartReport report = StartWindow(path, close);
    ASSERT_TRUE(report.started) << report.startStatus;
    EXPECT_LT(report.startMs, 10000);
    EXPECT_LT(report.growthKb, 250 * 1024); // about 20 MB, more under a sanitizer
    EXPECT_TRUE(StartsWith(report.startStatus,
                           "Cannot open " + path.toStdString() + ": not a regular file - "))
        << report.startStatus;
    EXPECT_FALSE(report.closed);
    if (close) {
        EXPECT_TRUE(StartsWith(report.closeStatus,
                               "Cannot write " + path.toStdString() + ": not a regular file - "))
            << report.closeStatus;
    }
    EXPECT_EQ(report.exit, 0);
    EXPECT_EQ(NodeOf(path), before);
}

INSTANTIATE_TEST_SUITE_P(Nodes, FaultSettingsNode, ::testing::ValuesIn(kNodes), CaseName);

// What must hold: a sparse settings file of a gigabyte costs its first bytes only.
TEST(FaultSettingsSize, AGigabyteFileLoadsAtOnceWithoutGrowing) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("UserSet.dat"));
    {
        TUserSetRecord record;
        record.SetDefaults();
        record.SetText(UserSetField::PortNo, QStringLiteral("COM7"));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(record.Serialize());
    }
    ASSERT_EQ(::truncate(Name(path).constData(), 1LL << 30), 0);
    const TStartReport report = StartWindow(path);
    ASSERT_TRUE(report.started) << report.startStatus;
    EXPECT_EQ(report.startStatus, "");
    EXPECT_LT(report.startMs, 10000);
    EXPECT_LT(report.growthKb, 250 * 1024); // about 20 MB, more under a sanitizer
    EXPECT_TRUE(report.closed) << report.closeStatus;
    EXPECT_EQ(QFileInfo(path).size(), kUserSetSize);
}

// What must hold: the first start with no room leaves no empty UserSet.dat behind, says why,
// and the next start with room is clean.
TEST(FaultSettingsFull, FirstStartWithoutRoomLeavesNoFileAndTheNextStartIsClean) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("UserSet.dat"));
    {
        TFileSizeLimit full(100);
        auto window = OpenWindow(path);
        EXPECT_TRUE(window->StatusText(0).startsWith(
            QStringLiteral("Cannot create %1: File too large - ").arg(path)))
            << window->StatusText(0).toStdString();
        EXPECT_FALSE(window->close());
        EXPECT_TRUE(window->StatusText(0).startsWith(
            QStringLiteral("Cannot write %1: File too large - ").arg(path)))
            << window->StatusText(0).toStdString();
        EXPECT_TRUE(Entries(dir.path()).isEmpty()) << Entries(dir.path()).join(' ').toStdString();
    }
    auto window = OpenWindow(path);
    EXPECT_EQ(window->StatusText(0), QString());
    EXPECT_EQ(window->TopPanel.ePortNo->currentText(), QStringLiteral("COM1"));
    EXPECT_TRUE(window->close());
    EXPECT_EQ(QFileInfo(path).size(), kUserSetSize);
}

// What must hold: a close that cannot write says why, keeps the window and the old file whole,
// and leaves no temporary.
TEST(FaultSettingsFull, CloseWithoutRoomKeepsTheOldFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("UserSet.dat"));
    auto window = OpenWindow(path);
    ASSERT_TRUE(window->close());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray before = file.readAll();
    file.close();
    window.reset();
    window = OpenWindow(path);
    window->LeftColumn.edSend1->setText(QStringLiteral("changed"));
    {
        TFileSizeLimit full(100);
        EXPECT_FALSE(window->close());
    }
    EXPECT_TRUE(window->StatusText(0).startsWith(
        QStringLiteral("Cannot write %1: File too large - ").arg(path)))
        << window->StatusText(0).toStdString();
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), before);
    EXPECT_EQ(Entries(dir.path()), QStringList{QStringLiteral("UserSet.dat")});
}

// What must hold: the program itself, under "ulimit -f 0", is not ended by SIGXFSZ at its first
// save: it stays up with the failure shown, and leaves no settings file.
TEST(FaultFileSizeLimit, TheProgramSurvivesAFailedSave) {
    QTemporaryDir dir;
    const QString exe = dir.filePath(QStringLiteral("kuvar"));
    // A copy beside its pictures, so that its settings file is in this folder.
    ASSERT_TRUE(QFile::copy(QStringLiteral(KUVAR_PROGRAM), exe));
    for (const char* picture : {"on.bmp", "off.bmp"}) {
        ASSERT_TRUE(QFile::copy(QStringLiteral(KUVAR_PICTURES "/") + QLatin1String(picture),
                                dir.filePath(QLatin1String(picture))));
    }
    TChildProcess kuvar({"/bin/sh", "-c", "ulimit -f 0 && exec \"$0\"", exe.toStdString()});
    ASSERT_TRUE(kuvar.Started());
    // Unharmed, the first save at start-up runs within a second; give it many.
    const int exit = kuvar.WaitExit(8s);
    EXPECT_EQ(exit, -1) << "ended with " << exit << (exit == 128 + SIGXFSZ ? " (SIGXFSZ)" : "");
    kuvar.Kill(SIGKILL);
    kuvar.WaitExit(5s);
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("UserSet.dat"))));
    EXPECT_EQ(Entries(dir.path()).size(), 3) << Entries(dir.path()).join(' ').toStdString();
}

namespace {

// The strip chart of the KUVAR-AC page with 300 points on its three lines.
class ChartFixture {
protected:
    ChartFixture() : strip(charts::AcStripChartConfig(), &page) {
        page.resize(840, 610);
        for (int i = 0; i < 300; ++i) {
            const double y = (i % 37) * 0.25 - 3;
            charts::AppendChartPoints(strip.Chart(), {y, y * 2, y * 3}, 300);
        }
    }
    QString Path(const QString& name) const { return dir.filePath(name); }

    QTemporaryDir dir;
    QWidget page;
    charts::TStripChart strip;
};

// Opens a FIFO for reading after a while if an export is still blocked in opening it for
// writing, so that the fault fails the test instead of hanging it; keeps it open (a writer
// without a reader would get SIGPIPE) until the export has returned.
class TFifoRescue {
public:
    explicit TFifoRescue(const QString& path) : path_(Name(path)) {
        thread_ = std::thread([this] { Run(); });
    }
    ~TFifoRescue() {
        {
            std::lock_guard lock(mutex_);
            done_ = true;
        }
        wake_.notify_all();
        thread_.join();
    }

private:
    void Run() {
        std::unique_lock lock(mutex_);
        if (wake_.wait_for(lock, 10s, [this] { return done_; })) {
            return;
        }
        const int fd = ::open(path_.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        while (!wake_.wait_for(lock, 10ms, [this] { return done_; })) {
            char buffer[4096];
            while (fd >= 0 && ::read(fd, buffer, sizeof buffer) > 0) {
            }
        }
        if (fd >= 0) {
            ::close(fd);
        }
    }

    QByteArray path_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool done_ = false;
    std::thread thread_;
};

class FaultExportNode : public ChartFixture, public ::testing::TestWithParam<TNodeCase> {};

class FaultExportFull : public ChartFixture, public ::testing::Test {};

} // namespace

// What must hold: every format refuses the node at once with a clear message, and the node is
// still the node it was.
TEST_P(FaultExportNode, EveryFormatRefusesTheNodeAtOnce) {
    const QString path = Path(QStringLiteral("target"));
    if (!MakeNode(GetParam().node, path)) {
        GTEST_SKIP() << "this machine does not allow making the node";
    }
    const std::string before = NodeOf(path);
    for (const charts::TExportFormatInfo& format : charts::ExportFormats()) {
        const long long start = MonotonicNs();
        std::string message = "(no error)";
        {
            TFifoRescue rescue(path);
            try {
                charts::ExportChart(strip.Chart(), path, format.format);
            } catch (const charts::EChartExportError& e) {
                message = e.what();
            }
        }
        EXPECT_LT((MonotonicNs() - start) / 1000000, 5000) << format.suffix.toStdString();
        EXPECT_EQ(message, "Cannot write " + path.toStdString() + ": not a regular file")
            << format.suffix.toStdString();
        EXPECT_EQ(NodeOf(path), before) << format.suffix.toStdString();
    }
    // The dialog shows the same and does not call it saved.
    charts::TChartExportDialog dialog(strip.Chart(), &page);
    dialog.findChild<QLineEdit*>(QStringLiteral("edExportFile"))->setText(path);
    {
        TFifoRescue rescue(path);
        EXPECT_FALSE(dialog.Save());
    }
    EXPECT_EQ(dialog.findChild<QLabel*>(QStringLiteral("lbExportStatus"))->text(),
              QStringLiteral("Cannot write %1: not a regular file").arg(path));
    EXPECT_EQ(NodeOf(path), before);
}

INSTANTIATE_TEST_SUITE_P(Nodes, FaultExportNode, ::testing::ValuesIn(kExportNodes), CaseName);

// What must hold: an export through a link to a regular file writes that file and keeps the
// link.
TEST_F(FaultExportFull, ALinkToAFileIsWrittenThroughAndStaysALink) {
    const QString real = Path(QStringLiteral("real.csv"));
    const QString link = Path(QStringLiteral("link.csv"));
    QFile(real).open(QIODevice::WriteOnly);
    ASSERT_EQ(::symlink("real.csv", Name(link).constData()), 0);
    charts::ExportChart(strip.Chart(), link, charts::TExportFormat::Csv);
    char target[64] = {};
    EXPECT_EQ(::readlink(Name(link).constData(), target, sizeof target - 1), 8);
    EXPECT_STREQ(target, "real.csv");
    QFile file(real);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().startsWith("X,AccX,AccY,AccZ,Time\r\n"));
}

// What must hold: when the disk fills half way, every format reports the failure with the
// system's reason, and leaves under the chosen name nothing, or the old file whole, and no
// temporary beside it.
TEST_F(FaultExportFull, EveryFormatFailsWholeAndSaysWhy) {
    const QString full = Path(QStringLiteral("full"));
    ASSERT_TRUE(QDir().mkpath(full));
    for (const charts::TExportFormatInfo& format : charts::ExportFormats()) {
        const std::string suffix = format.suffix.toStdString();
        const QString reference = Path(QStringLiteral("reference.") + format.suffix);
        charts::ExportChart(strip.Chart(), reference, format.format);
        const qint64 whole = QFileInfo(reference).size();
        ASSERT_GT(whole, 1000) << suffix;

        const QString chosen = full + QStringLiteral("/chart.") + format.suffix;
        for (bool old : {false, true}) {
            const QByteArray oldBytes = "old content";
            if (old) {
                QFile file(chosen);
                ASSERT_TRUE(file.open(QIODevice::WriteOnly));
                file.write(oldBytes);
            }
            std::string message = "(no error)";
            {
                TFileSizeLimit limit(static_cast<rlim_t>(whole / 2));
                try {
                    charts::ExportChart(strip.Chart(), chosen, format.format);
                } catch (const charts::EChartExportError& e) {
                    message = e.what();
                }
            }
            EXPECT_EQ(message, "Cannot write " + chosen.toStdString() + ": File too large")
                << suffix;
            QFile file(chosen);
            if (old) {
                ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << suffix;
                EXPECT_EQ(file.readAll(), oldBytes) << suffix;
                file.close();
                EXPECT_EQ(Entries(full), QStringList{QFileInfo(chosen).fileName()}) << suffix;
                file.remove();
            } else {
                EXPECT_TRUE(Entries(full).isEmpty())
                    << suffix << ": " << Entries(full).join(' ').toStdString();
            }
        }
    }
}
