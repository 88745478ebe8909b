// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QApplication>

#include <exception>
#include <functional>
#include <stdexcept>

namespace kuvar {

// The application-wide handler of exceptions that escape a handler on the UI thread. The window
// installs itself here first thing at start-up.
using AppExceptionHandler = std::function<void(const std::exception&)>;
void SetAppExceptionHandler(AppExceptionHandler handler);
void HandleAppException(const std::exception& e);

// Runs a handler's body so that an escaping exception ends that handler only: Qt's frames are
// never unwound. Every slot and event override of the window runs its body through this.
template <class F> void Guarded(F&& body) {
    try {
        body();
    } catch (const std::exception& e) {
        HandleAppException(e);
    } catch (...) {
        HandleAppException(std::runtime_error("Unknown exception"));
    }
}

// The last net: an exception escaping an event handler that is not guarded.
class TKuvarApplication : public QApplication {
public:
    using QApplication::QApplication;
    bool notify(QObject* receiver, QEvent* event) override;
};

} // namespace kuvar
