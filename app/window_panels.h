// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/port_combo.h"
#include "widgets/ab_col_bit_btn.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QWidget>

namespace kuvar {

// The top panel SCPanel1 of the window, laid out by Build(): the port and its rate, the connect
// button with the port state, the module buttons, the record button and Close.
struct TTopPanel {
    QWidget* SCPanel1 = nullptr;
    TPortComboBox* ePortNo = nullptr;
    QComboBox* cbBaudrate = nullptr;
    TAbColBitBtn* btConnect = nullptr;
    QLabel* imConnect = nullptr;
    QLabel* lbComOpen = nullptr;
    TAbColBitBtn* btAC = nullptr;
    QLabel* lbAC = nullptr;
    TAbColBitBtn* btGY = nullptr;
    QLabel* lbGY = nullptr;
    TAbColBitBtn* AbColBitBtn1 = nullptr;
    QLabel* lbIN360 = nullptr;
    TAbColBitBtn* AbColBitBtn2 = nullptr;
    QLabel* lbIN = nullptr;
    TAbColBitBtn* btRecord = nullptr;
    QLabel* lbRecord = nullptr;
    TAbColBitBtn* btClose = nullptr;

    void Build(QWidget* window);
};

// The left column of the window, laid out by Build(): the three manual send lines, the last
// frame sent, and the receive log Memo1 with its Clear button.
struct TLeftColumn {
    QLineEdit* edSend1 = nullptr;
    QPushButton* bt360Send1 = nullptr;
    QLineEdit* edSend2 = nullptr;
    QPushButton* bt360Send2 = nullptr;
    QLineEdit* edSend3 = nullptr;
    QPushButton* bt360Send3 = nullptr;
    QLabel* leSendMessage = nullptr;
    QPushButton* btClear = nullptr;
    QPlainTextEdit* Memo1 = nullptr;

    void Build(QWidget* window);
};

// The cue colours of the labels: lime marks the active item, green an inactive one.
inline const QColor kLime{0x00, 0xFF, 0x00};
inline const QColor kGreen{0x00, 0x80, 0x00};

} // namespace kuvar
