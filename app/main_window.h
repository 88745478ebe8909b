// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/user_settings.h"
#include "modules/ac_page.h"
#include "modules/gy_page.h"
#include "modules/instruments.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QStatusBar>
#include <QString>
#include <QTimer>
#include <QWidget>

#include <exception>

// Where the window keeps its settings file and finds its pictures; main alone decides.
struct TAppPaths {
    QString settingsFile; // UserSet.dat
    QString pictureDir;   // on.bmp, off.bmp
};

// The one window of the program: it owns every control, the shared values of the link and every
// handler; the module pages' logic lives in modules/.
class TfKUVAR : public QWidget {
    Q_OBJECT
public:
    explicit TfKUVAR(const TAppPaths& paths, QWidget* parent = nullptr);
    ~TfKUVAR() override;

    // The application-wide handler: the message and the local time into status panel 0.
    void ShowAppException(QObject* sender, const std::exception& e);

    void btCloseClick();
    void btACClick();
    void btGYClick();
    void AbColBitBtn1Click();
    void AbColBitBtn2Click();
    void TabSheet3Show();
    void TabSheet4Show();

    void SetStatusText(int panel, const QString& text);
    QString StatusText(int panel) const;

    // Shared values of the window, touched only on the UI thread.
    int RxMode = 0;
    QString LastErrorText;
    // The charts' point counts live with the charts.
    int AcViewQuantity() const { return Ac.Chart1->ViewQuantity(); }
    int GyViewQuantity() const { return Gy.Chart2->ViewQuantity(); }
    double AcOffsetX = 0;
    double AcOffsetY = 0;
    double AcOffsetZ = 0;
    TUserSetRecord UserSetRecord;

    // Top panel.
    QWidget* SCPanel1 = nullptr;
    QComboBox* ePortNo = nullptr;
    QComboBox* cbBaudrate = nullptr;
    TColourButton* btConnect = nullptr;
    QLabel* imConnect = nullptr;
    QLabel* lbComOpen = nullptr;
    TColourButton* btAC = nullptr;
    QLabel* lbAC = nullptr;
    TColourButton* btGY = nullptr;
    QLabel* lbGY = nullptr;
    TColourButton* AbColBitBtn1 = nullptr;
    QLabel* lbIN360 = nullptr;
    TColourButton* AbColBitBtn2 = nullptr;
    QLabel* lbIN = nullptr;
    TColourButton* btClose = nullptr;

    // Left column.
    QLineEdit* edSend1 = nullptr;
    QPushButton* bt360Send1 = nullptr;
    QLineEdit* edSend2 = nullptr;
    QPushButton* bt360Send2 = nullptr;
    QLineEdit* edSend3 = nullptr;
    QPushButton* bt360Send3 = nullptr;
    QLabel* leSendMessage = nullptr;
    QPushButton* btClear = nullptr;
    QPlainTextEdit* Memo1 = nullptr;

    QStackedWidget* PageControl1 = nullptr;
    QWidget* TabSheet1 = nullptr;
    QWidget* TabSheet2 = nullptr;
    TAcPage Ac;
    TGyPage Gy;
    QStatusBar* StatusBar1 = nullptr;
    QTimer* Timer1 = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildTopPanel();
    void BuildLeftColumn();
    void BuildPages();
    void BuildStatusBar();
    void ConnectHandlers();

    void FormCreate();
    void FormClose();
    void ControlsFromRecord();
    void RecordFromControls();
    QString ControlText(const char* name) const;
    void SetControlText(const char* name, const QString& text);
    void ShowPage(int index);
    void SetModuleLabels(QLabel* active);

    TAppPaths paths_;
    QLabel* statusPanels_[3] = {};
};
