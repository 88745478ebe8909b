// SPDX-License-Identifier: GPL-3.0-or-later
// The receive log under long replies: the real window offscreen takes REPLIES replies of SIZE
// characters each through the dispatcher's way into the log, EACH of them every 50 ms (one
// append of the log each time), and paints as it would on screen.
//   kuvar_log_bench [--replies N] [--size CHARS] [--each N]
// Prints "name value" lines: after every fifth of the replies the lines and characters the log
// holds, the resident size grown since the start and the CPU per reply so far; at the end the
// time of one append and paint with the log as full as it gets.
#include "app/app_exception.h"
#include "app/delay.h"
#include "app/main_window.h"
#include "tests/e2e/fault_support.h"

#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <cstring>

using namespace kuvar;

int main(int argc, char** argv) {
    int replies = 3000;
    int size = 64 * 1024;
    int each = 20;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--replies") == 0) {
            replies = std::atoi(argv[i + 1]);
        } else if (std::strcmp(argv[i], "--size") == 0) {
            size = std::atoi(argv[i + 1]);
        } else if (std::strcmp(argv[i], "--each") == 0) {
            each = std::atoi(argv[i + 1]);
        }
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    TKuvarApplication app(argc, argv);
    QTemporaryDir dir;
    TfKUVAR w(
        TAppPaths{dir.filePath(QStringLiteral("UserSet.dat")), QStringLiteral(KUVAR_PICTURES)});
    w.show();
    Delay(100);
    QPlainTextEdit* memo = w.LeftColumn.Memo1;
    const long startKb = ResidentKb();
    const double startCpu = CpuSeconds();
    std::printf("reply_chars %d\nreplies_per_append %d\n", size, each);
    std::printf("replies lines chars rss_growth_mb cpu_ms_per_reply\n");
    for (int sent = 0; sent < replies;) {
        for (int k = 0; k < each && sent < replies; ++k, ++sent) {
            QString line(size, QLatin1Char('0' + sent % 10));
            line[0] = QLatin1Char('[');
            w.AppendLog(line);
        }
        Delay(50);
        if (sent % (replies / 5) == 0 || sent == replies) {
            std::printf("%d %d %d %.1f %.3f\n", sent, memo->blockCount(),
                        memo->document()->characterCount(), (ResidentKb() - startKb) / 1024.0,
                        (CpuSeconds() - startCpu) * 1000 / sent);
            std::fflush(stdout);
        }
    }
    // One more append with the log full: the batch as it comes, then the paint it asks for.
    QElapsedTimer clock;
    clock.start();
    for (int k = 0; k < each; ++k) {
        w.AppendLog(QString(size, QLatin1Char('x')));
    }
    w.FlushLog();
    memo->viewport()->repaint();
    std::printf("full_log_append_and_paint_ms %.2f\n", clock.nsecsElapsed() / 1e6);
    return 0;
}
