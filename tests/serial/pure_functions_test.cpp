// SPDX-License-Identifier: GPL-3.0-or-later
// Tables for the pure parts: message and name formatting, the control block, the termios
// mapping, event decoding, the transmit queue and the settings objects' change reports.
#include "serial/line_events.h"
#include "serial/posix_termios.h"
#include "serial/va_comm_buffer.h"
#include "serial/va_dcb.h"
#include "serial/va_format.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <termios.h>

namespace kuvar::serial {
namespace {

TEST(FormatCommMessage, PutsArgumentsInOrder) {
    struct Case {
        const char* pattern;
        std::vector<TVaFormatArg> args;
        const char* expected;
    } cases[] = {
        {"Error writing dcb (%d), %s",
         {22LL, std::string("Invalid argument")},
         "Error writing dcb (22), Invalid argument"},
        {" Error setting EventMask (%d), %s",
         {5LL, std::string("x")},
         " Error setting EventMask (5), x"},
        {"Output buffer is full. Please check comm status.",
         {1LL, std::string("y")},
         "Output buffer is full. Please check comm status."},
        {"Specified device not found (%s).",
         {std::string("\\\\.\\COM7")},
         "Specified device not found (\\\\.\\COM7)."},
        // A percent sign in an inserted name stays as it is.
        {"Can't open specified device %s",
         {std::string("/dev/%d%s")},
         "Can't open specified device /dev/%d%s"},
        {"100%% %d %s", {}, "100% %d %s"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatCommMessage(c.pattern, c.args), c.expected) << c.pattern;
}

TEST(PortNames, PatternAndDeviceFile) {
    EXPECT_EQ(FormatPortName("\\\\.\\COM%d", 3), "\\\\.\\COM3");
    EXPECT_EQ(FormatPortName("\\\\.\\COM%d", 12), "\\\\.\\COM12");
    EXPECT_EQ(FormatPortName("%s%n%d", 4), "%s%n4"); // never handed to printf
    EXPECT_EQ(FormatPortName("plain", 4), "plain");

    struct Case {
        const char* name;
        const char* file;
    } cases[] = {
        {"\\\\.\\COM1", "/dev/ttyS0"},
        {"\\\\.\\COM12", "/dev/ttyS11"},
        {"\\\\.\\COM0", ""},
        {"/dev/ttyUSB0", "/dev/ttyUSB0"},
        {"\\\\.\\COMx", "\\\\.\\COMx"},
        {"/run/user/0/kuvar-sim/ac", "/run/user/0/kuvar-sim/ac"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PosixDeviceFile(c.name), c.file) << c.name;
    EXPECT_EQ(TrimErrorText("No such file or directory.\r\n"), "No such file or directory");
}

TEST(Dcb, DefaultsGiveTheSystemsBlock) {
    TVaLineSettings line;
    line.baudrate = br57600;
    TVaFlowControl flow;
    TVaEventChars chars;
    TVaBuffers buffers;
    const TVaDcb d = BuildDcb(line, flow, chars, buffers);
    EXPECT_EQ(d.DCBlength, 28u);
    EXPECT_EQ(d.BaudRate, 57600u);
    EXPECT_EQ(d.Flags(), 0x1u);
    EXPECT_EQ(d.XonLim, 1024);
    EXPECT_EQ(d.XoffLim, 1024);
    EXPECT_EQ(d.ByteSize, 8);
    EXPECT_EQ(d.Parity, 0);
    EXPECT_EQ(d.StopBits, 0);
    EXPECT_EQ(d.XonChar, 17);
    EXPECT_EQ(d.XoffChar, 19);
    EXPECT_EQ(d.EofChar, 0);

    line.baudrate = brUser;
    line.userBaudrate = 250000;
    buffers.SetXonLimit(0x12345);
    flow.SetControlRts(rtsToggle);
    chars.SetEofChar(26);
    const TVaDcb u = BuildDcb(line, flow, chars, buffers);
    EXPECT_EQ(u.BaudRate, 250000u);
    EXPECT_EQ(u.XonLim, 0x2345);
    EXPECT_EQ(u.fRtsControl, 3);
    EXPECT_EQ(u.EofChar, 26);
}

TEST(Dcb, RateCodes) {
    const std::uint32_t rates[] = {0,     110,   300,   600,   1200,  2400,   4800,   9600,
                                   14400, 19200, 38400, 56000, 57600, 115200, 128000, 256000};
    for (int code = brUser; code <= br256000; ++code)
        EXPECT_EQ(BaudrateValue(static_cast<TVaBaudrate>(code)), rates[code]) << code;
}

TEST(Dcb, EventMask) {
    EXPECT_EQ(EventMaskOf({ceError, ceRxChar, ceTxEmpty}, false), 0x81u);
    EXPECT_EQ(EventMaskOf({ceError, ceRxChar, ceTxEmpty}, true), 0x85u);
    EXPECT_EQ(EventMaskOf({ceTxEmpty}, false), 0u);
    EXPECT_EQ(EventMaskOf({}, true), 0u);
    EXPECT_EQ(EventMaskOf({ceBreak, ceCts, ceDsr, ceRing, ceRlsd, ceRxFlag, cePErr, ceRx80Full,
                           ceEvent1, ceEvent2},
                          false),
              0x1F7Au);
}

TEST(LinuxTermios, FramingAndFlowFlags) {
    struct Case {
        std::uint8_t byteSize, parity, stopBits;
        tcflag_t cflagBits; // CSIZE, PARENB, PARODD, CMSPAR, CSTOPB part
    } cases[] = {
        {8, 0, 0, CS8},
        {7, 1, 0, CS7 | PARENB | PARODD},
        {7, 2, 2, CS7 | PARENB | CSTOPB},
        {8, 3, 0, CS8 | PARENB | PARODD | CMSPAR},
        {6, 4, 0, CS6 | PARENB | CMSPAR},
        {5, 0, 1, CS5 | CSTOPB}, // 1.5 stop bits: CSTOPB with 5 data bits
    };
    const tcflag_t framing = CSIZE | PARENB | PARODD | CMSPAR | CSTOPB;
    for (const Case& c : cases) {
        TVaDcb d;
        d.BaudRate = 9600;
        d.ByteSize = c.byteSize;
        d.Parity = c.parity;
        d.StopBits = c.stopBits;
        TVaLinuxTermios t;
        ASSERT_EQ(LinuxTermiosFromDcb(d, t), 0);
        EXPECT_EQ(t.cflag & framing, c.cflagBits) << int(c.byteSize) << int(c.parity);
        EXPECT_TRUE(t.cflag & CREAD);
        EXPECT_EQ(t.cflag & LinuxFlagCbaud(), LinuxFlagBother());
        EXPECT_EQ(t.ospeed, 9600u);
        EXPECT_EQ(t.lflag, 0u); // raw: no echo, no line editing, no signals
        EXPECT_EQ(t.oflag, 0u);
        EXPECT_EQ(t.cc[LinuxCcIndexMin()], 0);
        EXPECT_EQ(t.cc[LinuxCcIndexTime()], 0);
    }

    TVaDcb d;
    d.BaudRate = 9600;
    d.fOutxCtsFlow = true;
    d.fOutX = true;
    d.fInX = true;
    d.fParity = true;
    TVaLinuxTermios t;
    ASSERT_EQ(LinuxTermiosFromDcb(d, t), 0);
    EXPECT_TRUE(t.cflag & CRTSCTS);
    EXPECT_EQ(t.iflag, tcflag_t(IXON | IXOFF | INPCK));
}

TEST(LinuxTermios, RefusesWhatTheDriverCannotDo) {
    auto refused = [](auto change) {
        TVaDcb d;
        d.BaudRate = 9600;
        change(d);
        TVaLinuxTermios t;
        return LinuxTermiosFromDcb(d, t) == EINVAL;
    };
    EXPECT_TRUE(refused([](TVaDcb& d) { d.BaudRate = 0; }));
    EXPECT_TRUE(refused([](TVaDcb& d) { d.ByteSize = 4; }));
    EXPECT_TRUE(refused([](TVaDcb& d) { d.StopBits = 1; })); // 1.5 with 8 bits
    EXPECT_TRUE(refused([](TVaDcb& d) { d.fOutxDsrFlow = true; }));
    EXPECT_TRUE(refused([](TVaDcb& d) { d.fDtrControl = 2; }));
    EXPECT_TRUE(refused([](TVaDcb& d) { d.fRtsControl = 3; }));
    EXPECT_TRUE(refused([](TVaDcb& d) { d.fNull = true; }));
    EXPECT_TRUE(refused([](TVaDcb& d) {
        d.fErrorChar = true;
        d.ErrorChar = '?';
    }));
    EXPECT_FALSE(refused([](TVaDcb& d) { d.fRtsControl = 2; }));
}

TEST(LineEvents, Decoding) {
    TVaLineState a, b;
    a.haveCounters = b.haveCounters = true;
    a.haveModem = b.haveModem = true;
    const std::uint32_t all = 0xFFFFFFFF;
    EXPECT_EQ(DecodeLineEvents(all, true, a, b), EV_RXCHAR);
    EXPECT_EQ(DecodeLineEvents(0x81, false, a, b), 0u);
    b.parity = 1;
    EXPECT_EQ(DecodeLineEvents(all, true, a, b), EV_RXCHAR | EV_ERR | EV_PERR);
    EXPECT_EQ(DecodeLineEvents(0x81, true, a, b), EV_RXCHAR | EV_ERR);
    EXPECT_EQ(ErrorFlagsBetween(a, b), CE_RXPARITY);
    b = a;
    b.brk = 2;
    b.cts = true;
    a.ring = true;
    EXPECT_EQ(DecodeLineEvents(all, false, a, b), EV_BREAK | EV_CTS | EV_RING);
    EXPECT_EQ(ErrorFlagsBetween(a, b), CE_BREAK);
    b.haveCounters = false; // a device without counters reports no errors
    EXPECT_EQ(ErrorFlagsBetween(a, b), 0u);
}

TEST(CommBuffer, AppendsBehindAndCompactsTheFront) {
    TVaCommBuffer q(8);
    EXPECT_TRUE(q.Append("abcdef", 6));
    EXPECT_FALSE(q.Append("xyz", 3)); // nothing of it copied
    EXPECT_EQ(q.Fill(), 6u);
    q.Remove(4);
    EXPECT_EQ(std::string(q.Data(), q.Fill()), "ef");
    EXPECT_TRUE(q.Append("ghijkl", 6));
    EXPECT_EQ(std::string(q.Data(), q.Fill()), "efghijkl");
    EXPECT_TRUE(q.Append("", 0));
    q.Remove(100);
    EXPECT_EQ(q.Fill(), 0u);
}

TEST(Settings, ChangeReports) {
    int reports = 0;
    TVaFlowControl flow;
    flow.SetOnChange([&] { ++reports; });
    flow.SetOutCtsFlow(false); // equal: nothing
    EXPECT_EQ(reports, 0);
    flow.SetXonXoffIn(true);
    EXPECT_EQ(reports, 1);
    TVaFlowControl other;
    other.SetOutCtsFlow(true);
    other.SetControlDtr(dtrEnabled);
    flow.Assign(other); // one report for the whole copy
    EXPECT_EQ(reports, 2);
    EXPECT_TRUE(flow.OutCtsFlow());
    EXPECT_FALSE(flow.XonXoffIn());

    int charReports = 0;
    TVaEventChars chars;
    chars.SetOnChange([&] { ++charReports; });
    chars.SetEofChar(0); // characters report every write
    chars.SetEofChar(26);
    EXPECT_EQ(charReports, 2);
    EXPECT_EQ(chars.EofChar(), 26);

    int bufferReports = 0;
    TVaBuffers buffers;
    buffers.SetOnChange([&] { ++bufferReports; });
    buffers.SetReadTimeout(5); // plain value
    buffers.BeginUpdate();
    buffers.SetReadSize(100);
    buffers.SetWriteSize(200);
    EXPECT_EQ(bufferReports, 0);
    buffers.EndUpdate();
    EXPECT_EQ(bufferReports, 1);
    buffers.EndUpdate(); // not below zero, still reports
    EXPECT_EQ(bufferReports, 2);
}

} // namespace
} // namespace kuvar::serial
