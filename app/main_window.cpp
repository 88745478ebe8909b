// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/main_window.h"

#include "app/app_exception.h"
#include "app/paint_pacer.h"
#include "app/port_list.h"
#include "app/tab_order.h"
#include "app/user_preferences.h"
#include "app/window_place.h"
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
#include <QShortcut>
#include <QShowEvent>
#include <QTimer>
#include <QVBoxLayout>

// Q_INIT_RESOURCE declares the resource's function in the namespace it is used in.
static void InitAppResource() {
    Q_INIT_RESOURCE(app);
}

namespace kuvar {

using protocol::Control;

namespace {
constexpr int kClientWidth = 1133;
constexpr int kClientHeight = 700;

QIcon ProgramIcon() {
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/app/kuvar-%1.png").arg(size), QSize(size, size));
    return icon;
}
} // namespace

TfKUVAR::TfKUVAR(const TAppPaths& paths, QWidget* parent)
    : QWidget(parent), paths_(paths),
      preferences_(std::make_unique<TUserPreferences>(paths.preferencesFile)) {
    InitAppResource();
    setObjectName(QStringLiteral("fKUVAR"));
    setWindowTitle(tr("KUVAR 통합프로그램 Ver2.6"));
    setWindowIcon(ProgramIcon());
    QFont windowFont(QStringLiteral("NanumGothic"));
    windowFont.setPointSize(8);
    setFont(windowFont);

    Canvas = new TWindowCanvas(this);
    QWidget* surface = Canvas->Surface();
    TopPanel.Build(surface);
    LeftColumn.Build(surface);
    BuildPages(surface);
    BuildStatusBar();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(Canvas, 1);
    layout->addWidget(StatusBar1);
    // The top panel stretches with the window's width, the pages with its height.
    Canvas->StretchWidth(TopPanel.SCPanel1);
    Canvas->StretchHeight(PageControl1);
    SetTabOrder();
    resize(kClientWidth, kClientHeight);
    setMinimumSize(320, 200);

    receiveLog_ = std::make_unique<TReceiveLog>(LeftColumn.Memo1);
    Views = std::make_unique<modules::TMeasurementViews>(AcPage, GyPage);
    Link = std::make_unique<TLinkController>(*this, Views.get(), nullptr);
    Ports = std::make_unique<TPortCombo>(TopPanel.ePortNo, SystemPortInfo());
    Recorder =
        std::make_unique<TRecorder>(*Link, *preferences_, TopPanel.btRecord, TopPanel.lbRecord,
                                    this, [this] { return PageControl1->currentIndex() == 3; });
    LogSaver = new TLogSaver(LeftColumn.Memo1, *preferences_, [this] { receiveLog_->Flush(); });
    ConnectHandlers();
    PaintPacer = new TPaintPacer(this);

    Link->Reconnection.SetEnabled(
        preferences_->Value(QStringLiteral("Link/Reconnect"), true).toBool());
    RestoreWindowPlace(*this, *preferences_);
    FormCreate();
}

TfKUVAR::~TfKUVAR() {
    Recorder.reset();
    Link.reset();
    SetAppExceptionHandler(nullptr);
}

void TfKUVAR::BuildPages(QWidget* surface) {
    PageControl1 = new QStackedWidget(surface);
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
    static constexpr const char* kPanelRoles[3] = {
        "Status panel 0: progress and errors", "Status panel 1: last frame sent", "Status panel 2"};
    for (int i = 0; i < 3; ++i) {
        statusPanels_[i] = new QLabel(StatusBar1);
        statusPanels_[i]->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        // The panel's text is its accessible name; the description says what it is.
        statusPanels_[i]->setAccessibleDescription(QString::fromLatin1(kPanelRoles[i]));
        statusPanels_[i]->setFixedWidth(widths[i]);
        statusPanels_[i]->setFrameShape(QFrame::Panel);
        statusPanels_[i]->setFrameShadow(QFrame::Sunken);
        // Latin text from a face that draws U+005C as a backslash (\\.\COM3), Korean from
        // the window's face: NanumGothic draws the backslash as a won sign.
        QFont panelFont = font();
        panelFont.setFamilies({QStringLiteral("DejaVu Sans"), font().family()});
        statusPanels_[i]->setFont(panelFont);
        StatusBar1->addWidget(statusPanels_[i]);
    }
    // The design's status bar: the 700-pixel client area less the surface above it.
    StatusBar1->setFixedHeight(kClientHeight - TWindowCanvas::kDesignHeight);
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
    // Enter in a manual line presses its Send button.
    ConnectGuarded(left.edSend1, &QLineEdit::returnPressed, this,
                   [this] { LeftColumn.bt360Send1->click(); });
    ConnectGuarded(left.edSend2, &QLineEdit::returnPressed, this,
                   [this] { LeftColumn.bt360Send2->click(); });
    ConnectGuarded(left.edSend3, &QLineEdit::returnPressed, this,
                   [this] { LeftColumn.bt360Send3->click(); });
    auto* quit = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q), this);
    quit->setObjectName(QStringLiteral("scQuit"));
    ConnectGuarded(quit, &QShortcut::activated, this, [this] { btCloseClick(); });
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

void TfKUVAR::SetTabOrder() {
    // The top panel, then the left column, then the page shown.
    std::vector<QWidget*> chain = TabControlsIn(TopPanel.SCPanel1);
    const TLeftColumn& l = LeftColumn;
    for (QWidget* w : InReadingOrder({l.edSend1, l.bt360Send1, l.edSend2, l.bt360Send2, l.edSend3,
                                      l.bt360Send3, l.btClear, l.Memo1}))
        chain.push_back(w);
    for (int i = 0; i < PageControl1->count(); ++i) {
        const std::vector<QWidget*> page = TabControlsIn(PageControl1->widget(i));
        chain.insert(chain.end(), page.begin(), page.end());
    }
    SetTabChain(chain);
}

void TfKUVAR::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // The frame's real size is known only once the window is on the screen.
    if (!event->spontaneous())
        QTimer::singleShot(0, this, [this] { Guarded([this] { KeepWindowOnScreen(*this); }); });
}

void TfKUVAR::SetStatusText(int panel, const QString& text) {
    // The panel may be too narrow for its text: the tooltip shows it whole.
    statusPanels_[panel]->setText(text);
    statusPanels_[panel]->setToolTip(text);
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
    // The closed-port picture of the window's design; a picture that does not load is an error
    // line and no reason to skip the rest of start-up.
    Guarded([this] { ShowPortState(false); });
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
        SaveWindowPlace(*this, *preferences_);
        Link->WindowClosing();
        event->accept();
        emit Closed();
    } else {
        event->ignore();
    }
}

void TfKUVAR::ListPorts() {
    const QString denied = Ports->Refresh();
    if (TopPanel.ePortNo->count() == 0 && !denied.isEmpty()) {
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
    return modules::ControlText(TopPanel.ePortNo);
}

QString TfKUVAR::BaudrateText() const {
    return modules::ControlText(TopPanel.cbBaudrate);
}

void TfKUVAR::SetPortText(const QString& text) {
    modules::SetControlText(TopPanel.ePortNo, text);
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

void QuitWhenClosed(TfKUVAR& window) {
    QGuiApplication::setQuitOnLastWindowClosed(false);
    QObject::connect(&window, &TfKUVAR::Closed, qApp, &QCoreApplication::quit,
                     Qt::QueuedConnection);
}

} // namespace kuvar
