// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/main_window.h"

#include <QMessageBox>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>

#include <functional>
#include <memory>

// Waits in the event loop until the condition holds or the time is up.
bool WaitFor(const std::function<bool()>& condition, int ms);

// Answers the window's modal boxes as an operator would and keeps what they said.
class TBoxAnswerer : public QObject {
public:
    explicit TBoxAnswerer(QMessageBox::StandardButton answer = QMessageBox::Yes);
    void SetAnswer(QMessageBox::StandardButton answer) { answer_ = answer; }
    QStringList seen;

private:
    void Poll();
    QMessageBox::StandardButton answer_;
    QTimer timer_;
};

// A window with its own settings folder, shown offscreen.
struct TWindowFixture {
    QTemporaryDir dir;
    std::unique_ptr<kuvar::TfKUVAR> window;
    TBoxAnswerer boxes;

    TWindowFixture();
    // Opens the port named by its text at the rate text.
    bool OpenPort(const QString& port, const QString& rate = QStringLiteral("115200"));
    void ClickButton(QWidget* button);
    bool LogContains(const QString& text) const;
};
