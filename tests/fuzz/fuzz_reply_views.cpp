// SPDX-License-Identifier: GPL-3.0-or-later
// HandleReply with the real KUVAR-AC and KUVAR-GY measurement views (their pages built offscreen)
// in every RxMode: replies of any text, the mode and the pause switched by the input.
#include "base/guard.h"
#include "modules/ac_page.h"
#include "modules/gy_page.h"
#include "modules/measurement_views.h"
#include "protocol/reply_dispatcher.h"
#include "tests/fuzz/fuzz_input.h"

#include <QApplication>
#include <QWidget>

#include <cstdlib>
#include <exception>
#include <memory>

using namespace kuvar;

namespace {

constexpr std::int32_t kModes[] = {
    protocol::RxModes::LogOnly,   protocol::RxModes::AcStream,  protocol::RxModes::AcIdQuery,
    protocol::RxModes::AcVersion, protocol::RxModes::GyIdQuery, protocol::RxModes::GyVersion,
    protocol::RxModes::GyStream,
};

struct TNullTarget : protocol::IReplyTarget {
    void AppendLog(const std::string&) override {}
    void SetText(protocol::Control, const std::string&) override {}
    void SetChecked(protocol::Control, bool) override {}
};

// The pages live for the whole run, as in the window: their displays and charts keep state.
struct TPages {
    QWidget window;
    QWidget acSheet{&window};
    QWidget gySheet{&window};
    modules::TAcPage Ac;
    modules::TGyPage Gy;
    std::unique_ptr<modules::TMeasurementViews> views;

    TPages() {
        Ac.Build(&acSheet);
        Gy.Build(&gySheet);
        views = std::make_unique<modules::TMeasurementViews>(Ac, Gy);
        // A handler's exception ends that handler only, as in the window; nothing is shown.
        SetAppExceptionHandler([](const std::exception&) {});
        views->Connect();
    }
};

TPages* pages = nullptr;

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication app(*argc, *argv);
    pages = new TPages;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::TInput in(data, size);
    protocol::LinkState state;
    TNullTarget target;
    protocol::ReplyDispatcher dispatcher(state, target, pages->views.get());
    while (!in.Empty()) {
        const std::uint8_t control = in.Byte();
        state.RxMode = kModes[control % std::size(kModes)];
        state.StreamPaused = (control & 0x80) != 0;
        if (control & 0x40) {
            pages->Ac.CheckBox1->click();
        }
        const std::string reply = in.Bytes(in.Byte() % 96);
        try {
            dispatcher.HandleReply(reply);
        } catch (const std::exception&) {
            // A reply the view cannot read ends its handler; the next one must still work.
        }
    }
    return 0;
}
