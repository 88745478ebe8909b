// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

#include <exception>
#include <functional>
#include <stdexcept>
#include <type_traits>
#include <utility>

namespace kuvar {

// Ends the handler that raises it and shows nothing: a command whose wait was cut short (the
// window is closing, the device went away) stops there, whatever handlers it runs inside.
class EAbort : public std::exception {
public:
    const char* what() const noexcept override { return "Operation aborted"; }
};

// The application-wide handler of exceptions that escape a handler on the UI thread. The window
// installs itself here first thing at start-up; without it, messages go to standard error.
using AppExceptionHandler = std::function<void(const std::exception&)>;
void SetAppExceptionHandler(AppExceptionHandler handler);
// Hands e to the installed handler; an EAbort is dropped here.
void HandleAppException(const std::exception& e);

// Runs a handler's body so that an escaping exception ends that handler only: Qt's frames are
// never unwound. Every slot and event override of the Qt layers runs its body through this.
template <class F> void Guarded(F&& body) {
    try {
        body();
    } catch (const std::exception& e) {
        HandleAppException(e);
    } catch (...) {
        HandleAppException(std::runtime_error("Unknown exception"));
    }
}

// connect() whose slot runs body through Guarded, with the signal's arguments where body takes
// them.
template <class Sender, class Signal, class Body>
QMetaObject::Connection ConnectGuarded(Sender* sender, Signal signal, const QObject* context,
                                       Body body) {
    return QObject::connect(sender, signal, context, [body = std::move(body)](auto&&... args) {
        // A body that takes the signal's arguments gets them; one that takes none does not.
        if constexpr (std::is_invocable_v<const Body&, decltype(args)...>)
            Guarded([&] { body(args...); });
        else
            Guarded(body);
    });
}

} // namespace kuvar
