// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "modules/instruments.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

namespace kuvar::modules {

// The controls of the KUVAR-AC page, laid out by Build().
struct TAcPage {
    QWidget* sheet = nullptr; // TabSheet3
    QPushButton* btACIDFind = nullptr;
    QLineEdit* eID = nullptr;
    QPushButton* btIDchange = nullptr;
    QLineEdit* edACNewID = nullptr;
    QComboBox* cbACBaudrate = nullptr;
    QPushButton* btACBaudrate = nullptr;
    QComboBox* cbACScale = nullptr;
    QPushButton* btACScale = nullptr;
    QLineEdit* edACINT = nullptr;
    QPushButton* btACINT = nullptr;
    QComboBox* cbACMode = nullptr;
    QPushButton* btACMode = nullptr;
    QPushButton* btACVersion = nullptr;
    QLineEdit* edACVersion = nullptr;
    TAbColBitBtn* AbColBitBtn3 = nullptr;
    TAbColBitBtn* btACRESTORE = nullptr;
    TAbColBitBtn* btACStart = nullptr;
    TAbColBitBtn* btACStop = nullptr;
    TAbColBitBtn* btACSAVE = nullptr;
    QCheckBox* CheckBox1 = nullptr;
    QCheckBox* cbChart1LeftAuto = nullptr;
    QLabel* Label7 = nullptr;
    QLabel* Label9 = nullptr;
    QLabel* Label10 = nullptr;
    TiAnalogDisplay* ssACX = nullptr;
    TiAnalogDisplay* ssACY = nullptr;
    TiAnalogDisplay* ssACZ = nullptr;
    charts::TStripChart* Chart1 = nullptr;

    void Build(QWidget* tabSheet);
};

} // namespace kuvar::modules
