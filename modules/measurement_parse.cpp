// SPDX-License-Identifier: GPL-3.0-or-later
#include "modules/measurement_parse.h"

#include <algorithm>

#include <charconv>
#include <cmath>

namespace kuvar::modules {

std::string_view HeadView(std::string_view text, char c) {
    const auto at = text.find(c);
    return at == std::string_view::npos ? std::string_view() : text.substr(0, at);
}

std::string_view TailView(std::string_view text, char c) {
    const auto at = text.find(c);
    return at == std::string_view::npos ? text : text.substr(at + 1);
}

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// from_chars takes no "+"; a "+" must be followed by the number itself, not by another sign.
std::string_view WithoutPlus(std::string_view text) {
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        if (!text.empty() && (text.front() == '+' || text.front() == '-'))
            return "?";
    }
    return text;
}

} // namespace

double NumberOrZero(std::string_view text) {
    text = WithoutPlus(text);
    // from_chars would also take "inf" and "nan", which are no numbers here.
    const std::size_t first = !text.empty() && text.front() == '-' ? 1 : 0;
    if (text.size() <= first || !(IsDigit(text[first]) || text[first] == '.'))
        return 0;
    double value = 0;
    const auto [end, ec] =
        std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::general);
    if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
        return 0;
    return value;
}

std::int32_t IntOrDefault(std::string_view text, std::int32_t fallback) {
    text = WithoutPlus(text);
    std::int32_t value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size())
        return fallback;
    return value;
}

std::optional<AcReading> ParseAcFrame(std::string_view frame) {
    std::string_view x, y, z;
    if (frame.size() > 5 && frame.find('@') == std::string_view::npos) {
        // A measurement frame has its five fields; a command reply that arrives while the stream
        // is shown ("[1 START]", "[1 SCALE 2]") is no reading, and plotting it as zeros would put
        // a false dip into the recorded data.
        if (std::count(frame.begin(), frame.end(), ' ') < 4) {
            return std::nullopt;
        }
        const auto t2 = TailView(TailView(frame, ' '), ' ');
        x = HeadView(t2, ' ');
        const auto t3 = TailView(t2, ' ');
        y = HeadView(t3, ' ');
        z = HeadView(TailView(t3, ' '), ']');
    } else if (!frame.empty() && frame.front() == '@') {
        x = HeadView(frame, ' ');
        if (!x.empty())
            x.remove_prefix(1);
        const auto t1 = TailView(frame, ' ');
        y = HeadView(t1, ' ');
        z = HeadView(TailView(t1, ' '), ' ');
    } else {
        return std::nullopt;
    }
    return AcReading{NumberOrZero(x), NumberOrZero(y), NumberOrZero(z)};
}

std::optional<GyReading> ParseGyFrame(std::string_view shortened) {
    if (shortened.empty() || (shortened.front() != '0' && shortened.front() != '1'))
        return std::nullopt;
    GyReading reading;
    reading.mode = shortened.front();
    reading.scaleDigit = shortened.size() > 1 && IsDigit(shortened[1]) ? shortened[1] - '0' : 0;
    const auto t1 = TailView(shortened, ' ');
    reading.roll = NumberOrZero(HeadView(t1, ' '));
    const auto t2 = TailView(t1, ' ');
    reading.pitch = NumberOrZero(HeadView(t2, ' '));
    reading.yaw = NumberOrZero(HeadView(TailView(t2, ' '), ']'));
    return reading;
}

} // namespace kuvar::modules
