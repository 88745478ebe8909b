// SPDX-License-Identifier: GPL-3.0-or-later
// kuvar-sim's command parser on any bytes, and a whole simulated module fed them as a host would.
#include "tests/fuzz/fuzz_input.h"
#include "tools/sim/command_frame.h"
#include "tools/sim/module.h"

using namespace kuvar;

using kuvar::sim::SimTime;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view whole(reinterpret_cast<const char*>(data), size);
    (void)kuvar::sim::ParseCommandFrame(whole);
    (void)kuvar::sim::ParseDecimal(whole);

    fuzz::TInput in(data, size);
    const std::uint8_t setup = in.Byte();
    kuvar::sim::SimConfig config = kuvar::sim::DefaultConfig(
        (setup & 1) ? kuvar::sim::ModuleKind::Gy : kuvar::sim::ModuleKind::Ac);
    config.streamAtPowerUp = (setup & 2) != 0;
    config.faults.lineFeed = (setup & 4) != 0;
    config.faults.stxEtb = (setup & 8) != 0;
    SimTime now{};
    kuvar::sim::SimModule module(config, now);
    while (!in.Empty()) {
        const std::uint8_t length = in.Byte();
        now += std::chrono::microseconds(in.Byte()) * 100;
        module.Receive(now, in.Bytes(length % 64));
        module.AdvanceTo(now);
        (void)module.TakeOutput();
        if (module.HungUp()) {
            break;
        }
    }
    // Let the rest of the output leave, within a bounded simulated time.
    for (int i = 0; i < 64; ++i) {
        const auto next = module.NextEventTime();
        if (!next || *next > now + std::chrono::seconds(2)) {
            break;
        }
        module.AdvanceTo(*next);
        (void)module.TakeOutput();
    }
    return 0;
}
