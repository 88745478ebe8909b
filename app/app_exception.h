// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/guard.h"

#include <QApplication>

namespace kuvar {

// The last net: an exception escaping an event handler that is not guarded.
class TKuvarApplication : public QApplication {
public:
    using QApplication::QApplication;
    bool notify(QObject* receiver, QEvent* event) override;
};

} // namespace kuvar
