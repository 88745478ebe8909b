// SPDX-License-Identifier: GPL-3.0-or-later
// The device control block: the line settings as one value handed to the back end, and the
// event mask computed at open (pure functions).
#pragma once

#include "serial/va_settings.h"
#include "serial/va_types.h"

#include <cstdint>

namespace kuvar::serial {

// Field for field the block a device takes; the back end maps it onto the driver.
struct TVaDcb {
    std::uint32_t DCBlength = 28;
    std::uint32_t BaudRate = 0;
    bool fBinary = true;
    bool fParity = false;
    bool fOutxCtsFlow = false;
    bool fOutxDsrFlow = false;
    std::uint8_t fDtrControl = 0;
    bool fDsrSensitivity = false;
    bool fTXContinueOnXoff = false;
    bool fOutX = false;
    bool fInX = false;
    bool fErrorChar = false;
    bool fNull = false;
    std::uint8_t fRtsControl = 0;
    bool fAbortOnError = false;
    std::uint16_t XonLim = 0;
    std::uint16_t XoffLim = 0;
    std::uint8_t ByteSize = 8;
    std::uint8_t Parity = 0;   // 0..4: none, odd, even, mark, space
    std::uint8_t StopBits = 0; // 0..2: one, one and a half, two
    char XonChar = 0;
    char XoffChar = 0;
    char ErrorChar = 0;
    char EofChar = 0;
    char EvtChar = 0;

    // The flag word of the block: fBinary is bit 0, fParity bit 1, ... fAbortOnError bit 14.
    std::uint32_t Flags() const;
    friend bool operator==(const TVaDcb&, const TVaDcb&) = default;
};

// Bit/s of a rate code; brUser gives 0 (the user's rate is taken instead).
std::uint32_t BaudrateValue(TVaBaudrate rate);

struct TVaLineSettings {
    TVaBaudrate baudrate = br1200;
    std::uint32_t userBaudrate = 0;
    TVaParity parity = paNone;
    TVaDatabits databits = db8;
    TVaStopbits stopbits = sb1;
    TVaCommOptions options;
};

TVaDcb BuildDcb(const TVaLineSettings& line, const TVaFlowControl& flow, const TVaEventChars& chars,
                const TVaBuffers& buffers);

std::uint32_t EventBit(TVaCommEvent e);
// In queued mode the write worker reports OnTxEmpty itself, so EV_TXEMPTY is not watched.
std::uint32_t EventMaskOf(TVaCommEvents events, bool directWrite);

} // namespace kuvar::serial
