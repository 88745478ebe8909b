// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

#include <array>
#include <cstdint>
#include <stdexcept>

namespace kuvar {

// The 715-byte settings record of UserSet.dat. Texts are length-prefixed byte strings in code
// page 949; the window works in Unicode, so the record converts at its edge.

// Raised for every failed file operation on the settings file.
class EInOutError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

enum class UserSetField {
    PortNo,
    Baudrate,
    AcId,
    AcNewId,
    AcBaudrate,
    AcScale,
    AcInterval,
    AcMode,
    Chart1LeftMax,
    Chart1LeftMin,
    AcDataQuantity,
    Send1,
    Send2,
    Send3,
    GyId,
    GyNewId,
    GyBaudrate,
    GyScale,
    GyInterval,
    GyMode,
    Chart2LeftMax,
    Chart2LeftMin,
    GyDataQuantity,
};

struct UserSetFieldInfo {
    UserSetField field;
    int offset;   // of the length byte
    int capacity; // character bytes after the length byte
    const char* control;
    const char* defaultText;
};

constexpr int kUserSetSize = 715;
// The most a settings file can usefully hold: the record, the long port-name block (tag, 2-byte
// length, up to 65,535 bytes of text, XOR) and one byte more. Reads stop there.
constexpr int kUserSetMaxFileSize = kUserSetSize + 4 + 2 + 0xFFFF + 1 + 1;
constexpr int kAngleFlagOffset = 696;

// In record order; the angle flag sits between GyMode and Chart2LeftMax.
extern const std::array<UserSetFieldInfo, 23> kUserSetFields;

const UserSetFieldInfo& FieldInfo(UserSetField field);

// Cuts a text to what a field of `capacity` bytes stores: at most 255 and at most `capacity` bytes
// of code page 949, never ending inside a two-byte character.
QByteArray EncodeFieldText(const QString& text, int capacity);

class TUserSetRecord {
public:
    TUserSetRecord() { bytes_.fill(0); }

    QString Text(UserSetField field) const;
    // Stores length byte and characters; the bytes after the new text keep their old content.
    void SetText(UserSetField field, const QString& text);
    bool AngleDisplay() const { return bytes_[kAngleFlagOffset] != 0; }
    void SetAngleDisplay(bool on) { bytes_[kAngleFlagOffset] = on ? 1 : 0; }
    void SetDefaults();

    const std::array<uint8_t, kUserSetSize>& Bytes() const { return bytes_; }
    std::array<uint8_t, kUserSetSize>& Bytes() { return bytes_; }

    // The whole port text when it is longer than its 6-byte field (kept in a tagged block after
    // the 715 bytes, which readers of the plain layout ignore).
    const QByteArray& LongPortName() const { return longPortName_; }

    // The file's bytes: the record, then the long-name block when there is one.
    QByteArray Serialize() const;
    // Reads a file's bytes; throws EInOutError when there are fewer than 715.
    void Deserialize(const QByteArray& data);

private:
    std::array<uint8_t, kUserSetSize> bytes_;
    QByteArray longPortName_;
};

// Reads the file into the record, or creates it with the defaults when it is missing; true when
// it created the file (the program's first start in this folder). Anything but a regular file (a
// FIFO, a device, also through a link) is refused without being read.
bool LoadUserSet(const QString& path, TUserSetRecord& record);
// Writes the record atomically: a failed or interrupted write leaves the previous file whole, and
// a target that is not a regular file is refused.
void SaveUserSet(const QString& path, const TUserSetRecord& record);

} // namespace kuvar
