// SPDX-License-Identifier: GPL-3.0-or-later
// Enumerations, sets, event and error bits and the exception of the serial component.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <stdexcept>
#include <string>

namespace kuvar::serial {

// Each enumeration keeps its ordinals: they are stored in settings and mapped by position.
enum TVaBaudrate : std::uint8_t {
    brUser,
    br110,
    br300,
    br600,
    br1200,
    br2400,
    br4800,
    br9600,
    br14400,
    br19200,
    br38400,
    br56000,
    br57600,
    br115200,
    br128000,
    br256000
};
enum TVaParity : std::uint8_t { paNone, paOdd, paEven, paMark, paSpace };
enum TVaDatabits : std::uint8_t { db4, db5, db6, db7, db8 };
enum TVaStopbits : std::uint8_t { sb1, sb15, sb2 };
enum TVaControlDtr : std::uint8_t { dtrDisabled, dtrEnabled, dtrHandshake };
enum TVaControlRts : std::uint8_t { rtsDisabled, rtsEnabled, rtsHandshake, rtsToggle };
enum TVaCommOption : std::uint8_t { coErrorChar, coNullStrip, coParityCheck };
enum TVaCommEvent : std::uint8_t {
    ceBreak,
    ceCts,
    ceDsr,
    ceError,
    ceRing,
    ceRlsd,
    ceRxChar,
    ceTxEmpty,
    ceRxFlag,
    cePErr,
    ceRx80Full,
    ceEvent1,
    ceEvent2
};
enum TThreadPriority : std::uint8_t {
    tpIdle,
    tpLowest,
    tpLower,
    tpNormal,
    tpHigher,
    tpHighest,
    tpTimeCritical
};

// A set of an enumeration, bit n standing for value n.
template <typename E, typename Bits> class TVaSet {
public:
    constexpr TVaSet() = default;
    constexpr TVaSet(std::initializer_list<E> values) {
        for (E v : values)
            bits_ |= Bit(v);
    }
    static constexpr TVaSet FromBits(Bits bits) {
        TVaSet s;
        s.bits_ = bits;
        return s;
    }
    constexpr bool Contains(E v) const { return (bits_ & Bit(v)) != 0; }
    constexpr TVaSet& Include(E v) {
        bits_ |= Bit(v);
        return *this;
    }
    constexpr TVaSet& Exclude(E v) {
        bits_ &= static_cast<Bits>(~Bit(v));
        return *this;
    }
    constexpr bool Empty() const { return bits_ == 0; }
    constexpr Bits ToBits() const { return bits_; }
    friend constexpr bool operator==(TVaSet, TVaSet) = default;

private:
    static constexpr Bits Bit(E v) { return static_cast<Bits>(Bits{1} << static_cast<int>(v)); }
    Bits bits_ = 0;
};

using TVaCommOptions = TVaSet<TVaCommOption, std::uint8_t>;
using TVaCommEvents = TVaSet<TVaCommEvent, std::uint16_t>;

// Line event bits, as a batch of events is reported to the UI thread.
inline constexpr std::uint32_t EV_RXCHAR = 0x1;
inline constexpr std::uint32_t EV_RXFLAG = 0x2;
inline constexpr std::uint32_t EV_TXEMPTY = 0x4;
inline constexpr std::uint32_t EV_CTS = 0x8;
inline constexpr std::uint32_t EV_DSR = 0x10;
inline constexpr std::uint32_t EV_RLSD = 0x20;
inline constexpr std::uint32_t EV_BREAK = 0x40;
inline constexpr std::uint32_t EV_ERR = 0x80;
inline constexpr std::uint32_t EV_RING = 0x100;
inline constexpr std::uint32_t EV_PERR = 0x200;
inline constexpr std::uint32_t EV_RX80FULL = 0x400;
inline constexpr std::uint32_t EV_EVENT1 = 0x800;
inline constexpr std::uint32_t EV_EVENT2 = 0x1000;

// Error flags handed to OnError.
inline constexpr std::uint32_t CE_RXOVER = 0x1;
inline constexpr std::uint32_t CE_OVERRUN = 0x2;
inline constexpr std::uint32_t CE_RXPARITY = 0x4;
inline constexpr std::uint32_t CE_FRAME = 0x8;
inline constexpr std::uint32_t CE_BREAK = 0x10;
// The device went away while open (hang-up, EIO); OnError carries it once per open port.
inline constexpr std::uint32_t CE_IOE = 0x400;

// Status of the line as a status query returns it.
struct TVaComStat {
    std::uint32_t cbInQue = 0;
    std::uint32_t cbOutQue = 0;
    bool fCtsHold = false;
    bool fDsrHold = false;
};

class EVaCommError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace kuvar::serial
