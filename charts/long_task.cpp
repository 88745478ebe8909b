// SPDX-License-Identifier: GPL-3.0-or-later
#include "charts/long_task.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QProgressDialog>
#include <QTimer>

#include <algorithm>
#include <exception>
#include <memory>
#include <thread>

namespace kuvar::charts {

namespace {
constexpr int kPollMs = 20;
constexpr int kSteps = 1000;
} // namespace

bool RunLongTask(QWidget* parent, const QString& label,
                 const std::function<bool(TTaskProgress&)>& task) {
    TTaskProgress progress;
    std::atomic<bool> finished{false};
    bool result = false;
    std::exception_ptr error;
    std::thread worker([&] {
        try {
            result = task(progress);
        } catch (...) {
            error = std::current_exception();
        }
        finished = true;
    });

    QElapsedTimer clock;
    clock.start();
    std::unique_ptr<QProgressDialog> dialog;
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (finished) {
            loop.quit();
            return;
        }
        if (!dialog && clock.elapsed() >= kProgressAfterMs) {
            // The first wait ignores the operator's input; from here the dialog takes it.
            loop.quit();
            return;
        }
        if (dialog && dialog->wasCanceled() && !progress.Cancelled()) {
            progress.Cancel();
        }
        if (dialog && progress.Total() > 0) {
            const double share = double(progress.Done()) / double(progress.Total());
            dialog->setValue(std::clamp(static_cast<int>(share * kSteps), 0, kSteps - 1));
        }
    });
    poll.start(kPollMs);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    if (!finished) {
        dialog = std::make_unique<QProgressDialog>(label, QObject::tr("Cancel"), 0, kSteps, parent);
        dialog->setObjectName(QStringLiteral("ProgressDialog"));
        dialog->setWindowTitle(label);
        dialog->setWindowModality(Qt::ApplicationModal);
        dialog->setAutoClose(false);
        dialog->setAutoReset(false);
        dialog->setMinimumDuration(0);
        QObject::connect(dialog.get(), &QProgressDialog::canceled, &loop, [&] {
            progress.Cancel();
            dialog->setLabelText(QObject::tr("Cancelling..."));
        });
        dialog->show();
        if (!finished) {
            loop.exec();
        }
        dialog->hide();
    }
    worker.join();
    if (error) {
        std::rethrow_exception(error);
    }
    return result;
}

} // namespace kuvar::charts
