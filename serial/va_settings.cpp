// SPDX-License-Identifier: GPL-3.0-or-later
#include "serial/va_settings.h"

namespace kuvar::serial {

void TVaPersistent::EndUpdate() {
    if (updateCount_ > 0)
        --updateCount_;
    Changed();
}

void TVaPersistent::Changed() {
    if (updateCount_ == 0 && onChange_)
        onChange_();
}

namespace {
// Runs EndUpdate also when a field copy is interrupted, so that the counter never stays raised.
template <typename F> void CopyInUpdate(TVaPersistent& target, F copy) {
    target.BeginUpdate();
    try {
        copy();
    } catch (...) {
        target.EndUpdate();
        throw;
    }
    target.EndUpdate();
}
} // namespace

void TVaFlowControl::Assign(const TVaFlowControl& o) {
    CopyInUpdate(*this, [&] {
        SetOutCtsFlow(o.outCtsFlow_);
        SetOutDsrFlow(o.outDsrFlow_);
        SetControlDtr(o.controlDtr_);
        SetControlRts(o.controlRts_);
        SetXonXoffOut(o.xonXoffOut_);
        SetXonXoffIn(o.xonXoffIn_);
        SetDsrSensitivity(o.dsrSensitivity_);
        SetTxContinueOnXoff(o.txContinueOnXoff_);
    });
}

void TVaEventChars::Assign(const TVaEventChars& o) {
    CopyInUpdate(*this, [&] {
        SetXonChar(o.xonChar_);
        SetXoffChar(o.xoffChar_);
        SetErrorChar(o.errorChar_);
        SetEventChar(o.eventChar_);
        SetEofChar(o.eofChar_);
    });
}

void TVaBuffers::Assign(const TVaBuffers& o) {
    CopyInUpdate(*this, [&] {
        SetReadSize(o.readSize_);
        SetWriteSize(o.writeSize_);
        SetReadTimeout(o.readTimeout_);
        SetWriteTimeout(o.writeTimeout_);
        SetXonLimit(o.xonLimit_);
        SetXoffLimit(o.xoffLimit_);
    });
}

} // namespace kuvar::serial
