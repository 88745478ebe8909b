// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <atomic>
#include <functional>

class QWidget;

namespace kuvar::charts {

// The progress of a long task, shared by the UI thread and the task's worker.
class TTaskProgress {
public:
    void SetTotal(qint64 total) { total_ = total; }
    void SetDone(qint64 done) { done_ = done; }
    qint64 Total() const { return total_; }
    qint64 Done() const { return done_; }
    void Cancel() { cancelled_ = true; }
    bool Cancelled() const { return cancelled_; }

private:
    std::atomic<qint64> total_{0};
    std::atomic<qint64> done_{0};
    std::atomic<bool> cancelled_{false};
};

// A task taking longer than this shows its progress dialog.
inline constexpr int kProgressAfterMs = 500;

// Runs task on a worker thread while the UI thread goes on with its events (the stream, the
// paints), so the window keeps streaming. The operator's input waits meanwhile; once the task has
// taken kProgressAfterMs, a modal QProgressDialog labelled `label` shows its progress, and its
// Cancel asks the task to stop (TTaskProgress::Cancelled). Returns what the task returned (false
// for a task that stopped on Cancel); an exception of the task is thrown here, on the UI thread.
bool RunLongTask(QWidget* parent, const QString& label,
                 const std::function<bool(TTaskProgress&)>& task);

} // namespace kuvar::charts
