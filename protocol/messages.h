// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace kuvar::protocol {

// Texts the operator sees, in UTF-8.
inline constexpr const char* kOpenComPort = "Open Com port.";
inline constexpr const char* kNoAnswer = "No answer";

// "Try Connect " + count + "[sec]", whatever the wait was.
inline std::string TryConnectText(std::int32_t count) {
    return "Try Connect " + std::to_string(count) + "[sec]";
}

// More than one module answered an ID Find: "More than one module answered: IDs 3, 9".
inline std::string ManyIdsText(const std::vector<std::string>& ids) {
    std::string text = "More than one module answered: IDs ";
    for (std::size_t i = 0; i < ids.size(); ++i)
        text += (i ? ", " : "") + ids[i];
    return text;
}

// A text the operator answers or acknowledges in a box: its source as the default interface
// shows it, with %1, %2, ... where values go (IDs and rates as typed, in the line's code page).
// The window may show a translation of the source, with the same values put in.
struct TMessage {
    TMessage(const char* source_) : source(source_) {}
    TMessage(const char* source_, std::vector<std::string> args_)
        : source(source_), args(std::move(args_)) {}
    // The default interface's text: the source with the values put in, each in one pass, so
    // that a value holding "%2" stays as typed.
    std::string Text() const;

    const char* source;
    std::vector<std::string> args;
};

// Confirmation questions of the module pages.
inline constexpr const char* kIdFindQuestion =
    "센서 ID를 찾습니다. 센서가 1개만 연결되어 있습니까?";
inline constexpr const char* kRestoreQuestion = "센서를 공장 출하 상태로 리셋하겠습니까?";
inline constexpr const char* kYawResetQuestion = "현재 Yaw각도를 0도로 하시겠습니까?";

inline TMessage IdChangeQuestion(const std::string& id, const std::string& newId) {
    return {"센서 ID를 %1에서 %2로 변경하시겠습니까?", {id, newId}};
}
inline TMessage BaudrateQuestion(const std::string& rate) {
    return {"센서 통신속도를 %1로 변경하시겠습니까?\r\n"
            "변경 후 프로그램의 통신속도를 센서와 같게 하세요.",
            {rate}};
}
inline TMessage ScaleQuestion(const std::string& scale) {
    return {"센서 Full Scale를 %1로 변경하시겠습니까?", {scale}};
}
inline TMessage IntervalQuestion(const std::string& interval) {
    return {"센서 출력 간격을 %1로 변경하시겠습니까?", {interval}};
}
inline TMessage ModeQuestion(const std::string& mode) {
    return {"센서 Mode를 %1로 변경하시겠습니까?", {mode}};
}

// Product checks after an ID search.
inline constexpr const char* kNotKuvarAc = "KUVAR-AC 제품이 아닙니다.";
inline constexpr const char* kNotKuvarGy = "KUVAR-GY 제품이 아닙니다.";

} // namespace kuvar::protocol
