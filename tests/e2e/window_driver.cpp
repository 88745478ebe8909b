// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/e2e/window_driver.h"

#include "app/delay.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QTest>

using namespace kuvar;

bool WaitFor(const std::function<bool()>& condition, int ms) {
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > ms) {
            return false;
        }
        Delay(5);
    }
    return true;
}

TBoxAnswerer::TBoxAnswerer(QMessageBox::StandardButton answer) : answer_(answer) {
    connect(&timer_, &QTimer::timeout, this, [this] { Poll(); });
    timer_.start(5);
}

void TBoxAnswerer::Poll() {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box || !box->isVisible()) {
        return;
    }
    seen << box->text();
    QAbstractButton* button = box->button(answer_);
    if (!button) {
        button = box->button(QMessageBox::Ok);
    }
    if (button) {
        button->click();
    }
}

TWindowFixture::TWindowFixture() {
    TAppPaths paths{dir.filePath(QStringLiteral("UserSet.dat")), QStringLiteral(KUVAR_PICTURES)};
    window = std::make_unique<TfKUVAR>(paths);
    window->show();
}

bool TWindowFixture::OpenPort(const QString& port, const QString& rate) {
    window->TopPanel.ePortNo->setEditText(port);
    window->TopPanel.cbBaudrate->setEditText(rate);
    ClickButton(window->TopPanel.btConnect);
    return window->Link->PortOpen();
}

void TWindowFixture::ClickButton(QWidget* button) {
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, button->rect().center());
}

bool TWindowFixture::LogContains(const QString& text) const {
    return window->LeftColumn.Memo1->toPlainText().contains(text);
}
