// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/sim/program_options.h"

#include "tools/sim/command_frame.h"

#include <cstdlib>
#include <unistd.h>

namespace kuvar::sim {
namespace {

// "0.1" or "10%".
std::optional<double> ParseShare(const std::string& text) {
    if (text.empty())
        return std::nullopt;
    const bool percent = text.back() == '%';
    const std::string number = percent ? text.substr(0, text.size() - 1) : text;
    char* end = nullptr;
    const double value = std::strtod(number.c_str(), &end);
    if (number.empty() || *end != '\0')
        return std::nullopt;
    const double share = percent ? value / 100 : value;
    if (!(share >= 0 && share <= 1))
        return std::nullopt;
    return share;
}

std::optional<double> ParsePositive(const std::string& text) {
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (text.empty() || *end != '\0' || !(value > 0 && value < 1e9))
        return std::nullopt;
    return value;
}

} // namespace

std::string UsageText() {
    return R"(Usage: kuvar-sim ac|gy [options]
A simulated KUVAR-AC accelerometer (ac) or KUVAR-GY attitude module (gy) on a pseudo-terminal.
It prints the link to the terminal on standard output, serves until SIGINT or SIGTERM and then
removes the link. The line behaves like a cable: when the program on the other side sets another
rate than the module's, the module hears nothing and its bytes arrive as garbage.

Line and state:
  --link PATH           the link to create (default $XDG_RUNTIME_DIR/kuvar-sim/ac or .../gy,
                        or /tmp/kuvar-sim-<uid>/ac when XDG_RUNTIME_DIR is unset)
  --state FILE          load the stored settings from FILE at start, write them at SAVE/RESTORE
  --id N                bus ID at power-up, 1..255 (default 1)
  --baud RATE           module line rate at power-up (default 115200)
  --scale S             full scale: ac 2, 4 or 8 (default 2); gy 1, 2 or 8 (default 1)
  --interval MS         output interval in ms, 1..60000 (default 100)
  --mode M              ac 0, 1 (blank-separated frames) or 3 (at-sign frames);
                        gy 0 (angles, tenths of a degree) or 1 (rates, mdeg/s) (default 0)
  --stream              stream from power-up, without waiting for START
  --log-frames FILE     append a line "<CLOCK_MONOTONIC ns> <frame text>" for every measurement
                        frame when its last byte has been written to the line

Faults on purpose (random choices follow --seed N, default 1):
  --silent              never answer (hears no command at all)
  --deaf LIST           ignore these commands, e.g. STOP,SAVE
  --drop SHARE          lose this share of outgoing frames whole (0.1 or 10%)
  --corrupt SHARE       flip one bit in this share of outgoing bytes
  --split MS            send frames in random chunks with random pauses up to MS ms
  --lf                  send LF after each CR
  --stx                 frame each reply with STX before and ETB after its text
  --dollar              send "$" before each frame
  --flood RATE          stream RATE frames a second, or as many as the line allows
  --wire-rate BITS      the line carries BITS a second whatever rate both ends agree on
                        (a pseudo-terminal is not held to a real line's rates)
  --hangup-secs S       hang up S seconds after start (closes the line, as an unplugged adapter)
  --hangup-frames N     hang up after N measurement frames
  --seed N              seed of every random choice
  --help                show this text
  --version             show the version

On exit it writes to standard error how many measurement frames it sent.
)";
}

std::string DefaultLinkPath(ModuleKind kind) {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    const std::string dir = runtime && *runtime ? std::string(runtime) + "/kuvar-sim"
                                                : "/tmp/kuvar-sim-" + std::to_string(getuid());
    return dir + "/" + std::string(KindName(kind));
}

std::optional<ProgramOptions> ParseProgramOptions(const std::vector<std::string>& args,
                                                  std::string* error) {
    ProgramOptions o;
    bool kindSeen = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--help" || a == "-h") {
            o.help = true;
            return o;
        }
        if (a == "--version") {
            o.version = true;
            return o;
        }
        auto value = [&]() -> std::optional<std::string> {
            if (i + 1 >= args.size()) {
                *error = a + " needs a value";
                return std::nullopt;
            }
            return args[++i];
        };
        auto number = [&](std::optional<int>& field, bool (*valid)(int)) {
            const auto text = value();
            if (!text)
                return false;
            const auto n = ParseDecimal(*text);
            if (!n || !valid(*n)) {
                *error = "bad value for " + a + ": " + *text;
                return false;
            }
            field = *n;
            return true;
        };
        bool ok = true;
        if (a == "ac" || a == "gy") {
            if (kindSeen) {
                *error = "name one module, ac or gy";
                return std::nullopt;
            }
            o.kind = *KindFromName(a);
            kindSeen = true;
        } else if (a == "--link" || a == "--state" || a == "--log-frames") {
            const auto text = value();
            if (!text || text->empty()) {
                *error = a + " needs a path";
                return std::nullopt;
            }
            (a == "--link" ? o.link : a == "--state" ? o.stateFile : o.logFrames) = *text;
        } else if (a == "--id") {
            ok = number(o.id, ValidId);
        } else if (a == "--baud") {
            ok = number(o.baud, ValidBaud);
        } else if (a == "--scale") {
            ok = number(o.scale, [](int v) { return v >= 1 && v <= 9; });
        } else if (a == "--interval") {
            ok = number(o.interval, ValidInterval);
        } else if (a == "--mode") {
            ok = number(o.mode, [](int v) { return v >= 0 && v <= 9; });
        } else if (a == "--stream") {
            o.streamAtPowerUp = true;
        } else if (a == "--silent") {
            o.faults.silent = true;
        } else if (a == "--lf") {
            o.faults.lineFeed = true;
        } else if (a == "--stx") {
            o.faults.stxEtb = true;
        } else if (a == "--dollar") {
            o.faults.dollar = true;
        } else if (a == "--deaf") {
            const auto text = value();
            if (!text)
                return std::nullopt;
            std::size_t start = 0;
            while (start <= text->size()) {
                const auto comma = text->find(',', start);
                const std::string word = text->substr(start, comma - start);
                if (!word.empty())
                    o.faults.deaf.insert(word);
                if (comma == std::string::npos)
                    break;
                start = comma + 1;
            }
        } else if (a == "--drop" || a == "--corrupt") {
            const auto text = value();
            const auto share = text ? ParseShare(*text) : std::nullopt;
            if (!share) {
                *error = "bad share for " + a + " (0..1 or 0%..100%)";
                return std::nullopt;
            }
            (a == "--drop" ? o.faults.dropShare : o.faults.corruptShare) = *share;
        } else if (a == "--split" || a == "--hangup-frames") {
            std::optional<int> n;
            ok = number(n, [](int v) { return v >= 1; });
            if (ok && a == "--split")
                o.faults.splitPauseMs = *n;
            else if (ok)
                o.faults.hangupAfterFrames = static_cast<std::uint64_t>(*n);
        } else if (a == "--wire-rate") {
            ok = number(o.faults.wireRate, [](int v) { return v >= 300; });
        } else if (a == "--flood" || a == "--hangup-secs") {
            const auto text = value();
            const auto v = text ? ParsePositive(*text) : std::nullopt;
            if (!v) {
                *error = "bad value for " + a;
                return std::nullopt;
            }
            if (a == "--flood")
                o.faults.floodRate = *v;
            else
                o.faults.hangupAfterTime = SimTime(static_cast<std::int64_t>(*v * 1e9));
        } else if (a == "--seed") {
            const auto text = value();
            char* end = nullptr;
            if (!text || text->empty() ||
                (o.seed = std::strtoull(text->c_str(), &end, 10), *end != '\0')) {
                *error = "bad value for --seed";
                return std::nullopt;
            }
        } else {
            *error = "unknown argument: " + a;
            return std::nullopt;
        }
        if (!ok)
            return std::nullopt;
    }
    if (!kindSeen) {
        *error = "name the module: ac or gy";
        return std::nullopt;
    }
    if ((o.scale && !ValidScale(o.kind, *o.scale)) || (o.mode && !ValidMode(o.kind, *o.mode))) {
        *error = "scale or mode not known to this module";
        return std::nullopt;
    }
    return o;
}

} // namespace kuvar::sim
