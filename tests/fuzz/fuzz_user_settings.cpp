// SPDX-License-Identifier: GPL-3.0-or-later
// LoadUserSet on a settings file of any content and length; what it accepts reads back the same.
#include "app/user_settings.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdlib>

using namespace kuvar;

namespace {

QString SettingsPath() {
    static QTemporaryDir dir;
    return dir.filePath(QStringLiteral("UserSet.dat"));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString path = SettingsPath();
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            std::abort();
        }
        file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    }
    TUserSetRecord record;
    try {
        LoadUserSet(path, record);
    } catch (const EInOutError&) {
        if (size >= kUserSetSize) {
            std::abort(); // a whole record always loads
        }
        return 0;
    }
    if (size < kUserSetSize) {
        std::abort();
    }
    for (const UserSetFieldInfo& info : kUserSetFields) {
        // Texts that do not decode cleanly must still store within their field.
        TUserSetRecord copy = record;
        copy.SetText(info.field, record.Text(info.field));
        if (copy.Bytes()[info.offset] > info.capacity) {
            std::abort();
        }
    }
    TUserSetRecord again;
    again.Deserialize(record.Serialize());
    if (again.Bytes() != record.Bytes() || again.LongPortName() != record.LongPortName()) {
        std::abort();
    }
    return 0;
}
