// SPDX-License-Identifier: GPL-3.0-or-later
#include "protocol/manual_send.h"

#include "protocol/transactions.h"

namespace kuvar::protocol {

void ManualSend(LinkState& state, ITransactionHost& host, Control line) {
    host.Delay(200);
    state.LastFrame.clear();
    state.RxBuffer.clear();
    state.RxMode = RxModes::LogOnly;
    if (!RequirePortOpen(host))
        return;
    SendOnce(state, host, host.Text(line));
}

} // namespace kuvar::protocol
