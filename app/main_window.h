// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/qt_ui_thread.h"
#include "app/user_settings.h"
#include "modules/ac_commands.h"
#include "modules/ac_page.h"
#include "modules/gy_commands.h"
#include "modules/gy_page.h"
#include "modules/instruments.h"
#include "modules/measurement_views.h"
#include "protocol/link_state.h"
#include "protocol/receive_framer.h"
#include "protocol/reply_dispatcher.h"
#include "protocol/reply_target.h"
#include "protocol/transaction_host.h"
#include "serial/va_comm.h"

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
#include <memory>

namespace kuvar {

// Where the window keeps its settings file and finds its pictures; main alone decides.
struct TAppPaths {
    QString settingsFile; // UserSet.dat
    QString pictureDir;   // on.bmp, off.bmp
};

class TPaintPacer;

// The one window of the program: it owns every control, the shared values of the link and every
// handler; the module pages' logic lives in modules/.
class TfKUVAR : public QWidget, public protocol::ITransactionHost, public protocol::IReplyTarget {
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

    // The port, on the top panel.
    void btConnectClick();
    void OpenComPort();
    void CloseComPort();
    void VaComm1Open();
    void VaComm1Close();
    void VaComm1RxChar();
    void VaComm1Error(int errors);
    void bt360SendClick(protocol::Control line);
    void btClearClick();
    void Timer1Timer();

    // What the transactions need of the window.
    bool PortOpen() override { return PortIsOpen; }
    void WriteFrame(const std::string& frame) override;
    void Delay(int ms) override;
    void SetStatus0(const std::string& text) override;
    bool Ask(const std::string& question) override;
    void ShowMessage(const std::string& text) override;
    void StartTimer1() override;
    void StopTimer1() override;
    std::string Text(protocol::Control control) override;
    // What the dispatcher writes.
    void AppendLog(const std::string& line) override;
    void SetText(protocol::Control control, const std::string& text) override;
    void SetChecked(protocol::Control control, bool checked) override;

    void SetStatusText(int panel, const QString& text);
    QString StatusText(int panel) const;

    // Shared values of the window, touched only on the UI thread.
    protocol::LinkState Link;
    bool PortIsOpen = false;
    QString LastErrorText;
    // The charts' point counts live with the charts.
    int AcViewQuantity() const { return Ac.Chart1->ViewQuantity(); }
    int GyViewQuantity() const { return Gy.Chart2->ViewQuantity(); }
    TUserSetRecord UserSetRecord;

    // Top panel.
    QWidget* SCPanel1 = nullptr;
    QComboBox* ePortNo = nullptr;
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
    TAbColBitBtn* btClose = nullptr;

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
    modules::TAcPage Ac;
    modules::TGyPage Gy;
    // The pages' measurement views (the AC offsets live there) and the AC page's remembered values.
    std::unique_ptr<modules::TMeasurementViews> Views;
    modules::TAcPrevious AcPrev;
    QStatusBar* StatusBar1 = nullptr;
    QTimer* Timer1 = nullptr;
    std::unique_ptr<kuvar::serial::TVaComm> VaComm1;
    // Keeps the window's paints to one per screen refresh; owned by the window.
    TPaintPacer* PaintPacer = nullptr;

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
    void ListPorts();
    void FormClose();
    void ControlsFromRecord();
    void RecordFromControls();
    QString ControlText(const char* name) const;
    void SetControlText(const char* name, const QString& text);
    void ShowPage(int index);
    void SetModuleLabels(QLabel* active);

    void BuildLink();
    void LoadPortPicture(const char* file);
    QWidget* ControlWidget(protocol::Control control) const;

    TAppPaths paths_;
    std::shared_ptr<TQtUiThread> uiThread_;
    std::unique_ptr<protocol::ReceiveFramer> framer_;
    std::unique_ptr<protocol::ReplyDispatcher> dispatcher_;
    QLabel* statusPanels_[3] = {};
};

} // namespace kuvar
