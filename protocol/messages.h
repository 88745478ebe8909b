// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kuvar::protocol {

// Texts the operator sees. The Korean ones are UTF-8; the window shows them as they are.
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

// Confirmation questions of the module pages.
inline constexpr const char* kIdFindQuestion =
    "센서 ID를 찾습니다. 센서가 1개만 연결되어 있습니까?";
inline constexpr const char* kRestoreQuestion = "센서를 공장 출하 상태로 리셋하겠습니까?";
inline constexpr const char* kYawResetQuestion = "현재 Yaw각도를 0도로 하시겠습니까?";

inline std::string IdChangeQuestion(const std::string& id, const std::string& newId) {
    return "센서 ID를 " + id + "에서 " + newId + "로 변경하시겠습니까?";
}
inline std::string BaudrateQuestion(const std::string& rate) {
    return "센서 통신속도를 " + rate + "로 변경하시겠습니까?\r\n" +
           "변경 후 프로그램의 통신속도를 센서와 같게 하세요.";
}
inline std::string ScaleQuestion(const std::string& scale) {
    return "센서 Full Scale를 " + scale + "로 변경하시겠습니까?";
}
inline std::string IntervalQuestion(const std::string& interval) {
    return "센서 출력 간격을 " + interval + "로 변경하시겠습니까?";
}
inline std::string ModeQuestion(const std::string& mode) {
    return "센서 Mode를 " + mode + "로 변경하시겠습니까?";
}

// Product checks after an ID search.
inline constexpr const char* kNotKuvarAc = "KUVAR-AC 제품이 아닙니다.";
inline constexpr const char* kNotKuvarGy = "KUVAR-GY 제품이 아닙니다.";

} // namespace kuvar::protocol
