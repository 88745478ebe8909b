// SPDX-License-Identifier: GPL-3.0-or-later
#include "serial/va_dcb.h"

namespace kuvar::serial {

std::uint32_t TVaDcb::Flags() const {
    std::uint32_t f = 0;
    f |= std::uint32_t(fBinary) << 0;
    f |= std::uint32_t(fParity) << 1;
    f |= std::uint32_t(fOutxCtsFlow) << 2;
    f |= std::uint32_t(fOutxDsrFlow) << 3;
    f |= std::uint32_t(fDtrControl & 3) << 4;
    f |= std::uint32_t(fDsrSensitivity) << 6;
    f |= std::uint32_t(fTXContinueOnXoff) << 7;
    f |= std::uint32_t(fOutX) << 8;
    f |= std::uint32_t(fInX) << 9;
    f |= std::uint32_t(fErrorChar) << 10;
    f |= std::uint32_t(fNull) << 11;
    f |= std::uint32_t(fRtsControl & 3) << 12;
    f |= std::uint32_t(fAbortOnError) << 14;
    return f;
}

std::uint32_t BaudrateValue(TVaBaudrate rate) {
    static constexpr std::uint32_t kRates[] = {0,     110,    300,    600,   1200,  2400,
                                               4800,  9600,   14400,  19200, 38400, 56000,
                                               57600, 115200, 128000, 256000};
    const auto i = static_cast<std::size_t>(rate);
    return i < std::size(kRates) ? kRates[i] : 0;
}

TVaDcb BuildDcb(const TVaLineSettings& line, const TVaFlowControl& flow, const TVaEventChars& chars,
                const TVaBuffers& buffers) {
    TVaDcb d;
    d.BaudRate = line.baudrate == brUser ? line.userBaudrate : BaudrateValue(line.baudrate);
    d.fBinary = true;
    d.fParity = line.options.Contains(coParityCheck);
    d.fOutxCtsFlow = flow.OutCtsFlow();
    d.fOutxDsrFlow = flow.OutDsrFlow();
    d.fDtrControl = static_cast<std::uint8_t>(flow.ControlDtr());
    d.fDsrSensitivity = flow.DsrSensitivity();
    d.fTXContinueOnXoff = flow.TxContinueOnXoff();
    d.fOutX = flow.XonXoffOut();
    d.fInX = flow.XonXoffIn();
    d.fErrorChar = line.options.Contains(coErrorChar);
    d.fNull = line.options.Contains(coNullStrip);
    d.fRtsControl = static_cast<std::uint8_t>(flow.ControlRts());
    d.fAbortOnError = false;
    d.XonLim = static_cast<std::uint16_t>(buffers.XonLimit() & 0xFFFF);
    d.XoffLim = static_cast<std::uint16_t>(buffers.XoffLimit() & 0xFFFF);
    d.ByteSize = static_cast<std::uint8_t>(4 + static_cast<int>(line.databits));
    d.Parity = static_cast<std::uint8_t>(line.parity);
    d.StopBits = static_cast<std::uint8_t>(line.stopbits);
    d.XonChar = chars.XonChar();
    d.XoffChar = chars.XoffChar();
    d.ErrorChar = chars.ErrorChar();
    d.EofChar = chars.EofChar();
    d.EvtChar = chars.EventChar();
    return d;
}

std::uint32_t EventBit(TVaCommEvent e) {
    switch (e) {
    case ceBreak:
        return EV_BREAK;
    case ceCts:
        return EV_CTS;
    case ceDsr:
        return EV_DSR;
    case ceError:
        return EV_ERR;
    case ceRing:
        return EV_RING;
    case ceRlsd:
        return EV_RLSD;
    case ceRxChar:
        return EV_RXCHAR;
    case ceTxEmpty:
        return EV_TXEMPTY;
    case ceRxFlag:
        return EV_RXFLAG;
    case cePErr:
        return EV_PERR;
    case ceRx80Full:
        return EV_RX80FULL;
    case ceEvent1:
        return EV_EVENT1;
    case ceEvent2:
        return EV_EVENT2;
    }
    return 0;
}

std::uint32_t EventMaskOf(TVaCommEvents events, bool directWrite) {
    std::uint32_t mask = 0;
    for (int e = ceBreak; e <= ceEvent2; ++e)
        if (events.Contains(static_cast<TVaCommEvent>(e)))
            mask |= EventBit(static_cast<TVaCommEvent>(e));
    if (!directWrite)
        mask &= ~EV_TXEMPTY;
    return mask;
}

} // namespace kuvar::serial
