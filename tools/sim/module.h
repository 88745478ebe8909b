// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/sim/command_frame.h"
#include "tools/sim/measurement_frame.h"
#include "tools/sim/sim_config.h"
#include "tools/sim/sim_random.h"

#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace kuvar::sim {

// A frame whose last byte has left the module's transmitter.
struct SentFrame {
    SimTime at;       // when its last byte was on the line
    std::string text; // without framing and checksum
    bool measurement = false;
    Reading values{};     // the readings of a measurement frame
    bool garbled = false; // the host listened at another rate
};

struct ModuleOutput {
    std::string bytes;
    std::vector<SentFrame> frames;
};

// One simulated KUVAR-AC or KUVAR-GY module with its serial line. Time is driven from outside:
// the program passes the monotonic clock, tests any time they like. Bytes leave at the module's
// rate (8N1, ten bits a byte) and are delivered by TakeOutput once they have been on the line.
class SimModule {
public:
    SimModule(const SimConfig& config, SimTime now);

    // The rate the host side has set on its end of the line. When it is not the module's rate,
    // the module hears nothing and its bytes reach the host as garbage.
    void SetHostBaud(int baud);
    void AdvanceTo(SimTime now);
    void Receive(SimTime now, std::string_view bytes);
    ModuleOutput TakeOutput();

    // The next time something happens on its own (a byte done, a frame due, the hang-up).
    std::optional<SimTime> NextEventTime() const;

    bool HungUp() const { return hungUp_; }
    bool Streaming() const { return streaming_; }
    const ModuleSettings& Settings() const { return settings_; }
    const ModuleSettings& Stored() const { return stored_; }
    ModuleKind Kind() const { return config_.kind; }
    SimTime Now() const { return now_; }
    std::uint64_t MeasurementFramesSent() const { return measurementsSent_; }
    std::uint64_t FramesDropped() const { return framesDropped_; }

    // Called with the settings whenever SAVE or RESTORE stores them.
    void SetStoreHandler(std::function<void(const ModuleSettings&)> handler) {
        onStore_ = std::move(handler);
    }

private:
    struct LineByte {
        SimTime doneAt;
        char byte;
        int baud;
        bool endsFrame; // the last byte of the front frame of pending_
    };

    void Execute(const Command& command);
    void Reply(const std::string& text);
    void EmitFrame(SimTime at, SentFrame frame);
    void EmitMeasurement(SimTime at);
    SimTime StreamPeriod() const;
    SimTime NextFrameTime() const;
    void Store(const ModuleSettings& settings);
    void CheckHangup();

    SimConfig config_;
    ModuleSettings settings_;
    ModuleSettings stored_;
    SimTime powerUp_;
    SimTime now_;
    int hostBaud_;
    bool streaming_ = false;
    bool hungUp_ = false;
    SimTime nextFrameAt_{};
    double yawZero_ = 0;
    std::string rxBuffer_;
    std::deque<LineByte> line_;
    SimTime wireFreeAt_{};
    std::deque<SentFrame> pending_; // frames on the line, oldest first
    double garbageCredit_ = 0;
    SimRandom noise_;
    SimRandom faultRandom_;
    SimRandom lineRandom_;
    std::uint64_t measurementsSent_ = 0;
    std::uint64_t framesDropped_ = 0;
    std::function<void(const ModuleSettings&)> onStore_;
};

} // namespace kuvar::sim
