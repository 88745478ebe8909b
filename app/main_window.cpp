// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/main_window.h"
#include "app/paint_pacer.h"

#include "app/app_exception.h"
#include "app/port_list.h"
#include "charts/export_dialog.h"
#include "modules/page_builder.h"

#include <QCloseEvent>
#include <QDateTime>
#include <QGuiApplication>
#include <QScreen>

namespace kuvar {

namespace {

const QColor kLime(0x00, 0xFF, 0x00);
const QColor kGreen(0x00, 0x80, 0x00);
const QColor kAqua(0x00, 0xFF, 0xFF);

constexpr int kClientWidth = 1133;
constexpr int kClientHeight = 700;

QLabel* PanelLabel(QWidget* parent, const char* name, int x, int y, const QString& text,
                   const QColor& colour, bool visible = true) {
    QLabel* label = modules::Label(parent, name, x, y, text);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    label->adjustSize();
    modules::SetLabelColour(label, colour);
    label->setVisible(visible);
    return label;
}

} // namespace

TfKUVAR::TfKUVAR(const TAppPaths& paths, QWidget* parent) : QWidget(parent), paths_(paths) {
    setObjectName(QStringLiteral("fKUVAR"));
    setWindowTitle(QStringLiteral("KUVAR 통합프로그램 Ver2.6"));
    QFont windowFont(QStringLiteral("NanumGothic"));
    windowFont.setPointSize(8);
    setFont(windowFont);
    resize(kClientWidth, kClientHeight);

    BuildTopPanel();
    BuildLeftColumn();
    BuildPages();
    BuildStatusBar();

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1);
    Timer1->setSingleShot(true);

    BuildLink();
    ConnectHandlers();
    PaintPacer = new TPaintPacer(this);

    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - QPoint(kClientWidth / 2, kClientHeight / 2));
    }
    FormCreate();
}

TfKUVAR::~TfKUVAR() {
    // Destroying the component closes an open port without its port-closed event.
    uiThread_->Shutdown();
    VaComm1.reset();
    SetAppExceptionHandler(nullptr);
}

void TfKUVAR::BuildTopPanel() {
    SCPanel1 = new QWidget(this);
    SCPanel1->setObjectName(QStringLiteral("SCPanel1"));
    SCPanel1->setGeometry(0, 0, 1136, 65);
    SCPanel1->setAutoFillBackground(true);
    QPalette dark = SCPanel1->palette();
    dark.setColor(QPalette::Window, QColor(0x40, 0x40, 0x40));
    SCPanel1->setPalette(dark);
    QWidget* p = SCPanel1;

    PanelLabel(p, "Label1", 11, 13, QStringLiteral("Port No"), kAqua);
    ePortNo = modules::Combo(p, "ePortNo", 65, 10, 61, 21, {}, QString());
    PanelLabel(p, "Label4", 11, 37, QStringLiteral("Baudrate"), kAqua);
    cbBaudrate = modules::Combo(p, "cbBaudrate", 65, 34, 61, 21,
                                {QStringLiteral("115200"), QStringLiteral("57600"),
                                 QStringLiteral("38400"), QStringLiteral("9600")},
                                QStringLiteral("115200"));
    btConnect = modules::ColourButton(p, "btConnect", 145, 7, 65, 41, QString());
    btConnect->setToolTip(QStringLiteral("ComPort Open or Close"));
    imConnect = new QLabel(p);
    imConnect->setObjectName(QStringLiteral("imConnect"));
    imConnect->setToolTip(QStringLiteral("ComPort Open or Close"));
    imConnect->setGeometry(164, 26, 9, 6);
    lbComOpen = PanelLabel(p, "lbComOpen", 149, 48, QStringLiteral("ComOpen"), kGreen);
    btAC = modules::ColourButton(p, "btAC", 258, 7, 65, 41, QString());
    btAC->setToolTip(QStringLiteral("Download of data list"));
    lbAC = PanelLabel(p, "lbAC", 259, 49, QStringLiteral("KUVAR-AC"), kGreen);
    btGY = modules::ColourButton(p, "btGY", 344, 7, 65, 41, QString());
    btGY->setToolTip(QStringLiteral("All Data Download"));
    lbGY = PanelLabel(p, "lbGY", 345, 49, QStringLiteral("KUVAR-GY"), kGreen);
    AbColBitBtn1 = modules::ColourButton(p, "AbColBitBtn1", 431, 7, 65, 41, QString());
    AbColBitBtn1->setToolTip(QStringLiteral("Download of data list"));
    AbColBitBtn1->setVisible(false);
    lbIN360 = PanelLabel(p, "lbIN360", 421, 49, QStringLiteral("KUVAR-IN360"), kGreen, false);
    AbColBitBtn2 = modules::ColourButton(p, "AbColBitBtn2", 517, 7, 65, 41, QString());
    AbColBitBtn2->setToolTip(QStringLiteral("Download of data list"));
    AbColBitBtn2->setVisible(false);
    lbIN = PanelLabel(p, "lbIN", 518, 49, QStringLiteral("KUVAR-IN"), kGreen, false);
    btClose = modules::ColourButton(p, "btClose", 1039, 7, 65, 41, QString());
    PanelLabel(p, "Label36", 1056, 48, QStringLiteral("Close"), kLime);
}

void TfKUVAR::BuildLeftColumn() {
    edSend1 = modules::Edit(this, "edSend1", 12, 78, 197, 21, QString());
    bt360Send1 = modules::Button(this, "bt360Send1", 215, 74, 63, 25, QStringLiteral("Send"));
    edSend2 = modules::Edit(this, "edSend2", 12, 108, 197, 21, QString());
    bt360Send2 = modules::Button(this, "bt360Send2", 215, 105, 63, 25, QStringLiteral("Send"));
    edSend3 = modules::Edit(this, "edSend3", 12, 139, 197, 21, QString());
    bt360Send3 = modules::Button(this, "bt360Send3", 215, 135, 63, 25, QStringLiteral("Send"));
    modules::Label(this, "Label2", 11, 172, QStringLiteral("Send Message : "));
    leSendMessage = modules::Label(this, "leSendMessage", 91, 173, QString());
    leSendMessage->resize(190, leSendMessage->height());
    btClear = modules::Button(this, "btClear", 208, 210, 73, 25, QStringLiteral("Clear"));
    modules::Label(this, "Label8", 16, 222, QStringLiteral("Recive Value"));
    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setAccessibleName(QStringLiteral("Receive log"));
    Memo1->setReadOnly(true);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QFont memoFont = modules::ControlFont();
    memoFont.setPointSize(10);
    Memo1->setFont(memoFont);
    Memo1->setGeometry(16, 240, 265, 441);
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
    TabSheet1 = sheets[0];
    TabSheet2 = sheets[1];
    Ac.Build(sheets[2]);
    Gy.Build(sheets[3]);
    // The KUVAR-AC page is the design's initial page, shown whatever start-up does.
    PageControl1->setCurrentIndex(2);
    sheets[2]->installEventFilter(this);
    sheets[3]->installEventFilter(this);
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
    ConnectGuarded(btClose, &TAbColBitBtn::clicked, this, [this] { btCloseClick(); });
    ConnectGuarded(btAC, &TAbColBitBtn::clicked, this, [this] { btACClick(); });
    ConnectGuarded(btGY, &TAbColBitBtn::clicked, this, [this] { btGYClick(); });
    ConnectGuarded(AbColBitBtn1, &TAbColBitBtn::clicked, this, [this] { AbColBitBtn1Click(); });
    ConnectGuarded(AbColBitBtn2, &TAbColBitBtn::clicked, this, [this] { AbColBitBtn2Click(); });
    ConnectGuarded(btConnect, &TAbColBitBtn::clicked, this, [this] { btConnectClick(); });
    ConnectGuarded(bt360Send1, &QPushButton::clicked, this,
                   [this] { bt360SendClick(protocol::Control::edSend1); });
    ConnectGuarded(bt360Send2, &QPushButton::clicked, this,
                   [this] { bt360SendClick(protocol::Control::edSend2); });
    ConnectGuarded(bt360Send3, &QPushButton::clicked, this,
                   [this] { bt360SendClick(protocol::Control::edSend3); });
    ConnectGuarded(btClear, &QPushButton::clicked, this, [this] { btClearClick(); });
    ConnectGuarded(Timer1, &QTimer::timeout, this, [this] { Timer1Timer(); });
    const modules::Guard guard = [](const std::function<void()>& body) { Guarded(body); };
    modules::ConnectAcPage(Ac, Link, *this, AcPrev, guard);
    modules::ConnectGyPage(Gy, Link, *this, guard);
    Views->Connect(guard);
    ConnectGuarded(Ac.btACSAVE, &TAbColBitBtn::clicked, this,
                   [this] { charts::ShowChartExportDialog(Ac.Chart1->Chart(), this); });
    ConnectGuarded(Gy.btGYSAVE, &TAbColBitBtn::clicked, this,
                   [this] { charts::ShowChartExportDialog(Gy.Chart2->Chart(), this); });
}

void TfKUVAR::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // The top panel stretches with the width, the pages and the log with the height.
    SCPanel1->resize(std::max(width(), 1136), SCPanel1->height());
    const int statusHeight = StatusBar1->height();
    StatusBar1->setGeometry(0, height() - statusHeight, width(), statusHeight);
    const int extra = height() - kClientHeight;
    PageControl1->resize(PageControl1->width(), std::max(0, 609 + extra));
}

bool TfKUVAR::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Show && !event->spontaneous()) {
        if (watched == Ac.sheet) {
            Guarded([this] { TabSheet3Show(); });
        } else if (watched == Gy.sheet) {
            Guarded([this] { TabSheet4Show(); });
        }
    }
    return QWidget::eventFilter(watched, event);
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
            Ac.Chart1->ResetRangeBoxes();
            Gy.Chart2->ResetRangeBoxes();
        }
        Link.RxMode = 0;
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
    // The combo keeps its text while its list is refilled.
    const QString text = ePortNo->currentText();
    ePortNo->clear();
    ePortNo->addItems(ports);
    ePortNo->setEditText(text);
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

QString TfKUVAR::ControlText(const char* name) const {
    const QString objectName = QString::fromLatin1(name);
    if (auto* edit = findChild<QLineEdit*>(objectName)) {
        return edit->text();
    }
    if (auto* combo = findChild<QComboBox*>(objectName)) {
        return combo->currentText();
    }
    throw std::logic_error(std::string("No control ") + name);
}

void TfKUVAR::SetControlText(const char* name, const QString& text) {
    const QString objectName = QString::fromLatin1(name);
    if (auto* edit = findChild<QLineEdit*>(objectName)) {
        if (edit->text() != text) {
            edit->setText(text);
        }
        return;
    }
    if (auto* combo = findChild<QComboBox*>(objectName)) {
        if (combo->currentText() != text) {
            combo->setEditText(text);
        }
        return;
    }
    throw std::logic_error(std::string("No control ") + name);
}

void TfKUVAR::ControlsFromRecord() {
    // Record order is the order of start-up, except that the radio pair comes after the GY mode.
    for (const UserSetFieldInfo& info : kUserSetFields) {
        if (info.field == UserSetField::Chart2LeftMax) {
            const bool degrees = UserSetRecord.AngleDisplay();
            Gy.rbGYDegrees->setChecked(degrees);
            Gy.rbGYDegSpeed->setChecked(!degrees);
        }
        SetControlText(info.control, UserSetRecord.Text(info.field));
    }
}

void TfKUVAR::RecordFromControls() {
    for (const UserSetFieldInfo& info : kUserSetFields) {
        UserSetRecord.SetText(info.field, ControlText(info.control));
    }
    UserSetRecord.SetAngleDisplay(Gy.rbGYDegrees->isChecked());
}

void TfKUVAR::btCloseClick() {
    close();
}

void TfKUVAR::ShowPage(int index) {
    PageControl1->setCurrentIndex(index);
}

void TfKUVAR::btACClick() {
    Link.RxMode = 0;
    ShowPage(2);
}

void TfKUVAR::btGYClick() {
    Link.RxMode = 0;
    ShowPage(3);
}

void TfKUVAR::AbColBitBtn1Click() {
    ShowPage(0);
}

void TfKUVAR::AbColBitBtn2Click() {
    ShowPage(1);
}

void TfKUVAR::SetModuleLabels(QLabel* active) {
    for (QLabel* label : {lbAC, lbGY, lbIN360, lbIN}) {
        modules::SetLabelColour(label, label == active ? kLime : kGreen);
    }
}

void TfKUVAR::TabSheet3Show() {
    Ac.Chart1->PageShown();
    SetModuleLabels(lbAC);
    Views->Ac.ResetAcOffsets();
}

void TfKUVAR::TabSheet4Show() {
    Gy.Chart2->PageShown();
    SetModuleLabels(lbGY);
}

} // namespace kuvar
