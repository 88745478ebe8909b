// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/guard.h"

#include <string>
#include <vector>

#include <QAbstractButton>
#include <QTest>

#include "page_host.h"

namespace kuvar::modules::testing {

using Strings = std::vector<std::string>;

// A module that answers every command with its own text in brackets ("<1 SCALE 4>" gives
// "[1 SCALE 4]"), except where a test says otherwise.
inline Strings Echo(const std::string& frame) {
    return {Reply("[" + frame.substr(1, frame.size() - 2) + "]")};
}

// Presses a button of the page as the operator would: a push button, or a colour button by a
// left click inside it.
inline void Press(QWidget* button) {
    if (auto* push = qobject_cast<QAbstractButton*>(button))
        push->click();
    else
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(5, 5));
}

inline Strings Silent(const std::string&) {
    return {};
}

inline Strings TryConnect(int from, int to) {
    Strings texts;
    for (int i = from; i <= to; ++i)
        texts.push_back("Try Connect " + std::to_string(i) + "[sec]");
    return texts;
}

inline Strings Repeat(const std::string& s, int n) {
    return Strings(n, s);
}

inline Strings operator+(Strings a, const Strings& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// Keeps what the guarded handlers report, as the window's error line would show it, for as
// long as it lives.
struct RecordingGuard {
    RecordingGuard() {
        SetAppExceptionHandler([this](const std::exception& e) { errors.push_back(e.what()); });
    }
    ~RecordingGuard() { SetAppExceptionHandler(nullptr); }
    RecordingGuard(const RecordingGuard&) = delete;
    RecordingGuard& operator=(const RecordingGuard&) = delete;
    Strings errors;
};

} // namespace kuvar::modules::testing
