// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/user_settings.h"

#include "base/safe_file.h"

#include <QFile>
#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>
#include <cerrno>
#include <sys/stat.h>

namespace kuvar {

const std::array<UserSetFieldInfo, 23> kUserSetFields = {{
    {UserSetField::PortNo, 0, 6, "ePortNo", "COM1"},
    {UserSetField::Baudrate, 7, 7, "cbBaudrate", "115200"},
    {UserSetField::AcId, 15, 4, "eID", "1"},
    {UserSetField::AcNewId, 20, 4, "edACNewID", "1"},
    {UserSetField::AcBaudrate, 25, 7, "cbACBaudrate", "115200"},
    {UserSetField::AcScale, 33, 1, "cbACScale", "1"},
    {UserSetField::AcInterval, 35, 4, "edACINT", "100"},
    {UserSetField::AcMode, 40, 4, "cbACMode", "0"},
    {UserSetField::Chart1LeftMax, 45, 5, "edChart1LeftMax", "2000"},
    {UserSetField::Chart1LeftMin, 51, 5, "edChart1LeftMin", "-1000"},
    {UserSetField::AcDataQuantity, 57, 5, "edACDataQuantity", "300"},
    {UserSetField::Send1, 63, 200, "edSend1", ""},
    {UserSetField::Send2, 264, 200, "edSend2", ""},
    {UserSetField::Send3, 465, 200, "edSend3", ""},
    {UserSetField::GyId, 666, 4, "edGYID", "1"},
    {UserSetField::GyNewId, 671, 4, "edGYNewID", "1"},
    {UserSetField::GyBaudrate, 676, 7, "cbGYBaudrate", "115200"},
    {UserSetField::GyScale, 684, 1, "cbGYScale", "1"},
    {UserSetField::GyInterval, 686, 4, "edGYINT", "100"},
    {UserSetField::GyMode, 691, 4, "cbGYMode", "0"},
    {UserSetField::Chart2LeftMax, 697, 5, "edChart2LeftMax", "2000"},
    {UserSetField::Chart2LeftMin, 703, 5, "edChart2LeftMin", "-1000"},
    {UserSetField::GyDataQuantity, 709, 5, "edGYDataQuantity", "300"},
}};

namespace {

constexpr char kLongNameTag[4] = {'K', 'L', 'P', 'N'};
constexpr int kPortCapacity = 6;

QByteArray ToCodePage(const QString& text) {
    QStringEncoder encoder("CP949");
    return encoder.encode(text);
}

QString FromCodePage(const QByteArray& bytes) {
    QStringDecoder decoder("CP949");
    return decoder.decode(bytes);
}

// Length of the longest prefix of `bytes` of at most `limit` bytes that ends on a character
// boundary of code page 949 (a lead byte 0x81-0xFE starts a two-byte character).
int CharacterBoundary(const QByteArray& bytes, int limit) {
    int i = 0;
    while (i < bytes.size()) {
        const auto b = static_cast<uint8_t>(bytes[i]);
        const int width = (b >= 0x81 && b <= 0xFE && i + 1 < bytes.size()) ? 2 : 1;
        if (i + width > limit) {
            break;
        }
        i += width;
    }
    return i;
}

uint8_t XorOf(const QByteArray& bytes) {
    uint8_t sum = 0;
    for (char c : bytes) {
        sum ^= static_cast<uint8_t>(c);
    }
    return sum;
}

} // namespace

const UserSetFieldInfo& FieldInfo(UserSetField field) {
    return kUserSetFields[static_cast<size_t>(field)];
}

QByteArray EncodeFieldText(const QString& text, int capacity) {
    const QByteArray bytes = ToCodePage(text);
    return bytes.left(CharacterBoundary(bytes, std::min(255, capacity)));
}

QString TUserSetRecord::Text(UserSetField field) const {
    const UserSetFieldInfo& info = FieldInfo(field);
    // A damaged length byte is read within the field.
    const int length = std::min<int>(bytes_[info.offset], info.capacity);
    const QByteArray stored(reinterpret_cast<const char*>(&bytes_[info.offset + 1]), length);
    if (field == UserSetField::PortNo && length == kPortCapacity &&
        longPortName_.startsWith(stored)) {
        return FromCodePage(longPortName_);
    }
    return FromCodePage(stored);
}

void TUserSetRecord::SetText(UserSetField field, const QString& text) {
    const UserSetFieldInfo& info = FieldInfo(field);
    const QByteArray stored = EncodeFieldText(text, info.capacity);
    bytes_[info.offset] = static_cast<uint8_t>(stored.size());
    std::copy(stored.begin(), stored.end(), bytes_.begin() + info.offset + 1);
    if (field == UserSetField::PortNo) {
        const QByteArray whole = ToCodePage(text);
        longPortName_ = whole.size() > kPortCapacity ? whole : QByteArray();
    }
}

void TUserSetRecord::SetDefaults() {
    for (const UserSetFieldInfo& info : kUserSetFields) {
        SetText(info.field, QString::fromLatin1(info.defaultText));
    }
    SetAngleDisplay(true);
}

QByteArray TUserSetRecord::Serialize() const {
    QByteArray data(reinterpret_cast<const char*>(bytes_.data()), kUserSetSize);
    if (!longPortName_.isEmpty()) {
        // Tag, 2-byte little-endian length, the text, its XOR.
        data.append(kLongNameTag, sizeof kLongNameTag);
        data.append(static_cast<char>(longPortName_.size() & 0xFF));
        data.append(static_cast<char>((longPortName_.size() >> 8) & 0xFF));
        data.append(longPortName_);
        data.append(static_cast<char>(XorOf(longPortName_)));
    }
    return data;
}

void TUserSetRecord::Deserialize(const QByteArray& data) {
    if (data.size() < kUserSetSize) {
        throw EInOutError("Read beyond end of file");
    }
    std::copy(data.begin(), data.begin() + kUserSetSize, bytes_.begin());
    longPortName_.clear();
    const QByteArray block = data.mid(kUserSetSize);
    if (block.size() < 7 || !block.startsWith(QByteArray(kLongNameTag, sizeof kLongNameTag))) {
        return;
    }
    const int length =
        static_cast<uint8_t>(block[4]) | (static_cast<int>(static_cast<uint8_t>(block[5])) << 8);
    if (block.size() < 6 + length + 1) {
        return;
    }
    const QByteArray name = block.mid(6, length);
    if (static_cast<uint8_t>(block[6 + length]) == XorOf(name) && name.size() > kPortCapacity) {
        longPortName_ = name;
    }
}

bool LoadUserSet(const QString& path, TUserSetRecord& record) {
    struct stat st {};
    // A link to nothing counts as missing, as it did: the save creates its target.
    if (::stat(QFile::encodeName(path).constData(), &st) == 0 || errno != ENOENT) {
        QByteArray data;
        try {
            // Read-write without truncating: a file the program could not write back fails here.
            data = ReadRegularFile(path, kUserSetMaxFileSize, TReadAccess::ReadWrite);
        } catch (const EFileError& e) {
            throw EInOutError(e.what());
        }
        TUserSetRecord read;
        read.Deserialize(data);
        record = read;
        return false;
    }
    // Created whole or not at all: a failed first save leaves no empty file behind.
    TUserSetRecord created = record;
    created.SetDefaults();
    try {
        WriteFileSafely(path, created.Serialize());
    } catch (const EFileError& e) {
        throw EInOutError(FileErrorMessage(TFileAction::Create, e.Path(), e.Why()).toStdString());
    }
    record = created;
    return true;
}

void SaveUserSet(const QString& path, const TUserSetRecord& record) {
    try {
        WriteFileSafely(path, record.Serialize());
    } catch (const EFileError& e) {
        throw EInOutError(e.what());
    }
}

} // namespace kuvar
