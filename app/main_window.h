// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/link_controller.h"
#include "app/link_view.h"
#include "app/log_saver.h"
#include "app/port_combo.h"
#include "app/receive_log.h"
#include "app/recorder.h"
#include "app/user_settings.h"
#include "app/window_canvas.h"
#include "app/window_panels.h"
#include "modules/ac_commands.h"
#include "modules/ac_page.h"
#include "modules/gy_page.h"
#include "modules/measurement_views.h"

#include <QStackedWidget>
#include <QStatusBar>
#include <QString>
#include <QWidget>

#include <exception>
#include <memory>

namespace kuvar {

// Where the window keeps its settings file and finds its pictures; main alone decides.
struct TAppPaths {
    QString settingsFile;         // UserSet.dat
    QString pictureDir;           // on.bmp, off.bmp
    QString preferencesFile = {}; // kuvar.conf, the per-user settings; empty: none kept
};

class TPaintPacer;
class TUserPreferences;

// The one window of the program: an assembly of its panels and pages and of thin slots named
// after their controls. The link (port, receive path, transactions) is TLinkController, the
// module pages' logic lives in modules/, the receive log's batching in TReceiveLog.
class TfKUVAR : public QWidget, public ILinkView {
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
    void btConnectClick();
    void bt360SendClick(protocol::Control line);
    void btClearClick();
    void btRecordClick();

    void SetStatusText(int panel, const QString& text);
    QString StatusText(int panel) const;

    // What the link needs of the controls.
    QString PortText() const override;
    QString BaudrateText() const override;
    void SetPortText(const QString& text) override;
    void ShowPortState(bool open) override;
    void ShowSentFrame(const QString& frame) override;
    void ShowStatus0(const QString& text) override;
    bool Ask(const QString& question) override;
    void ShowMessage(const QString& text) override;
    void AppendLog(const QString& line) override;
    void FlushLog() override;
    QString ControlText(protocol::Control control) const override;
    void SetControlText(protocol::Control control, const QString& text) override;
    void SetControlChecked(protocol::Control control, bool checked) override;

    QString LastErrorText;
    TUserSetRecord UserSetRecord;
    // The charts' point counts live with the charts.
    int AcViewQuantity() const { return AcPage.Chart1->ViewQuantity(); }
    int GyViewQuantity() const { return GyPage.Chart2->ViewQuantity(); }

    // The design surface in its scroll area: the panels and pages lie on it.
    TWindowCanvas* Canvas = nullptr;
    TTopPanel TopPanel;
    TLeftColumn LeftColumn;
    QStackedWidget* PageControl1 = nullptr;
    modules::TAcPage AcPage; // TabSheet3
    modules::TGyPage GyPage; // TabSheet4
    QStatusBar* StatusBar1 = nullptr;
    // The pages' measurement views (the AC offsets live there) and the AC page's remembered values.
    std::unique_ptr<modules::TMeasurementViews> Views;
    modules::TAcPrevious AcPrev;
    std::unique_ptr<TLinkController> Link;
    // ePortNo's list of ports.
    std::unique_ptr<TPortCombo> Ports;
    // The recording to disk (btRecord) and the receive log's saving; both go before Link.
    std::unique_ptr<TRecorder> Recorder;
    TLogSaver* LogSaver = nullptr;
    // Keeps the window's paints to one per screen refresh; owned by the window.
    TPaintPacer* PaintPacer = nullptr;

signals:
    // The close went through (the settings are saved) and the window is going away.
    void Closed();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void BuildPages(QWidget* surface);
    void BuildStatusBar();
    void ConnectHandlers();
    void SetTabOrder();

    void FormCreate();
    void ListPorts();
    void FormClose();
    void ControlsFromRecord();
    void RecordFromControls();
    void ShowPage(int index);
    void SetModuleLabels(QLabel* active);
    QWidget* LinkControl(protocol::Control control) const;
    QWidget* SettingsControl(const char* name) const;

    TAppPaths paths_;
    std::unique_ptr<TUserPreferences> preferences_;
    std::unique_ptr<TReceiveLog> receiveLog_;
    QLabel* statusPanels_[3] = {};
};

// Ends the application once the window has closed, from whatever wait the close came in: the
// quit is a queued call, which no nested event loop drops (a new loop discards the quit event that
// closing the last window posts).
void QuitWhenClosed(TfKUVAR& window);

} // namespace kuvar
