// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/app_exception.h"

namespace kuvar {

bool TKuvarApplication::notify(QObject* receiver, QEvent* event) {
    bool result = false;
    Guarded([&] { result = QApplication::notify(receiver, event); });
    return result;
}

} // namespace kuvar
