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
    TColourButton* AbColBitBtn4 = nullptr;
    TColourButton* btGYRESET = nullptr;
    QRadioButton* rbGYDegrees = nullptr;
    QRadioButton* rbGYDegSpeed = nullptr;
    QLabel* lbGYRoll = nullptr;
    QLabel* lbGYPitch = nullptr;
    QLabel* lbGYYaw = nullptr;
    TDisplay* ssGYRoll = nullptr;
    TDisplay* ssGYPitch = nullptr;
    TDisplay* ssGYYaw = nullptr;
    TColourButton* btGYSTART = nullptr;
    TColourButton* btGYStop = nullptr;
    TColourButton* btGYSAVE = nullptr;
    TColourButton* btGYAngleReset = nullptr;
    TIndicator* abGYCircle = nullptr;
    TChartPanel* Chart2 = nullptr;
    QCheckBox* cbChart2LeftAuto = nullptr;

    void Build(QWidget* tabSheet);
};
