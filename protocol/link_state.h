// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kuvar::protocol {

// The link state of the window. The window owns one instance and hands it by reference to the
// framer, the dispatcher and the transactions; nested handlers share it on the UI thread.
struct LinkState {
    std::string LastFrame;       // last reply handed to the dispatcher, without checksum characters
    std::int32_t RxMode = 0;     // how the dispatcher reads the next replies (see RxModes)
    std::int32_t RetryCount = 0; // frames sent by the transaction that ran last
    std::string PendingAction;   // "AC_START", "AC_STOP", "GY_START" or "GY_STOP"
    bool StreamPaused = false;   // measurement frames of both modules are ignored while set
    bool SaveAcked = false;      // a reply containing "SAVE" arrived since the last SaveSetting
    std::string RxBuffer;        // bytes of the reply being received
    // The ID the last command went to, as sent ("0" asks every module); a query reply must come
    // from that module.
    std::string AddressedId;
    // The IDs that identity replies have named since the last ID Find began, each once.
    std::vector<std::string> IdsAnswered;
};

namespace RxModes {
inline constexpr std::int32_t LogOnly = 0;
inline constexpr std::int32_t AcStream = 3;
inline constexpr std::int32_t AcIdQuery = 5;
inline constexpr std::int32_t AcVersion = 6;
inline constexpr std::int32_t GyIdQuery = 7;
inline constexpr std::int32_t GyVersion = 8;
inline constexpr std::int32_t GyStream = 13;
} // namespace RxModes

} // namespace kuvar::protocol
