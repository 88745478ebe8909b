// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "modules/instruments.h"

#include "charts/up_down.h"
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QWidget>

namespace kuvar::modules {

// The controls of the KUVAR-GY page, laid out by Build().
struct TGyPage {
    QWidget* sheet = nullptr; // TabSheet4
    QLineEdit* edGYID = nullptr;
    QPushButton* btGYIDfind = nullptr;
    QLineEdit* edGYNewID = nullptr;
    QPushButton* btGYNewID = nullptr;
    QComboBox* cbGYScale = nullptr;
    QPushButton* Button7 = nullptr;
    QLineEdit* edGYINT = nullptr;
    charts::TUpDown* udGYINT = nullptr; // UpDown7
    QPushButton* btGYINT = nullptr;
    QComboBox* cbGYBaudrate = nullptr;
    QPushButton* btGYBaudrate = nullptr;
    QComboBox* cbGYMode = nullptr;
    QPushButton* btGYMode = nullptr;
    QPushButton* btGYVersion = nullptr;
    QLineEdit* edGYVersion = nullptr;
    TAbColBitBtn* AbColBitBtn4 = nullptr;
    TAbColBitBtn* btGYRESET = nullptr;
    QRadioButton* rbGYDegrees = nullptr;
    QRadioButton* rbGYDegSpeed = nullptr;
    QLabel* lbGYRoll = nullptr;
    QLabel* lbGYPitch = nullptr;
    QLabel* lbGYYaw = nullptr;
    TiAnalogDisplay* ssGYRoll = nullptr;
    TiAnalogDisplay* ssGYPitch = nullptr;
    TiAnalogDisplay* ssGYYaw = nullptr;
    TAbColBitBtn* btGYSTART = nullptr;
    TAbColBitBtn* btGYStop = nullptr;
    TAbColBitBtn* btGYSAVE = nullptr;
    TAbColBitBtn* btGYAngleReset = nullptr;
    TAbVCInd* abGYCircle = nullptr;
    charts::TStripChart* Chart2 = nullptr;
    QCheckBox* cbChart2LeftAuto = nullptr;

    void Build(QWidget* tabSheet);
};

} // namespace kuvar::modules
