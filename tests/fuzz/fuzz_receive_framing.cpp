// SPDX-License-Identifier: GPL-3.0-or-later
// Received bytes cut into chunks chosen by the input, through the framer and the dispatcher, in
// every RxMode, with a view that only records what it is given.
#include "protocol/receive_framer.h"
#include "protocol/reply_dispatcher.h"
#include "tests/fuzz/fuzz_input.h"

#include <cstdlib>
#include <exception>
#include <iterator>

using namespace kuvar;

namespace {

constexpr std::int32_t kModes[] = {
    protocol::RxModes::LogOnly,
    protocol::RxModes::AcStream,
    protocol::RxModes::AcIdQuery,
    protocol::RxModes::AcVersion,
    protocol::RxModes::GyIdQuery,
    protocol::RxModes::GyVersion,
    protocol::RxModes::GyStream,
    1,
    -1,
};

struct TNullTarget : protocol::IReplyTarget {
    void AppendLog(const std::string& line) override { bytes += line.size(); }
    void SetText(protocol::Control, const std::string& text) override { bytes += text.size(); }
    void SetChecked(protocol::Control, bool) override {}
    std::size_t bytes = 0;
};

struct TRecordingView : protocol::IMeasurementView {
    void ShowAcFrame(const std::string& frame, const protocol::ArrivalTime&,
                     protocol::ShownValues&) override {
        acFrames += !frame.empty();
    }
    void ClearAcDisplays() override {}
    void ShowGyFrame(const std::string& frame, const protocol::ArrivalTime&,
                     protocol::ShownValues&) override {
        gyFrames += !frame.empty();
    }
    std::size_t acFrames = 0;
    std::size_t gyFrames = 0;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::TInput in(data, size);
    protocol::LinkState state;
    const std::uint8_t setup = in.Byte();
    state.RxMode = kModes[setup % std::size(kModes)];
    state.StreamPaused = (setup & 0x80) != 0;
    TNullTarget target;
    TRecordingView view;
    protocol::ReplyDispatcher dispatcher(state, target, (setup & 0x40) ? nullptr : &view);
    protocol::ReceiveFramer framer(state,
                                   [&](const std::string& text) { dispatcher.HandleReply(text); });
    while (!in.Empty()) {
        // A length byte, then that many bytes of the chunk; 0 repeats a long chunk of CR-less
        // filler so that the buffer's cap is reached with small inputs.
        const std::uint8_t length = in.Byte();
        std::string chunk = length == 0 ? std::string(20000, 'x') : in.Bytes(length);
        try {
            framer.Feed(chunk);
        } catch (const std::exception&) {
            // A failing reply ends its handler; the framer must stay usable.
        }
        if (state.RxBuffer.size() > protocol::ReceiveFramer::kMaxBuffer) {
            std::abort();
        }
        if ((length & 0x7F) == 0x7F) {
            // A command sender empties the buffer and changes the mode between chunks.
            state.RxBuffer.clear();
            state.RxMode = kModes[in.Byte() % std::size(kModes)];
        }
    }
    return 0;
}
