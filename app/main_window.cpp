// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/main_window.h"

#include "app/app_exception.h"
#include "app/paint_pacer.h"
#include "app/port_list.h"
#include "charts/export_dialog.h"
#include "modules/control_text.h"
#include "modules/gy_commands.h"
#include "modules/page_builder.h"
#include "modules/page_controls.h"
#include "modules/page_events.h"

#include <QCloseEvent>
#include <QDateTime>
#include <QDir>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPixmap>
#include <QScreen>

namespace kuvar {

using protocol::Control;

namespace {
constexpr int kClientWidth = 1133;
constexpr int kClientHeight = 700;
} // namespace

TfKUVAR::TfKUVAR(const TAppPaths& paths, QWidget* parent) : QWidget(parent), paths_(paths) {
    setObjectName(QStringLiteral("fKUVAR"));
    setWindowTitle(QStringLiteral("KUVAR 통합프로그램 Ver2.6"));
    QFont windowFont(QStringLiteral("NanumGothic"));
    windowFont.setPointSize(8);
    setFont(windowFont);
    resize(kClientWidth, kClientHeight);

    TopPanel.Build(this);
    LeftColumn.Build(this);
    BuildPages();
    BuildStatusBar();
    receiveLog_ = std::make_unique<TReceiveLog>(LeftColumn.Memo1);
    Views = std::make_unique<modules::TMeasurementViews>(AcPage, GyPage);
    Link = std::make_unique<TLinkController>(*this, Views.get(), nullptr);
    Recorder = std::make_unique<TRecorder>(*Link, TopPanel.btRecord, TopPanel.lbRecord, this,
                                           [this] { return PageControl1->currentIndex() == 3; });
    LogSaver = new TLogSaver(LeftColumn.Memo1, [this] { receiveLog_->Flush(); });
    ConnectHandlers();
    PaintPacer = new TPaintPacer(this);

    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - QPoint(kClientWidth / 2, kClientHeight / 2));
    }
    FormCreate();
}

TfKUVAR::~TfKUVAR() {
    Recorder.reset();
    Link.reset();
    SetAppExceptionHandler(nullptr);
}

void TfKUVAR::BuildPages() {
    PageControl1 = new QStackedWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->setGeometry(294, 72, 838, 609);
    const char* names[4] = {"TabSheet1", "TabSheet2", "TabSheet3", "TabSheet4"};
    QWidget* sheets[4];
    for (int i = 0; i < 4; ++i) {
        sheets[i] = new QWidget;
        sheets[i]->setObjectName(QString::fromLatin1(names[i]));
        PageControl1->addWidget(sheets[i]);
    }
    AcPage.Build(sheets[2]);
    GyPage.Build(sheets[3]);
    // The KUVAR-AC page is the design's initial page, shown whatever start-up does.
    PageControl1->setCurrentIndex(2);
}

void TfKUVAR::BuildStatusBar() {
    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);
    const int widths[3] = {300, 600, 50};
    for (int i = 0; i < 3; ++i) {
        statusPanels_[i] = new QLabel(StatusBar1);
        statusPanels_[i]->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        statusPanels_[i]->setAccessibleName(QStringLiteral("Status panel %1").arg(i));
        statusPanels_[i]->setFixedWidth(widths[i]);
        statusPanels_[i]->setFrameShape(QFrame::Panel);
        statusPanels_[i]->setFrameShadow(QFrame::Sunken);
        StatusBar1->addWidget(statusPanels_[i]);
    }
    const int height = StatusBar1->sizeHint().height();
    StatusBar1->setGeometry(0, kClientHeight - height, kClientWidth, height);
}

void TfKUVAR::ConnectHandlers() {
    const TTopPanel& top = TopPanel;
    const TLeftColumn& left = LeftColumn;
    ConnectGuarded(top.btClose, &TAbColBitBtn::clicked, this, [this] { btCloseClick(); });
    ConnectGuarded(top.btAC, &TAbColBitBtn::clicked, this, [this] { btACClick(); });
    ConnectGuarded(top.btGY, &TAbColBitBtn::clicked, this, [this] { btGYClick(); });
    ConnectGuarded(top.AbColBitBtn1, &TAbColBitBtn::clicked, this, [this] { AbColBitBtn1Click(); });
    ConnectGuarded(top.AbColBitBtn2, &TAbColBitBtn::clicked, this, [this] { AbColBitBtn2Click(); });
    ConnectGuarded(top.btConnect, &TAbColBitBtn::clicked, this, [this] { btConnectClick(); });
    ConnectGuarded(top.btRecord, &TAbColBitBtn::clicked, this, [this] { btRecordClick(); });
    ConnectGuarded(left.bt360Send1, &QPushButton::clicked, this,
                   [this] { bt360SendClick(Control::edSend1); });
    ConnectGuarded(left.bt360Send2, &QPushButton::clicked, this,
                   [this] { bt360SendClick(Control::edSend2); });
    ConnectGuarded(left.bt360Send3, &QPushButton::clicked, this,
                   [this] { bt360SendClick(Control::edSend3); });
    ConnectGuarded(left.btClear, &QPushButton::clicked, this, [this] { btClearClick(); });
    modules::ConnectAcPage(AcPage, Link->State, *Link, AcPrev);
    modules::ConnectGyPage(GyPage, Link->State, *Link);
    Views->Connect();
    modules::OnPageShown(AcPage.sheet, [this] { TabSheet3Show(); });
    modules::OnPageShown(GyPage.sheet, [this] { TabSheet4Show(); });
    ConnectGuarded(AcPage.btACSAVE, &TAbColBitBtn::clicked, this,
                   [this] { charts::ShowChartExportDialog(AcPage.Chart1->Chart(), this); });
    ConnectGuarded(GyPage.btGYSAVE, &TAbColBitBtn::clicked, this,
                   [this] { charts::ShowChartExportDialog(GyPage.Chart2->Chart(), this); });
}

void TfKUVAR::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // The top panel stretches with the width, the pages and the log with the height.
    TopPanel.SCPanel1->resize(std::max(width(), 1136), TopPanel.SCPanel1->height());
    const int statusHeight = StatusBar1->height();
    StatusBar1->setGeometry(0, height() - statusHeight, width(), statusHeight);
    const int extra = height() - kClientHeight;
    PageControl1->resize(PageControl1->width(), std::max(0, 609 + extra));
}

void TfKUVAR::SetStatusText(int panel, const QString& text) {
    statusPanels_[panel]->setText(text);
}

QString TfKUVAR::StatusText(int panel) const {
    return statusPanels_[panel]->text();
}

void TfKUVAR::ShowAppException(QObject*, const std::exception& e) {
    LastErrorText = QString::fromUtf8(e.what()) + QStringLiteral(" - ") +
                    QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    SetStatusText(0, LastErrorText);
}

void TfKUVAR::FormCreate() {
    SetAppExceptionHandler([this](const std::exception& e) { ShowAppException(this, e); });
    // A failing step is shown and skips the rest of start-up.
    Guarded([this] {
        const bool firstStart = LoadUserSet(paths_.settingsFile, UserSetRecord);
        ControlsFromRecord();
        if (firstStart) {
            // A new user's charts start from the ranges of the window's design.
            AcPage.Chart1->ResetRangeBoxes();
            GyPage.Chart2->ResetRangeBoxes();
        }
        Link->State.RxMode = 0;
        ListPorts();
        btACClick();
    });
}

void TfKUVAR::closeEvent(QCloseEvent* event) {
    bool saved = false;
    Guarded([&] {
        FormClose();
        saved = true;
    });
    // A failed save keeps the window open.
    if (saved) {
        event->accept();
    } else {
        event->ignore();
    }
}

void TfKUVAR::ListPorts() {
    QString denied;
    const QStringList ports = ListComPorts(true, &denied);
    QComboBox* combo = TopPanel.ePortNo;
    // The combo keeps its text while its list is refilled.
    const QString text = combo->currentText();
    combo->clear();
    combo->addItems(ports);
    combo->setEditText(text);
    if (ports.isEmpty() && !denied.isEmpty()) {
        SetStatusText(
            0,
            QStringLiteral("No permission for %1: add your user to the dialout group").arg(denied));
    }
}

void TfKUVAR::FormClose() {
    RecordFromControls();
    SaveUserSet(paths_.settingsFile, UserSetRecord);
}

QWidget* TfKUVAR::SettingsControl(const char* name) const {
    auto* control = findChild<QWidget*>(QString::fromLatin1(name));
    if (!control)
        throw std::logic_error(std::string("No control ") + name);
    return control;
}

void TfKUVAR::ControlsFromRecord() {
    // Record order is the order of start-up, except that the radio pair comes after the GY mode.
    for (const UserSetFieldInfo& info : kUserSetFields) {
        if (info.field == UserSetField::Chart2LeftMax) {
            const bool degrees = UserSetRecord.AngleDisplay();
            GyPage.rbGYDegrees->setChecked(degrees);
            GyPage.rbGYDegSpeed->setChecked(!degrees);
        }
        modules::SetControlText(SettingsControl(info.control), UserSetRecord.Text(info.field));
    }
}

void TfKUVAR::RecordFromControls() {
    for (const UserSetFieldInfo& info : kUserSetFields)
        UserSetRecord.SetText(info.field, modules::ControlText(SettingsControl(info.control)));
    UserSetRecord.SetAngleDisplay(GyPage.rbGYDegrees->isChecked());
}

void TfKUVAR::btCloseClick() {
    close();
}

void TfKUVAR::ShowPage(int index) {
    PageControl1->setCurrentIndex(index);
}

void TfKUVAR::btACClick() {
    Link->State.RxMode = 0;
    ShowPage(2);
}

void TfKUVAR::btGYClick() {
    Link->State.RxMode = 0;
    ShowPage(3);
}

void TfKUVAR::AbColBitBtn1Click() {
    ShowPage(0);
}

void TfKUVAR::AbColBitBtn2Click() {
    ShowPage(1);
}

void TfKUVAR::SetModuleLabels(QLabel* active) {
    for (QLabel* label : {TopPanel.lbAC, TopPanel.lbGY, TopPanel.lbIN360, TopPanel.lbIN})
        modules::SetLabelColour(label, label == active ? kLime : kGreen);
}

void TfKUVAR::TabSheet3Show() {
    AcPage.Chart1->PageShown();
    SetModuleLabels(TopPanel.lbAC);
    Views->AcView.ResetAcOffsets();
}

void TfKUVAR::TabSheet4Show() {
    GyPage.Chart2->PageShown();
    SetModuleLabels(TopPanel.lbGY);
}

void TfKUVAR::btConnectClick() {
    Link->btConnectClick();
}

void TfKUVAR::bt360SendClick(Control line) {
    Link->ManualSend(line);
}

void TfKUVAR::btClearClick() {
    receiveLog_->Clear();
}

void TfKUVAR::btRecordClick() {
    Recorder->btRecordClick();
}

// The link's view of the controls.

QString TfKUVAR::PortText() const {
    return TopPanel.ePortNo->currentText();
}

QString TfKUVAR::BaudrateText() const {
    return TopPanel.cbBaudrate->currentText();
}

void TfKUVAR::ShowPortState(bool open) {
    const QString path = QDir(paths_.pictureDir)
                             .filePath(open ? QStringLiteral("on.bmp") : QStringLiteral("off.bmp"));
    QPixmap picture;
    if (!picture.load(path))
        throw EInOutError(QStringLiteral("Cannot load %1").arg(path).toStdString());
    TopPanel.imConnect->setPixmap(picture);
    TopPanel.imConnect->resize(picture.size());
    modules::SetLabelColour(TopPanel.lbComOpen, open ? kLime : kGreen);
}

void TfKUVAR::ShowSentFrame(const QString& frame) {
    SetStatusText(1, frame);
    LeftColumn.leSendMessage->setText(frame);
}

void TfKUVAR::ShowStatus0(const QString& text) {
    SetStatusText(0, text);
}

bool TfKUVAR::Ask(const QString& question) {
    QMessageBox box(QMessageBox::Question, windowTitle(), question,
                    QMessageBox::Yes | QMessageBox::No, this);
    box.setObjectName(QStringLiteral("Question"));
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

void TfKUVAR::ShowMessage(const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, windowTitle(), text, QMessageBox::Ok, this);
    box.setObjectName(QStringLiteral("Message"));
    box.exec();
}

void TfKUVAR::AppendLog(const QString& line) {
    receiveLog_->Add(line);
}

void TfKUVAR::FlushLog() {
    receiveLog_->Flush();
}

QWidget* TfKUVAR::LinkControl(Control control) const {
    if (QWidget* widget = modules::PageControl(AcPage, GyPage, control))
        return widget;
    switch (control) {
    case Control::edSend1:
        return LeftColumn.edSend1;
    case Control::edSend2:
        return LeftColumn.edSend2;
    case Control::edSend3:
        return LeftColumn.edSend3;
    default:
        throw std::logic_error("Unknown control");
    }
}

QString TfKUVAR::ControlText(Control control) const {
    return modules::ControlText(LinkControl(control));
}

void TfKUVAR::SetControlText(Control control, const QString& text) {
    modules::SetControlText(LinkControl(control), text);
}

void TfKUVAR::SetControlChecked(Control control, bool checked) {
    if (auto* button = qobject_cast<QAbstractButton*>(LinkControl(control)))
        button->setChecked(checked);
}

} // namespace kuvar
