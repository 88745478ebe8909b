// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/port_list.h"

// Ports as a test says the system knows them: there is no USB adapter on a build machine.
class TFakePortSource : public kuvar::IPortInfoSource {
public:
    std::vector<kuvar::TPortInfo> Ports() override {
        ++listings;
        return ports;
    }
    QStringList DeviceFolders() override { return folders; }

    std::vector<kuvar::TPortInfo> ports;
    QStringList folders;
    int listings = 0;
};
