// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/window_panels.h"

#include "app/cached_scroll_bar.h"

#include "modules/instruments.h"
#include "modules/page_builder.h"

namespace kuvar {

namespace {

const QColor kAqua(0x00, 0xFF, 0xFF);

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

void TTopPanel::Build(QWidget* window) {
    SCPanel1 = new QWidget(window);
    SCPanel1->setObjectName(QStringLiteral("SCPanel1"));
    SCPanel1->setGeometry(0, 0, 1136, 65);
    SCPanel1->setAutoFillBackground(true);
    QPalette dark = SCPanel1->palette();
    dark.setColor(QPalette::Window, QColor(0x40, 0x40, 0x40));
    SCPanel1->setPalette(dark);
    QWidget* p = SCPanel1;

    PanelLabel(p, "Label1", 11, 13, QStringLiteral("Port No"), kAqua);
    ePortNo = new TPortComboBox(p);
    modules::SetUpCombo(ePortNo, "ePortNo", 65, 10, 61, 21, {}, QString());
    PanelLabel(p, "Label4", 11, 37, QStringLiteral("Baudrate"), kAqua);
    cbBaudrate = modules::Combo(p, "cbBaudrate", 65, 34, 61, 21,
                                {QStringLiteral("115200"), QStringLiteral("57600"),
                                 QStringLiteral("38400"), QStringLiteral("9600")},
                                QStringLiteral("115200"));
    btConnect = modules::ColourButton(p, "btConnect");
    imConnect = new QLabel(p);
    imConnect->setObjectName(QStringLiteral("imConnect"));
    imConnect->setToolTip(QStringLiteral("ComPort Open or Close"));
    imConnect->setGeometry(164, 26, 9, 6);
    lbComOpen = PanelLabel(p, "lbComOpen", 149, 48, QStringLiteral("ComOpen"), kGreen);
    btAC = modules::ColourButton(p, "btAC");
    lbAC = PanelLabel(p, "lbAC", 259, 49, QStringLiteral("KUVAR-AC"), kGreen);
    btGY = modules::ColourButton(p, "btGY");
    lbGY = PanelLabel(p, "lbGY", 345, 49, QStringLiteral("KUVAR-GY"), kGreen);
    AbColBitBtn1 = modules::ColourButton(p, "AbColBitBtn1");
    lbIN360 = PanelLabel(p, "lbIN360", 421, 49, QStringLiteral("KUVAR-IN360"), kGreen, false);
    AbColBitBtn2 = modules::ColourButton(p, "AbColBitBtn2");
    lbIN = PanelLabel(p, "lbIN", 518, 49, QStringLiteral("KUVAR-IN"), kGreen, false);
    btRecord = modules::ColourButton(p, "btRecord");
    lbRecord = PanelLabel(p, "lbRecord", 0, 49, QStringLiteral("REC"), kGreen);
    lbRecord->move(btRecord->geometry().center().x() - lbRecord->width() / 2, 49);
    btClose = modules::ColourButton(p, "btClose");
    PanelLabel(p, "Label36", 1056, 48, QStringLiteral("Close"), kLime);
}

void TLeftColumn::Build(QWidget* window) {
    QWidget* p = window;
    edSend1 = modules::Edit(p, "edSend1", 12, 78, 197, 21, QString());
    bt360Send1 = modules::Button(p, "bt360Send1", 215, 74, 63, 25, QStringLiteral("Send"));
    edSend2 = modules::Edit(p, "edSend2", 12, 108, 197, 21, QString());
    bt360Send2 = modules::Button(p, "bt360Send2", 215, 105, 63, 25, QStringLiteral("Send"));
    edSend3 = modules::Edit(p, "edSend3", 12, 139, 197, 21, QString());
    bt360Send3 = modules::Button(p, "bt360Send3", 215, 135, 63, 25, QStringLiteral("Send"));
    modules::Label(p, "Label2", 11, 172, QStringLiteral("Send Message : "));
    leSendMessage = modules::Label(p, "leSendMessage", 91, 173, QString());
    leSendMessage->resize(190, leSendMessage->height());
    btClear = modules::Button(p, "btClear", 208, 210, 73, 25, QStringLiteral("Clear"));
    modules::Label(p, "Label8", 16, 222, QStringLiteral("Recive Value"));
    Memo1 = new QPlainTextEdit(p);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setAccessibleName(QStringLiteral("Receive log"));
    // The operator may type into the log too; nothing sends or reads what is typed.
    Memo1->setReadOnly(false);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setHorizontalScrollBar(new TCachedScrollBar(Qt::Horizontal, Memo1));
    Memo1->setVerticalScrollBar(new TCachedScrollBar(Qt::Vertical, Memo1));
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // Tab leaves the log for the next control.
    Memo1->setTabChangesFocus(true);
    QFont memoFont = modules::ControlFont();
    memoFont.setPointSize(10);
    // A stream lays out hundreds of new lines a second; lines of Latin letters, digits and signs
    // look the same without the shaping engine (scripts that need it are still shaped).
    memoFont.setStyleStrategy(QFont::PreferNoShaping);
    Memo1->setFont(memoFont);
    Memo1->setGeometry(16, 240, 265, 441);
}

} // namespace kuvar
