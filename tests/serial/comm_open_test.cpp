// SPDX-License-Identifier: GPL-3.0-or-later
// Opening, the failure messages, the change rules while open, and the settings as the other
// side of the pseudo-terminal sees them.
#include "pty_fixture.h"
#include "serial/posix_termios.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cstdio>
#include <termios.h>

namespace kuvar::serial::test {
namespace {

std::string MessageOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const EVaCommError& e) {
        return e.what();
    }
    return "(no error)";
}

TEST_F(CommTest, OpenRaisesOnOpenAndCloseOnClose) {
    std::vector<std::string> events;
    comm->OnOpen = [&](TVaCustomComm* s) {
        EXPECT_EQ(s, comm.get());
        EXPECT_TRUE(comm->Active()); // raised once the port is usable
        events.push_back("open");
    };
    comm->OnClose = [&](TVaCustomComm*) { events.push_back("close"); };
    comm->SetBaudrate(br57600);
    comm->Open();
    EXPECT_EQ(comm->EventMask(), 0x81u);
    comm->SetRts(true); // a pseudo-terminal has no modem lines: not an error
    comm->SetDtr(true);
    EXPECT_EQ(MessageOf([&] { comm->Open(); }), "Can't perform this operation while port is open");
    EXPECT_TRUE(comm->Active());
    comm->Close();
    comm->Close(); // closed: nothing, no event
    EXPECT_EQ(events, (std::vector<std::string>{"open", "close"}));
    comm->Open(); // released for the next user, ourselves included
    EXPECT_TRUE(comm->Active());
}

TEST_F(CommTest, AutoOpenOpensOnceTheSettingsAreLoaded) {
    comm->Loaded(); // AutoOpen off, as the window leaves it: nothing opens
    EXPECT_FALSE(comm->Active());
    comm->SetAutoOpen(true);
    comm->Loaded();
    EXPECT_TRUE(comm->Active());
}

TEST_F(CommTest, OpenFailuresNameTheDevice) {
    char regular[] = "/tmp/kuvar-serial-test-XXXXXX";
    const int fd = mkstemp(regular);
    ASSERT_GE(fd, 0);
    ::close(fd);
    const int holder = ::open(pty.Path().c_str(), O_RDWR | O_NOCTTY);
    ASSERT_EQ(flock(holder, LOCK_EX | LOCK_NB), 0); // another program holds the port

    struct Case {
        std::string path;
        int portNum;
        std::string expected;
    } cases[] = {
        // COM7 stands for /dev/ttyS6 here, and the message says so.
        {"", 7, "Specified device not found (\\\\.\\COM7, /dev/ttyS6)."},
        {"/dev/kuvar-no-such-device", 0, "Specified device not found (/dev/kuvar-no-such-device)."},
        {"/dev/null", 0,
         "Can't open specified device /dev/null (Error 25, Inappropriate ioctl for device)"},
        {regular, 0,
         std::string("Can't open specified device ") + regular +
             " (Error 25, Inappropriate ioctl for device)"},
        {pty.Path(), 0,
         "Can't open specified device " + pty.Path() + " (Error 16, Device or resource busy)"},
        // Terminals that are no port: opening the multiplexer would make a new terminal.
        {"/dev/ptmx", 0,
         "Can't open specified device /dev/ptmx (Error 25, Inappropriate ioctl for device)"},
        {"/dev/tty", 0,
         "Can't open specified device /dev/tty (Error 25, Inappropriate ioctl for device)"},
        {"/", 0, "Can't open specified device / (Error 25, Inappropriate ioctl for device)"},
    };
    bool raised = false;
    comm->OnOpen = comm->OnClose = [&](TVaCustomComm*) { raised = true; };
    for (const Case& c : cases) {
        comm->SetDevicePath(c.path);
        comm->SetPortNum(c.portNum);
        EXPECT_EQ(MessageOf([&] { comm->Open(); }), c.expected);
        EXPECT_FALSE(comm->Active());
    }
    EXPECT_FALSE(raised);
    ::close(holder);
    ::unlink(regular);
}

TEST_F(CommTest, RefusedSettersKeepTheirValueWhileOpen) {
    comm->Open();
    const std::string open = "Can't perform this operation while port is open";
    EXPECT_EQ(MessageOf([&] { comm->SetPortNum(comm->PortNum()); }), open); // equal too
    EXPECT_EQ(MessageOf([&] { comm->SetPortNum(5); }), open);
    EXPECT_EQ(comm->PortNum(), 0);
    EXPECT_EQ(MessageOf([&] { comm->SetDeviceName("x%d"); }), open);
    EXPECT_EQ(comm->DeviceName(), "\\\\.\\COM%d");
    EXPECT_EQ(MessageOf([&] { comm->SetDevicePath("/dev/null"); }), open);
    EXPECT_EQ(comm->DevicePath(), pty.Path());
    EXPECT_EQ(MessageOf([&] { comm->SetMonitorEvents({}); }), open);
    EXPECT_EQ(MessageOf([&] { comm->SetDirectWrite(true); }), open);
    EXPECT_FALSE(comm->DirectWrite());
    EXPECT_EQ(MessageOf([&] { comm->SetUpdateDCB(false); }), open);
    EXPECT_TRUE(comm->UpdateDCB());

    TVaBuffers other;
    other.SetWriteSize(10);
    EXPECT_EQ(MessageOf([&] { comm->SetBuffers(other); }), open);
    EXPECT_EQ(comm->Buffers().WriteSize(), 2048); // refused before anything was copied
    // A size changed in place is kept for the next Open, and still reported.
    EXPECT_EQ(MessageOf([&] { comm->Buffers().SetReadSize(8192); }), open);
    EXPECT_EQ(comm->Buffers().ReadSize(), 8192);
    comm->Buffers().SetReadTimeout(5); // plain value: allowed
    EXPECT_TRUE(comm->Active());
}

TEST_F(CommTest, LineModeRulesOfDtrAndRts) {
    comm->FlowControl().SetControlRts(rtsToggle);
    EXPECT_EQ(MessageOf([&] { comm->SetRts(true); }),
              "RTS line updates not allowed when flowcontrol is set to Handshake or Toggle.");
    comm->FlowControl().SetControlRts(rtsHandshake);
    EXPECT_EQ(MessageOf([&] { comm->SetRts(false); }),
              "RTS line updates not allowed when flowcontrol is set to Handshake or Toggle.");
    comm->FlowControl().SetControlDtr(dtrHandshake);
    EXPECT_EQ(MessageOf([&] { comm->SetDtr(true); }),
              "DTR line updates not allowed when flowcontrol is set to Handshake.");
    comm->FlowControl().SetControlRts(rtsDisabled);
    comm->FlowControl().SetControlDtr(dtrDisabled);
    comm->SetDtr(true); // closed: nothing happens
    comm->SetRts(true);
}

TEST_F(CommTest, RatesReachTheDevice) {
    comm->Open();
    struct Case {
        TVaBaudrate code;
        std::int32_t user;
        std::uint32_t expected;
    } cases[] = {
        {br110, 0, 110},        {br9600, 0, 9600},     {br14400, 0, 14400},
        {br56000, 0, 56000},    {br57600, 0, 57600},   {br115200, 0, 115200},
        {br128000, 0, 128000},  {br256000, 0, 256000}, {brUser, 250000, 250000},
        {brUser, 31250, 31250},
    };
    for (const Case& c : cases) {
        if (c.code == brUser)
            comm->SetUserBaudrate(c.user);
        else
            comm->SetBaudrate(c.code); // rewritten at once while open
        TVaLinuxTermios t;
        ASSERT_EQ(ReadLinuxTermios(pty.Master(), t), 0);
        EXPECT_EQ(t.ospeed, c.expected);
        EXPECT_EQ(t.ispeed, c.expected);
        EXPECT_EQ(comm->Baudrate(), c.code);
    }
    comm->SetBaudrate(br9600);
    EXPECT_EQ(comm->UserBaudrate(), 0);
}

TEST_F(CommTest, FlowControlAndCharactersReachTheDevice) {
    comm->Open();
    TVaLinuxTermios t;
    ASSERT_EQ(ReadLinuxTermios(pty.Master(), t), 0);
    EXPECT_FALSE(t.cflag & CRTSCTS);
    EXPECT_EQ(t.iflag & (IXON | IXOFF | ICRNL | ISTRIP), 0u);
    EXPECT_EQ(t.lflag & (ICANON | ECHO | ISIG), 0u);

    TVaFlowControl flow;
    flow.SetOutCtsFlow(true);
    flow.SetXonXoffOut(true);
    flow.SetXonXoffIn(true);
    comm->SetFlowControl(flow);
    comm->EventChars().SetXonChar(0x11 + 1);
    comm->EventChars().SetXoffChar(0x13 + 1);
    comm->EventChars().SetEofChar(26);
    ASSERT_EQ(ReadLinuxTermios(pty.Master(), t), 0);
    EXPECT_TRUE(t.cflag & CRTSCTS);
    EXPECT_EQ(t.iflag & (IXON | IXOFF), tcflag_t(IXON | IXOFF));
    EXPECT_EQ(t.cc[LinuxCcIndexStart()], 0x12);
    EXPECT_EQ(t.cc[LinuxCcIndexStop()], 0x14);
    EXPECT_EQ(t.cc[LinuxCcIndexEof()], 26);
    EXPECT_EQ(comm->EventChars().EofChar(), 26);
    // Stop bits survive on a pseudo-terminal (its size and parity bits are forced to 8N).
    comm->SetStopbits(sb2);
    ASSERT_EQ(ReadLinuxTermios(pty.Master(), t), 0);
    EXPECT_TRUE(t.cflag & CSTOPB);
}

TEST_F(CommTest, RefusedSettingsRaiseTheDcbError) {
    // Rate 0 is refused: Open fails with the error and leaves the port closed.
    comm->SetBaudrate(brUser);
    EXPECT_EQ(MessageOf([&] { comm->Open(); }), "Error writing dcb (22), Invalid argument");
    EXPECT_FALSE(comm->Active());
    comm->SetBaudrate(br9600);
    comm->Open();
    // While open the property keeps its new value and the port stays open.
    EXPECT_EQ(MessageOf([&] { comm->SetDatabits(db4); }),
              "Error writing dcb (22), Invalid argument");
    EXPECT_EQ(comm->Databits(), db4);
    EXPECT_TRUE(comm->Active());
    // UpdateDCB off never writes a block, so nothing is refused.
    comm->Close();
    comm->SetUpdateDCB(false);
    comm->Open();
    comm->SetDatabits(db4);
}

TEST_F(CommTest, RateTheDeviceRefuses) {
    UseFaults();
    faults->plan.refusedRate = 128000;
    comm->Open();
    EXPECT_EQ(MessageOf([&] { comm->SetBaudrate(br128000); }),
              "Error writing dcb (22), Invalid argument");
    EXPECT_EQ(comm->Baudrate(), br128000);
    comm->SetBaudrate(br9600);
    TVaLinuxTermios t;
    ASSERT_EQ(ReadLinuxTermios(pty.Master(), t), 0);
    EXPECT_EQ(t.ospeed, 9600u);
}

TEST_F(CommTest, OpenHandlerExceptionGoesToTheApplication) {
    comm->OnOpen = [](TVaCustomComm*) { throw std::runtime_error("on.bmp missing"); };
    comm->Open();
    EXPECT_TRUE(comm->Active());
    EXPECT_EQ(appErrors, (std::vector<std::string>{"on.bmp missing"}));
    comm->OnClose = [](TVaCustomComm*) { throw std::runtime_error("off.bmp missing"); };
    EXPECT_THROW(comm->Close(), std::runtime_error);
    EXPECT_FALSE(comm->Active()); // already closed
}

TEST_F(CommTest, NoEventWorkerForAnEmptyMask) {
    comm->SetMonitorEvents({ceTxEmpty});
    int rx = 0;
    comm->OnRxChar = [&](TVaCustomComm*, int) { ++rx; };
    comm->Open();
    EXPECT_EQ(comm->EventMask(), 0u);
    pty.Send("abc");
    ui->PumpFor(100ms);
    EXPECT_EQ(rx, 0);
    EXPECT_EQ(comm->ReadText(), "abc");
}

} // namespace
} // namespace kuvar::serial::test
