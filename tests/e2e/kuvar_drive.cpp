// SPDX-License-Identifier: GPL-3.0-or-later
// Drives the real window from a script or a test, in a process of its own:
//   kuvar_drive soak PORT BAUD SECONDS [REPORT_SECONDS]
//       opens PORT and counts the replies that reach the log; prints a line of figures every
//       REPORT_SECONDS (default 10): elapsed s, VmRSS kB, CPU s, replies, log lines, RssAnon kB,
//       chart points. Environment: SOAK_MODULE=gy streams the GY page; SOAK_LINE_RATE sets the
//       port to that bit rate after opening; SOAK_RECORD records to that file from before the
//       stream until the port closes; SOAK_FRAMES ends the run once the chart holds that many
//       points.
//   kuvar_drive close-while-waiting PORT SETTINGS AFTER_MS
//   kuvar_drive close-while-streaming PORT SETTINGS AFTER_MS
//       opens PORT (with its settings file SETTINGS), waits in a transaction that gets no answer
//       or lets the stream run, and after AFTER_MS closes the window with edSend1 "closed-<pid>";
//       prints "closing <CLOCK_MONOTONIC ns>" just before.
//   kuvar_drive close-during-id-find PORT SETTINGS FRAMES
//       opens PORT, presses ID Find and answers Yes; 100 ms after the window has sent FRAMES
//       frames it closes the window, printing "closing <CLOCK_MONOTONIC ns> <frames sent>" just
//       before; prints "sent <frames>" when the window is gone.
//   kuvar_drive close-race PORT SETTINGS AFTER_MS
//       opens PORT, puts a line of 100,000 characters into edSend1 and presses its Send button
//       three times in a row; AFTER_MS later closes the window, printing "closing <ns>" before.
//   kuvar_drive save-loop SETTINGS
//       saves the settings file again and again; prints "saving" after the first save.
//   kuvar_drive record PORT BAUD FILE SECONDS [FILE_SIZE_LIMIT]
//       opens PORT, starts recording to FILE and then the stream (SOAK_MODULE=gy: the GY page's);
//       prints "recording <CLOCK_MONOTONIC ns>", then "status <panel 0>" whenever panel 0 changes
//       and "points <chart points>" every 100 ms; after SECONDS closes the window and prints
//       "closed <chart points>". With FILE_SIZE_LIMIT, a write past that many bytes fails
//       (RLIMIT_FSIZE) as on a full disk.
//   kuvar_drive start SETTINGS [--no-close]
//       starts the window on SETTINGS and closes it (unless --no-close); prints "started <ms>
//       <VmRSS growth kB> <status panel 0>" once it is up and "closed <1 when the window closed,
//       else 0> <status panel 0>" after the close. Ends with status 3 as soon as it has grown by
//       400 MB.
#include "app/app_exception.h"
#include "app/main_window.h"
#include "app/user_settings.h"
#include "modules/ac_commands.h"
#include "modules/gy_commands.h"
#include "protocol/transactions.h"
#include "tests/e2e/fault_support.h"

#include <QAbstractButton>
#include <QEventLoop>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>

#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <sys/resource.h>
#include <thread>
#include <unistd.h>
#include <utility>

using namespace kuvar;

namespace {

// The window, counting every reply the dispatcher logs.
class TCountingWindow : public TfKUVAR {
public:
    using TfKUVAR::TfKUVAR;
    void AppendLog(const QString& line) override {
        ++Replies;
        TfKUVAR::AppendLog(line);
    }
    long long Replies = 0;
};

// The window, counting the frames it sends.
class TSendingWindow : public TfKUVAR {
public:
    using TfKUVAR::TfKUVAR;
    void ShowSentFrame(const QString& frame) override {
        ++Sent;
        TfKUVAR::ShowSentFrame(frame);
    }
    int Sent = 0;
};

// Answers every question box Yes, as an operator would.
void AnswerBoxesYes(QObject* context) {
    auto* poll = new QTimer(context);
    QObject::connect(poll, &QTimer::timeout, [] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box && box->isVisible()) {
            if (QAbstractButton* yes = box->button(QMessageBox::Yes)) {
                yes->click();
            } else if (QAbstractButton* ok = box->button(QMessageBox::Ok)) {
                ok->click();
            }
        }
    });
    poll->start(5);
}

bool OpenPort(TfKUVAR& w, const char* port, const char* baud) {
    w.TopPanel.ePortNo->setEditText(QString::fromLocal8Bit(port));
    w.TopPanel.cbBaudrate->setEditText(QString::fromLatin1(baud));
    Guarded([&] { w.Link->OpenComPort(); });
    if (!w.Link->PortOpen()) {
        std::fprintf(stderr, "kuvar_drive: %s\n", qPrintable(w.StatusText(0)));
    }
    return w.Link->PortOpen();
}

int Soak(int argc, char** argv) {
    if (argc < 5) {
        return 2;
    }
    const double seconds = std::atof(argv[4]);
    const double every = argc > 5 ? std::atof(argv[5]) : 10;
    const bool gy = QString::fromLatin1(qgetenv("SOAK_MODULE")) == QStringLiteral("gy");
    const long long frames = qEnvironmentVariableIntValue("SOAK_FRAMES");
    QTemporaryDir dir;
    TCountingWindow w(
        TAppPaths{dir.filePath(QStringLiteral("UserSet.dat")), QStringLiteral(KUVAR_PICTURES)});
    w.show();
    if (gy) {
        w.btGYClick();
    }
    if (!OpenPort(w, argv[2], argv[3])) {
        return 1;
    }
    if (const int rate = qEnvironmentVariableIntValue("SOAK_LINE_RATE"); rate > 0) {
        w.Link->VaComm1->SetUserBaudrate(rate);
    }
    if (const QString record = qEnvironmentVariable("SOAK_RECORD"); !record.isEmpty()) {
        w.Recorder->Start(record);
    }
    // Start as the page's Start button does, so that frames reach the displays and the chart.
    Guarded([&] {
        if (gy) {
            modules::btGYSTARTClick(w.Link->State, *w.Link);
        } else {
            modules::btACStartClick(w.Link->State, *w.Link);
        }
    });
    auto& chart = gy ? w.GyPage.Chart2->Chart() : w.AcPage.Chart1->Chart();
    const long long openedAt = MonotonicNs();
    std::printf("opened %lld\n", openedAt);
    std::printf("elapsed_s vmrss_kb cpu_s replies log_lines rss_anon_kb points\n");
    std::fflush(stdout);
    const double cpuAtOpen = CpuSeconds();
    auto report = [&] {
        std::printf("%.1f %ld %.2f %lld %d %ld %d\n", (MonotonicNs() - openedAt) / 1e9,
                    ResidentKb(), CpuSeconds() - cpuAtOpen, w.Replies,
                    w.LeftColumn.Memo1->blockCount(), AnonResidentKb(), chart.Series(0).Count());
        std::fflush(stdout);
    };
    QTimer reporter;
    QObject::connect(&reporter, &QTimer::timeout, report);
    reporter.start(static_cast<int>(every * 1000));
    bool finished = false;
    auto finish = [&] {
        if (std::exchange(finished, true)) {
            return;
        }
        report();
        Guarded([&] { w.Link->CloseComPort(); });
        std::printf("closed %lld replies %lld\n", MonotonicNs(), w.Replies);
        std::fflush(stdout);
        // The recording's last rows go to its file before the run ends.
        while (w.Recorder->Writing()) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
            ::usleep(10000);
        }
        QCoreApplication::exit(0);
    };
    QTimer::singleShot(static_cast<int>(seconds * 1000), &w, finish);
    QTimer enough;
    QObject::connect(&enough, &QTimer::timeout, [&] {
        if (frames > 0 && chart.Series(0).Count() >= frames) {
            enough.stop();
            finish();
        }
    });
    enough.start(100);
    return QCoreApplication::exec();
}

int Record(int argc, char** argv) {
    if (argc < 6) {
        return 2;
    }
    if (argc > 6) {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{};
        ::getrlimit(RLIMIT_FSIZE, &limit);
        limit.rlim_cur = static_cast<rlim_t>(std::atoll(argv[6]));
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    const bool gy = QString::fromLatin1(qgetenv("SOAK_MODULE")) == QStringLiteral("gy");
    QTemporaryDir dir;
    auto w = std::make_unique<TfKUVAR>(
        TAppPaths{dir.filePath(QStringLiteral("UserSet.dat")), QStringLiteral(KUVAR_PICTURES)});
    w->show();
    if (gy) {
        w->btGYClick();
    }
    if (!OpenPort(*w, argv[2], argv[3])) {
        return 1;
    }
    w->Recorder->Start(QString::fromLocal8Bit(argv[4]));
    std::printf("recording %lld\n", MonotonicNs());
    std::fflush(stdout);
    Guarded([&] {
        if (gy) {
            modules::btGYSTARTClick(w->Link->State, *w->Link);
        } else {
            modules::btACStartClick(w->Link->State, *w->Link);
        }
    });
    auto& chart = gy ? w->GyPage.Chart2->Chart() : w->AcPage.Chart1->Chart();
    QString shown;
    QTimer reporter;
    QObject::connect(&reporter, &QTimer::timeout, [&] {
        if (w->StatusText(0) != shown) {
            shown = w->StatusText(0);
            std::printf("status %s\n", qPrintable(shown));
        }
        std::printf("points %d\n", chart.Series(0).Count());
        std::fflush(stdout);
    });
    reporter.start(100);
    QTimer::singleShot(static_cast<int>(std::atof(argv[5]) * 1000), [&] {
        reporter.stop();
        const int points = chart.Series(0).Count();
        w.reset();
        std::printf("closed %d\n", points);
        std::fflush(stdout);
        QCoreApplication::exit(0);
    });
    return QCoreApplication::exec();
}

int CloseWhile(bool transaction, int argc, char** argv) {
    if (argc < 5) {
        return 2;
    }
    TfKUVAR w(TAppPaths{QString::fromLocal8Bit(argv[3]), QStringLiteral(KUVAR_PICTURES)});
    QuitWhenClosed(w);
    w.show();
    if (!OpenPort(w, argv[2], "115200")) {
        return 1;
    }
    if (transaction) {
        // As a button handler would: the retried send waits in Delay for an answer.
        QTimer::singleShot(0, &w, [&w] {
            Guarded([&w] {
                protocol::RetriedSend send;
                send.command = [] { return std::string("<1 VER>"); };
                send.endTest = protocol::LastFrameHas("VER");
                protocol::RunRetriedSend(w.Link->State, *w.Link, send);
            });
        });
    }
    QTimer::singleShot(std::atoi(argv[4]), &w, [&w] {
        w.LeftColumn.edSend1->setText(QStringLiteral("closed-%1").arg(::getpid()));
        std::printf("closing %lld\n", MonotonicNs());
        std::fflush(stdout);
        w.close();
    });
    return QCoreApplication::exec();
}

int CloseDuringIdFind(int argc, char** argv) {
    if (argc < 5) {
        return 2;
    }
    TSendingWindow w(TAppPaths{QString::fromLocal8Bit(argv[3]), QStringLiteral(KUVAR_PICTURES)});
    QuitWhenClosed(w);
    w.show();
    if (!OpenPort(w, argv[2], "115200")) {
        return 1;
    }
    AnswerBoxesYes(&w);
    const int frames = std::atoi(argv[4]);
    QTimer::singleShot(0, &w, [&w] { w.AcPage.btACIDFind->click(); });
    // Polled inside the command's waits, as the operator's click on Close would come.
    auto* watch = new QTimer(&w);
    QObject::connect(watch, &QTimer::timeout, [&w, watch, frames] {
        if (w.Sent < frames) {
            return;
        }
        watch->stop();
        QTimer::singleShot(100, &w, [&w] {
            std::printf("closing %lld %d\n", MonotonicNs(), w.Sent);
            std::fflush(stdout);
            w.close();
        });
    });
    watch->start(5);
    const int result = QCoreApplication::exec();
    std::printf("sent %d\n", w.Sent);
    std::fflush(stdout);
    return result;
}

int CloseRace(int argc, char** argv) {
    if (argc < 5) {
        return 2;
    }
    TfKUVAR w(TAppPaths{QString::fromLocal8Bit(argv[3]), QStringLiteral(KUVAR_PICTURES)});
    QuitWhenClosed(w);
    w.show();
    if (!OpenPort(w, argv[2], "115200")) {
        return 1;
    }
    w.LeftColumn.edSend1->setMaxLength(200000);
    w.LeftColumn.edSend1->setText(QString(100000, QLatin1Char('x')));
    // Three presses in a row: the second and third come while the first waits.
    for (int press = 0; press < 3; ++press) {
        QTimer::singleShot(press, &w, [&w] { w.LeftColumn.bt360Send1->click(); });
    }
    QTimer::singleShot(std::atoi(argv[4]), &w, [&w] {
        std::printf("closing %lld\n", MonotonicNs());
        std::fflush(stdout);
        w.close();
    });
    return QCoreApplication::exec();
}

int SaveLoop(int argc, char** argv) {
    if (argc < 3) {
        return 2;
    }
    const QString path = QString::fromLocal8Bit(argv[2]);
    TUserSetRecord record;
    record.SetDefaults();
    for (long i = 0;; ++i) {
        record.SetText(UserSetField::Send1, QStringLiteral("save %1").arg(i));
        SaveUserSet(path, record);
        if (i == 0) {
            std::printf("saving\n");
            std::fflush(stdout);
        }
    }
}

int Start(int argc, char** argv) {
    if (argc < 3) {
        return 2;
    }
    const long startKb = ResidentKb();
    std::atomic<bool> done{false};
    std::thread watchdog([&] {
        while (!done) {
            if (ResidentKb() - startKb > 400 * 1024) {
                std::printf("memory %ld\n", ResidentKb() - startKb);
                std::fflush(stdout);
                ::_exit(3);
            }
            ::usleep(10000);
        }
    });
    const long long startNs = MonotonicNs();
    {
        TfKUVAR w(TAppPaths{QString::fromLocal8Bit(argv[2]), QStringLiteral(KUVAR_PICTURES)});
        w.show();
        std::printf("started %lld %ld %s\n", (MonotonicNs() - startNs) / 1000000,
                    ResidentKb() - startKb, qPrintable(w.StatusText(0)));
        std::fflush(stdout);
        if (argc > 3 && std::strcmp(argv[3], "--no-close") == 0) {
            std::printf("closed 0 (not asked)\n");
            std::fflush(stdout);
            done = true;
            watchdog.join();
            return 0;
        }
        const bool closed = w.close();
        std::printf("closed %d %s\n", closed ? 1 : 0, qPrintable(w.StatusText(0)));
        std::fflush(stdout);
    }
    done = true;
    watchdog.join();
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "save-loop") {
        return SaveLoop(argc, argv);
    }
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    TKuvarApplication app(argc, argv);
    if (command == "start") {
        return Start(argc, argv);
    }
    if (command == "soak") {
        return Soak(argc, argv);
    }
    if (command == "record") {
        return Record(argc, argv);
    }
    if (command == "close-while-waiting" || command == "close-while-streaming") {
        return CloseWhile(command == "close-while-waiting", argc, argv);
    }
    if (command == "close-during-id-find") {
        return CloseDuringIdFind(argc, argv);
    }
    if (command == "close-race") {
        return CloseRace(argc, argv);
    }
    std::fprintf(stderr, "usage: see the head of tests/e2e/kuvar_drive.cpp\n");
    return 2;
}
