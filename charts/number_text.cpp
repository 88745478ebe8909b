// SPDX-License-Identifier: GPL-3.0-or-later
#include "charts/number_text.h"

#include <QRegularExpression>
#include <charconv>
#include <cmath>
#include <optional>
#include <string>

namespace kuvar::charts {
namespace {

std::optional<double> ParseFloat(const QString& text) {
    static const QRegularExpression pattern(
        QStringLiteral(R"(^\s*[+-]?(\d+\.?\d*|\.\d+)([eE][+-]?\d+)?\s*$)"));
    if (!pattern.match(text).hasMatch())
        return std::nullopt;
    std::string s = text.trimmed().toStdString();
    if (!s.empty() && s.front() == '+')
        s.erase(0, 1);
    double value = 0;
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (ec != std::errc() || end != s.data() + s.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

} // namespace

int IntFromText(const QString& text, int fallback) {
    static const QRegularExpression pattern(QStringLiteral(R"(^\s*[+-]?\d+\s*$)"));
    if (!pattern.match(text).hasMatch())
        return fallback;
    std::string s = text.trimmed().toStdString();
    if (s.front() == '+')
        s.erase(0, 1);
    int value = 0;
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (ec != std::errc() || end != s.data() + s.size())
        return fallback;
    return value;
}

double FloatFromText(const QString& text) {
    if (auto value = ParseFloat(text))
        return *value;
    throw ENumberTextError(
        QStringLiteral("'%1' is not a valid floating point value").arg(text).toStdString());
}

double FloatFromTextOr(const QString& text, double fallback) {
    return ParseFloat(text).value_or(fallback);
}

} // namespace kuvar::charts
