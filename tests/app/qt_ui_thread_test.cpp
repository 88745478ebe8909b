// SPDX-License-Identifier: GPL-3.0-or-later
// The serial workers' way to the UI thread: a step runs there, in order, also inside a nested
// loop, and the worker does its own work meanwhile and goes on only once the step has run.
#include "app/qt_ui_thread.h"

#include "app/delay.h"

#include <QCoreApplication>
#include <QThread>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

using namespace kuvar;

TEST(QtUiThread, AWorkerWorksMeanwhileAndGoesOnOnlyAfterItsStepRanOnTheUiThread) {
    TQtUiThread ui;
    QThread* const uiThread = QThread::currentThread();
    std::atomic<int> meanwhile{0};
    std::atomic<bool> meanwhileOnWorker{true};
    std::atomic<bool> stepOnUi{false}, returned{false}, returnedAfterStep{false};
    std::atomic<bool> stepRan{false};
    std::thread worker([&] {
        const std::thread::id self = std::this_thread::get_id();
        ui.RunBlocking(
            [&] {
                stepOnUi = QThread::currentThread() == uiThread;
                stepRan = true;
            },
            {2, [&] {
                 meanwhileOnWorker = meanwhileOnWorker && std::this_thread::get_id() == self;
                 ++meanwhile;
             }});
        returnedAfterStep = stepRan.load();
        returned = true;
    });
    // The UI thread is busy: the step waits, the worker works.
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_FALSE(returned);
    EXPECT_GE(meanwhile, 10);
    // A nested loop (as the window's Delay runs) runs it.
    Delay(50);
    worker.join();
    EXPECT_TRUE(stepOnUi);
    EXPECT_TRUE(returnedAfterStep);
    EXPECT_TRUE(meanwhileOnWorker);
}

TEST(QtUiThread, StepsAfterShutdownAreDroppedAndReleaseTheirWorkers) {
    TQtUiThread ui;
    bool ran = false;
    std::atomic<bool> released{false};
    std::thread worker([&] {
        ui.RunBlocking([&] { ran = true; });
        released = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    ui.Shutdown();
    Delay(50);
    worker.join();
    EXPECT_TRUE(released);
    EXPECT_FALSE(ran);
}

TEST(QtUiThread, OnTheUiThreadAStepRunsAtOnce) {
    TQtUiThread ui;
    bool ran = false;
    ui.RunBlocking([&] { ran = true; });
    EXPECT_TRUE(ran);
}
