// SPDX-License-Identifier: GPL-3.0-or-later
#include "serial/line_events.h"

namespace kuvar::serial {

std::uint32_t ErrorFlagsBetween(const TVaLineState& before, const TVaLineState& after) {
    if (!before.haveCounters || !after.haveCounters)
        return 0;
    std::uint32_t flags = 0;
    if (after.bufOverrun != before.bufOverrun)
        flags |= CE_RXOVER;
    if (after.overrun != before.overrun)
        flags |= CE_OVERRUN;
    if (after.parity != before.parity)
        flags |= CE_RXPARITY;
    if (after.frame != before.frame)
        flags |= CE_FRAME;
    if (after.brk != before.brk)
        flags |= CE_BREAK;
    return flags;
}

std::uint32_t DecodeLineEvents(std::uint32_t mask, bool readable, const TVaLineState& before,
                               const TVaLineState& after) {
    std::uint32_t bits = 0;
    if (readable)
        bits |= EV_RXCHAR;
    const std::uint32_t errors = ErrorFlagsBetween(before, after);
    if (errors & (CE_RXOVER | CE_OVERRUN | CE_RXPARITY | CE_FRAME))
        bits |= EV_ERR;
    if (errors & CE_RXPARITY)
        bits |= EV_PERR;
    if (errors & CE_BREAK)
        bits |= EV_BREAK;
    if (before.haveModem && after.haveModem) {
        if (before.cts != after.cts)
            bits |= EV_CTS;
        if (before.dsr != after.dsr)
            bits |= EV_DSR;
        if (before.rlsd != after.rlsd)
            bits |= EV_RLSD;
        // The ring indicator is reported on its trailing edge, as a ring ends.
        if (before.ring && !after.ring)
            bits |= EV_RING;
    }
    return bits & mask;
}

} // namespace kuvar::serial
