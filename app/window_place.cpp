// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/window_place.h"

#include "app/user_preferences.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include <algorithm>

namespace kuvar {

namespace {

const QString kGeometryKey = QStringLiteral("Window/Geometry");
const QString kMaximizedKey = QStringLiteral("Window/Maximized");

QScreen* ScreenFor(const QRect& client) {
    if (QScreen* screen = QGuiApplication::screenAt(client.center()))
        return screen;
    return QGuiApplication::primaryScreen();
}

QMargins FrameMargins(const QWidget& window) {
    if (const QWindow* handle = window.windowHandle())
        return handle->frameMargins();
    return {};
}

} // namespace

QRect FitClientInto(const QRect& client, const QMargins& frame, const QRect& available) {
    if (!available.isValid())
        return client;
    const int frameWidth = frame.left() + frame.right();
    const int frameHeight = frame.top() + frame.bottom();
    const int width = std::max(1, std::min(client.width(), available.width() - frameWidth));
    const int height = std::max(1, std::min(client.height(), available.height() - frameHeight));
    // The frame's top left, kept inside so that the title bar can always be reached.
    int left = client.x() - frame.left();
    int top = client.y() - frame.top();
    left = std::min(left, available.right() + 1 - (width + frameWidth));
    top = std::min(top, available.bottom() + 1 - (height + frameHeight));
    left = std::max(left, available.left());
    top = std::max(top, available.top());
    return QRect(left + frame.left(), top + frame.top(), width, height);
}

void RestoreWindowPlace(QWidget& window, const TUserPreferences& preferences) {
    const QRect stored = preferences.Value(kGeometryKey).toRect();
    QRect client = stored.isValid() ? stored : QRect(QPoint(0, 0), window.size());
    const QScreen* screen = ScreenFor(client);
    const QRect available = screen ? screen->availableGeometry() : QRect();
    if (!stored.isValid() && available.isValid())
        client.moveCenter(available.center());
    window.setGeometry(FitClientInto(client, FrameMargins(window), available));
    if (preferences.Value(kMaximizedKey, false).toBool())
        window.setWindowState(window.windowState() | Qt::WindowMaximized);
}

void KeepWindowOnScreen(QWidget& window) {
    if (window.isMaximized() || window.isFullScreen())
        return;
    const QScreen* screen = ScreenFor(window.geometry());
    if (!screen)
        return;
    const QRect fitted =
        FitClientInto(window.geometry(), FrameMargins(window), screen->availableGeometry());
    if (fitted != window.geometry())
        window.setGeometry(fitted);
}

void SaveWindowPlace(const QWidget& window, TUserPreferences& preferences) {
    const bool maximized = window.isMaximized();
    preferences.SetValue(kGeometryKey, maximized ? window.normalGeometry() : window.geometry());
    preferences.SetValue(kMaximizedKey, maximized);
    preferences.Save();
}

} // namespace kuvar
