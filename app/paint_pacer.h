// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

class QWidget;

namespace kuvar {

// Paints a top-level window at most once per screen refresh. Qt paints the window's dirty
// widgets at every pass of the event loop that follows a change; a stream that reaches the
// window hundreds of times a second would repaint the displays, the indicator and the log as
// often, for pictures no screen shows. A paint that comes sooner than one refresh after the last
// one waits for the rest of that interval, and the widgets changed meanwhile are painted
// together then. A paint after a quiet spell goes at once.
class TPaintPacer : public QObject {
public:
    static constexpr int kRefreshMs = 16;

    // Paces `window` for as long as both live.
    explicit TPaintPacer(QWidget* window);

    // Paints the window has made (held ones count once, when they run).
    long long Paints() const { return paints_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void RunHeld();

    QWidget* window_;
    QElapsedTimer clock_;
    qint64 lastPaint_ = -1;
    bool releasing_ = false;
    long long paints_ = 0;
    QTimer held_;
};

} // namespace kuvar
