// SPDX-License-Identifier: GPL-3.0-or-later
#include "serial/va_format.h"

#include <charconv>

namespace kuvar::serial {

std::string FormatCommMessage(std::string_view pattern, const std::vector<TVaFormatArg>& args) {
    std::string out;
    std::size_t next = 0;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char c = pattern[i];
        if (c != '%' || i + 1 >= pattern.size()) {
            out += c;
            continue;
        }
        const char conversion = pattern[i + 1];
        if (conversion == '%') {
            out += '%';
            ++i;
        } else if ((conversion == 'd' || conversion == 's') && next < args.size()) {
            const TVaFormatArg& arg = args[next++];
            if (const auto* n = std::get_if<long long>(&arg))
                out += std::to_string(*n);
            else
                out += std::get<std::string>(arg);
            ++i;
        } else {
            out += c;
        }
    }
    return out;
}

std::string FormatPortName(std::string_view pattern, long long portNum) {
    std::string out;
    bool used = false;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char c = pattern[i];
        if (c == '%' && i + 1 < pattern.size()) {
            const char conversion = pattern[i + 1];
            if (conversion == '%') {
                out += '%';
                ++i;
                continue;
            }
            if (!used && (conversion == 'd' || conversion == 'i' || conversion == 'u')) {
                out += std::to_string(portNum);
                used = true;
                ++i;
                continue;
            }
        }
        out += c;
    }
    return out;
}

std::string PosixDeviceFile(std::string_view portName) {
    constexpr std::string_view prefix = "\\\\.\\COM";
    if (portName.size() <= prefix.size() || portName.substr(0, prefix.size()) != prefix)
        return std::string(portName);
    const std::string_view digits = portName.substr(prefix.size());
    long long n = 0;
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), n);
    if (ec != std::errc() || end != digits.data() + digits.size())
        return std::string(portName);
    if (n < 1)
        return {};
    return "/dev/ttyS" + std::to_string(n - 1);
}

std::string TrimErrorText(std::string_view text) {
    std::string out(text.substr(0, 255));
    while (!out.empty() && (static_cast<unsigned char>(out.back()) <= 32 || out.back() == '.'))
        out.pop_back();
    return out;
}

} // namespace kuvar::serial
