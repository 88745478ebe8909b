// SPDX-License-Identifier: GPL-3.0-or-later
#include "modules/wire_text.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>

namespace kuvar::modules {

namespace {
bool IsAscii(const std::string& bytes) {
    return std::all_of(bytes.begin(), bytes.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}
} // namespace

std::string ToWire(const QString& text) {
    bool ascii = true;
    for (QChar c : text) {
        if (c.unicode() >= 0x80) {
            ascii = false;
            break;
        }
    }
    if (ascii) {
        return text.toLatin1().toStdString();
    }
    QStringEncoder encoder("CP949");
    return QByteArray(encoder.encode(text)).toStdString();
}

QString FromWire(const std::string& bytes) {
    // Replies are ASCII in practice: the fast path keeps the stream cheap.
    if (IsAscii(bytes)) {
        return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
    }
    QStringDecoder decoder("CP949");
    return decoder.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

QString FromMixed(const std::string& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text =
        utf8.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    return utf8.hasError() ? FromWire(bytes) : text;
}

} // namespace kuvar::modules
