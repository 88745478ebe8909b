// SPDX-License-Identifier: GPL-3.0-or-later
// Decoding of line events from what the device reports (pure functions).
#pragma once

#include "serial/serial_backend.h"

#include <cstdint>

namespace kuvar::serial {

// CE_* flags for the counters that grew between two states.
std::uint32_t ErrorFlagsBetween(const TVaLineState& before, const TVaLineState& after);

// EV_* bits, limited to mask, of one wake-up of the event worker: received bytes, grown
// error counters, changed modem lines.
std::uint32_t DecodeLineEvents(std::uint32_t mask, bool readable, const TVaLineState& before,
                               const TVaLineState& after);

} // namespace kuvar::serial
