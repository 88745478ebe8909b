// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/port_list.h"

#include <QMap>
#include <QObject>
#include <QSocketNotifier>
#include <QString>
#include <QTimer>

#include <functional>
#include <memory>
#include <optional>

namespace kuvar {

// Waits for a lost device to come back, without a widget and without polling it: inotify tells
// when something appears or changes in the folder of its path (and, for a USB adapter, in the
// device folders), and a look once a second only compares the path's node with what was
// already tried. Back means the same path with a node that was not tried yet, or, for a USB
// adapter, a port of the same serial number and VID:PID at another path.
class TDeviceWatch : public QObject {
public:
    explicit TDeviceWatch(std::shared_ptr<IPortInfoSource> source, QObject* parent = nullptr);
    ~TDeviceWatch() override;

    // The device just opened, by the file the component opened; keeps its USB identity.
    void Remember(const QString& path);
    // The device went away: from now on tryReopen is called with the path to open whenever it
    // may be back, until it answers true (the port is open again) or Cancel.
    void Start();
    void Cancel();
    bool Waiting() const { return waiting_; }
    // Off: Start does nothing (kuvar.conf, Link/Reconnect=false).
    void SetEnabled(bool on) { enabled_ = on; }
    bool Enabled() const { return enabled_; }
    // The path being waited for (the new one once reopened at a new path).
    const QString& Path() const { return path_; }

    std::function<bool(const QString& path)> tryReopen;
    // Looks taken so far: a wait where nothing happens costs one a second.
    int Looks() const { return looks_; }

private:
    struct TIdentity {
        QString serialNumber;
        quint16 vendorId = 0;
        quint16 productId = 0;
    };
    // What tells one node at a path from another: a new device, a new link, new permissions.
    struct TStamp {
        quint64 device = 0, inode = 0, changed = 0;
        bool operator==(const TStamp&) const = default;
    };
    static std::optional<TStamp> StampOf(const QString& path);
    void WatchFolders();
    void OnNotified();
    void Look(bool listPorts);
    bool TryIfNew(const QString& path);

    std::shared_ptr<IPortInfoSource> source_;
    QString path_;
    std::optional<TIdentity> identity_;
    bool enabled_ = true;
    bool waiting_ = false;
    int looks_ = 0;
    int notify_ = -1;
    std::unique_ptr<QSocketNotifier> notifier_;
    QTimer settle_;   // a burst of events makes one look
    QTimer fallback_; // once a second
    bool notified_ = false;
    QMap<QString, TStamp> tried_;
};

} // namespace kuvar
