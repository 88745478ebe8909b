// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/app_exception.h"

#include <cstdio>

namespace kuvar {

namespace {
AppExceptionHandler& Handler() {
    static AppExceptionHandler handler;
    return handler;
}
} // namespace

void SetAppExceptionHandler(AppExceptionHandler handler) {
    Handler() = std::move(handler);
}

void HandleAppException(const std::exception& e) {
    if (Handler()) {
        Handler()(e);
    } else {
        std::fprintf(stderr, "%s\n", e.what());
    }
}

bool TKuvarApplication::notify(QObject* receiver, QEvent* event) {
    bool result = false;
    Guarded([&] { result = QApplication::notify(receiver, event); });
    return result;
}

} // namespace kuvar
