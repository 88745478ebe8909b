// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/guard.h"

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
    if (dynamic_cast<const EAbort*>(&e))
        return;
    if (Handler()) {
        Handler()(e);
    } else {
        std::fprintf(stderr, "%s\n", e.what());
    }
}

} // namespace kuvar
