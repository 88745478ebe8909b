// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/device_watch.h"

#include "base/guard.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kuvar {

namespace {

constexpr int kSettleMs = 50;
constexpr int kFallbackMs = 1000;
constexpr uint32_t kEvents = IN_CREATE | IN_MOVED_TO | IN_ATTRIB;

// The folder of path, or the nearest of its parents that exists (a /dev/serial/by-id that went
// with the last adapter).
QString NearestFolder(const QString& path) {
    QString dir = QFileInfo(path).absolutePath();
    while (!QFileInfo(dir).isDir() && dir != QStringLiteral("/"))
        dir = QFileInfo(dir).absolutePath();
    return dir;
}

QString Canonical(const QString& path) {
    const QString canonical = QFileInfo(path).canonicalFilePath();
    return canonical.isEmpty() ? path : canonical;
}

} // namespace

TDeviceWatch::TDeviceWatch(std::shared_ptr<IPortInfoSource> source, QObject* parent)
    : QObject(parent), source_(std::move(source)) {
    settle_.setSingleShot(true);
    settle_.setInterval(kSettleMs);
    fallback_.setInterval(kFallbackMs);
    ConnectGuarded(&settle_, &QTimer::timeout, this, [this] { Look(true); });
    // Without inotify the port list is asked once a second instead.
    ConnectGuarded(&fallback_, &QTimer::timeout, this, [this] { Look(notify_ < 0); });
}

TDeviceWatch::~TDeviceWatch() {
    Cancel();
}

void TDeviceWatch::Remember(const QString& path) {
    path_ = path;
    identity_.reset();
    const QString device = Canonical(path);
    for (const TPortInfo& info : source_->Ports()) {
        if (Canonical(info.path) != device)
            continue;
        if (!info.serialNumber.isEmpty() && info.vendorId && info.productId)
            identity_ = TIdentity{info.serialNumber, *info.vendorId, *info.productId};
        break;
    }
}

void TDeviceWatch::Start() {
    Cancel();
    if (!enabled_ || path_.isEmpty())
        return;
    waiting_ = true;
    // A node still there is the one that failed; only a new one counts.
    if (const auto stamp = StampOf(path_))
        tried_.insert(path_, *stamp);
    notify_ = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (notify_ >= 0) {
        notifier_ = std::make_unique<QSocketNotifier>(notify_, QSocketNotifier::Read);
        ConnectGuarded(notifier_.get(), &QSocketNotifier::activated, this,
                       [this] { OnNotified(); });
        WatchFolders();
    }
    fallback_.start();
    Look(true);
}

void TDeviceWatch::Cancel() {
    waiting_ = false;
    settle_.stop();
    fallback_.stop();
    notifier_.reset();
    if (notify_ >= 0)
        ::close(notify_);
    notify_ = -1;
    tried_.clear();
}

std::optional<TDeviceWatch::TStamp> TDeviceWatch::StampOf(const QString& path) {
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0 || !S_ISCHR(st.st_mode))
        return std::nullopt;
    TStamp stamp;
    stamp.device = st.st_rdev;
    stamp.inode = st.st_ino;
    stamp.changed = static_cast<quint64>(st.st_ctim.tv_sec) * 1'000'000'000ULL +
                    static_cast<quint64>(st.st_ctim.tv_nsec);
    return stamp;
}

void TDeviceWatch::WatchFolders() {
    QStringList folders{NearestFolder(path_)};
    if (identity_)
        folders += source_->DeviceFolders();
    // Watching a folder again only keeps its watch.
    for (const QString& folder : folders)
        ::inotify_add_watch(notify_, QFile::encodeName(folder).constData(), kEvents);
}

void TDeviceWatch::OnNotified() {
    alignas(inotify_event) char buffer[4096];
    while (::read(notify_, buffer, sizeof buffer) > 0) {
    }
    // A folder on the way to the path may have come back.
    WatchFolders();
    if (!settle_.isActive())
        settle_.start();
}

void TDeviceWatch::Look(bool listPorts) {
    if (!waiting_)
        return;
    ++looks_;
    if (TryIfNew(path_))
        return;
    if (!identity_ || !listPorts)
        return;
    const TIdentity id = *identity_;
    for (const TPortInfo& info : source_->Ports()) {
        if (info.path == path_ || info.serialNumber != id.serialNumber ||
            info.vendorId != id.vendorId || info.productId != id.productId)
            continue;
        if (TryIfNew(info.path))
            return;
    }
}

bool TDeviceWatch::TryIfNew(const QString& path) {
    const auto stamp = StampOf(path);
    if (!stamp || tried_.value(path) == *stamp)
        return false;
    tried_.insert(path, *stamp);
    if (!tryReopen || !tryReopen(path))
        return false;
    path_ = path;
    Cancel();
    return true;
}

} // namespace kuvar
