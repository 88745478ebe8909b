// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/sim/module.h"

#include "tools/sim/checksum.h"
#include "tools/sim/motion_model.h"

#include <algorithm>
#include <cmath>

namespace kuvar::sim {
namespace {

using namespace std::chrono_literals;

constexpr std::size_t kRxLimit = 256; // a longer line without CR is noise, not a command
constexpr char kStx = 0x02, kEtb = 0x17;

SimTime ByteTime(int baud) {
    return SimTime(10'000'000'000LL / baud);
}

double Seconds(SimTime t) {
    return std::chrono::duration<double>(t).count();
}

int Clamp(int value, int limit) {
    return std::clamp(value, -limit, limit);
}

} // namespace

SimConfig DefaultConfig(ModuleKind kind) {
    SimConfig config;
    config.kind = kind;
    config.settings = config.stored = FactorySettings(kind);
    return config;
}

SimModule::SimModule(const SimConfig& config, SimTime now)
    : config_(config), settings_(config.settings), stored_(config.stored), powerUp_(now), now_(now),
      hostBaud_(config.settings.baud), wireFreeAt_(now), noise_(config.seed),
      faultRandom_(config.seed ^ 0xFA017ull), lineRandom_(config.seed ^ 0x11E5ull) {
    if (config.streamAtPowerUp) {
        streaming_ = true;
        nextFrameAt_ = now + StreamPeriod();
    }
}

void SimModule::SetHostBaud(int baud) {
    hostBaud_ = baud;
}

SimTime SimModule::StreamPeriod() const {
    if (config_.faults.floodRate)
        return SimTime(std::max<std::int64_t>(1, std::llround(1e9 / *config_.faults.floodRate)));
    return std::chrono::milliseconds(settings_.interval);
}

// A frame waits for the line to be free, so a stream faster than the line slows to its pace.
SimTime SimModule::NextFrameTime() const {
    return std::max(nextFrameAt_, wireFreeAt_);
}

void SimModule::AdvanceTo(SimTime now) {
    if (now < now_)
        return;
    while (!hungUp_ && streaming_) {
        const SimTime at = NextFrameTime();
        if (at > now)
            break;
        now_ = at;
        CheckHangup();
        if (hungUp_)
            break;
        EmitMeasurement(at);
        nextFrameAt_ = at + StreamPeriod();
    }
    now_ = now;
    CheckHangup();
}

void SimModule::CheckHangup() {
    const auto& limit = config_.faults.hangupAfterTime;
    if (limit && now_ - powerUp_ >= *limit)
        hungUp_ = true;
}

void SimModule::Receive(SimTime now, std::string_view bytes) {
    AdvanceTo(now);
    // At another rate than its own the module's receiver sees only framing errors.
    if (hungUp_ || hostBaud_ != settings_.baud)
        return;
    for (char c : bytes) {
        if (c != '\r') {
            if (rxBuffer_.size() >= kRxLimit)
                rxBuffer_.clear();
            rxBuffer_ += c;
            continue;
        }
        const auto command = ParseCommandFrame(rxBuffer_);
        rxBuffer_.clear();
        if (command && (command->id == 0 || command->id == settings_.id))
            Execute(*command);
    }
}

void SimModule::Execute(const Command& c) {
    const auto& f = config_.faults;
    if (f.silent || f.deaf.count(c.word))
        return;
    const bool ac = config_.kind == ModuleKind::Ac;
    const std::string id = std::to_string(settings_.id);
    const std::optional<int> arg = c.arg ? ParseDecimal(*c.arg) : std::nullopt;
    if (c.arg && !arg)
        return;
    const int n = arg.value_or(-1);
    // Values the module does not know are ignored without a reply, so the window sees a
    // time-out instead of a confirmation of a setting that was not taken.
    if (c.word.empty()) {
        if (!ac)
            Reply("[" + id + " " + std::to_string(settings_.mode) +
                  std::to_string(settings_.scale) + "]");
    } else if (c.word == "ID") {
        if (!arg) {
            if (ac)
                Reply("[" + id + " " + std::to_string(settings_.mode) +
                      std::to_string(settings_.scale) + " ID]");
        } else if (ValidId(n)) {
            settings_.id = n;
            Reply("[" + std::to_string(n) + " ID]");
        }
    } else if (c.word == "SCALE") {
        if (arg && !ValidScale(config_.kind, n))
            return;
        if (arg)
            settings_.scale = n;
        Reply("[" + id + " SCALE " + std::to_string(settings_.scale) + "]");
    } else if (c.word == "INTERVAL") {
        if (arg && !ValidInterval(n))
            return;
        if (arg)
            settings_.interval = n;
        Reply("[" + id + " INTERVAL " + std::to_string(settings_.interval) + "]");
    } else if (c.word == "MODE") {
        if (arg && !ValidMode(config_.kind, n))
            return;
        if (arg)
            settings_.mode = n;
        Reply("[" + id + " MODE " + std::to_string(settings_.mode) + "]");
    } else if (c.word == "SPEED") {
        const auto baud = BaudForSpeedCode(config_.kind, n);
        if (!baud)
            return;
        Reply("[" + id + " SPEED " + std::to_string(n) + "]");
        settings_.baud = *baud; // the reply is already queued at the old rate
    } else if (c.word == "VER" && !c.arg) {
        Reply("[" + id + (ac ? " VER KUVAR-AC V2.0]" : " VER KUVAR-GY V2.0]"));
    } else if (c.word == "SAVE" && !c.arg) {
        Store(settings_);
        Reply("[" + id + " SAVE]");
    } else if (c.word == "RESTORE" && !c.arg) {
        Reply("[" + id + " RESTORE]");
        settings_ = FactorySettings(config_.kind);
        Store(settings_);
    } else if (c.word == "INIT" && !c.arg && !ac) {
        yawZero_ += MotionModel::Angles(Seconds(now_ - powerUp_), yawZero_)[2] / 10.0;
        Reply("[" + id + " INIT]");
    } else if (c.word == "START" && !c.arg) {
        Reply("[" + id + " START]");
        if (!streaming_) {
            streaming_ = true;
            nextFrameAt_ = now_ + config_.replyLatency + StreamPeriod();
        }
    } else if (c.word == "STOP" && !c.arg) {
        streaming_ = false;
        Reply("[" + id + " STOP]");
    }
}

void SimModule::Store(const ModuleSettings& settings) {
    stored_ = settings;
    if (onStore_)
        onStore_(stored_);
}

void SimModule::Reply(const std::string& text) {
    SentFrame frame;
    frame.text = text;
    EmitFrame(now_ + config_.replyLatency, std::move(frame));
}

void SimModule::EmitMeasurement(SimTime at) {
    const double t = Seconds(at - powerUp_);
    const bool ac = config_.kind == ModuleKind::Ac;
    Reading values;
    int noise = 3;
    if (ac) {
        values = MotionModel::Acceleration(t);
    } else if (settings_.mode == 0) {
        values = MotionModel::Angles(t, yawZero_);
        noise = 1;
    } else {
        values = MotionModel::Rates(t);
        noise = 20;
    }
    for (int& v : values)
        v += static_cast<int>(noise_.Range(-noise, noise));
    if (ac) {
        for (int& v : values)
            v = Clamp(v, settings_.scale * 1000);
    } else if (settings_.mode == 0) {
        values[2] = (values[2] + 3600) % 3600;
    }
    SentFrame frame;
    frame.measurement = true;
    frame.values = values;
    frame.text = ac && settings_.mode == 3
                     ? FormatAtSignFrame(values)
                     : FormatBracketFrame(settings_.id, settings_.mode, settings_.scale, values);
    EmitFrame(at, std::move(frame));
}

void SimModule::EmitFrame(SimTime at, SentFrame frame) {
    const auto& f = config_.faults;
    if (f.dropShare > 0 && faultRandom_.Chance(f.dropShare)) {
        ++framesDropped_;
        return;
    }
    std::string bytes;
    if (f.dollar)
        bytes += '$';
    if (f.stxEtb)
        bytes += kStx;
    bytes += frame.text;
    if (f.stxEtb)
        bytes += kEtb;
    bytes += ChecksumDigits(XorChecksum(frame.text));
    bytes += '\r';
    if (f.lineFeed)
        bytes += '\n';
    if (f.corruptShare > 0) {
        for (char& b : bytes)
            if (faultRandom_.Chance(f.corruptShare))
                b = static_cast<char>(b ^ (1 << faultRandom_.Range(0, 7)));
    }

    const SimTime byteTime = ByteTime(f.wireRate.value_or(settings_.baud));
    SimTime t = std::max(at, wireFreeAt_);
    std::size_t nextCut = bytes.size();
    if (f.splitPauseMs)
        nextCut = static_cast<std::size_t>(faultRandom_.Range(1, bytes.size()));
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (i == nextCut) {
            t += std::chrono::microseconds(faultRandom_.Range(0, *f.splitPauseMs * 1000));
            nextCut = i + static_cast<std::size_t>(faultRandom_.Range(1, bytes.size()));
        }
        t += byteTime;
        line_.push_back({t, bytes[i], settings_.baud, i + 1 == bytes.size()});
    }
    wireFreeAt_ = t;
    pending_.push_back(std::move(frame));
}

ModuleOutput SimModule::TakeOutput() {
    ModuleOutput out;
    const auto& f = config_.faults;
    // Bytes finished before the line went dead still arrive; nothing after.
    const SimTime until =
        f.hangupAfterTime ? std::min(now_, powerUp_ + *f.hangupAfterTime - SimTime(1)) : now_;
    while (!line_.empty() && line_.front().doneAt <= until) {
        const LineByte b = line_.front();
        line_.pop_front();
        if (b.baud == hostBaud_) {
            out.bytes += b.byte;
        } else {
            // A receiver at another rate sees about hostBaud/baud bytes for each byte sent.
            garbageCredit_ += static_cast<double>(hostBaud_) / b.baud;
            for (; garbageCredit_ >= 1; garbageCredit_ -= 1)
                out.bytes += static_cast<char>(lineRandom_.Next() & 0xFF);
        }
        if (!b.endsFrame)
            continue;
        SentFrame frame = std::move(pending_.front());
        pending_.pop_front();
        frame.at = b.doneAt;
        frame.garbled = b.baud != hostBaud_;
        if (frame.measurement)
            ++measurementsSent_;
        out.frames.push_back(std::move(frame));
        if (f.hangupAfterFrames && measurementsSent_ >= *f.hangupAfterFrames) {
            hungUp_ = true;
            break;
        }
    }
    if (hungUp_) {
        line_.clear();
        pending_.clear();
    }
    return out;
}

std::optional<SimTime> SimModule::NextEventTime() const {
    if (hungUp_)
        return std::nullopt;
    std::optional<SimTime> next;
    auto consider = [&](SimTime t) {
        if (!next || t < *next)
            next = t;
    };
    if (!line_.empty())
        consider(line_.front().doneAt);
    if (streaming_)
        consider(NextFrameTime());
    if (config_.faults.hangupAfterTime)
        consider(powerUp_ + *config_.faults.hangupAfterTime);
    return next;
}

} // namespace kuvar::sim
