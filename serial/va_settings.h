// SPDX-License-Identifier: GPL-3.0-or-later
// The settings objects a serial component owns: flow control, special characters, queue sizes
// and time-outs. Each reports its changes to the owner through one handler.
#pragma once

#include "serial/va_types.h"

#include <cstdint>
#include <functional>

namespace kuvar::serial {

// An update counter and the owner's change handler. Changed() reaches the owner only while no
// update is running, so that copying a whole object tells the owner once.
class TVaPersistent {
public:
    TVaPersistent() = default;
    TVaPersistent(const TVaPersistent&) = delete;
    TVaPersistent& operator=(const TVaPersistent&) = delete;
    virtual ~TVaPersistent() = default;

    void BeginUpdate() { ++updateCount_; }
    void EndUpdate();
    void Changed();
    void SetOnChange(std::function<void()> handler) { onChange_ = std::move(handler); }

private:
    int updateCount_ = 0;
    std::function<void()> onChange_;
};

class TVaFlowControl : public TVaPersistent {
public:
    bool OutCtsFlow() const { return outCtsFlow_; }
    bool OutDsrFlow() const { return outDsrFlow_; }
    TVaControlDtr ControlDtr() const { return controlDtr_; }
    TVaControlRts ControlRts() const { return controlRts_; }
    bool XonXoffOut() const { return xonXoffOut_; }
    bool XonXoffIn() const { return xonXoffIn_; }
    bool DsrSensitivity() const { return dsrSensitivity_; }
    bool TxContinueOnXoff() const { return txContinueOnXoff_; }

    void SetOutCtsFlow(bool v) { Store(outCtsFlow_, v); }
    void SetOutDsrFlow(bool v) { Store(outDsrFlow_, v); }
    void SetControlDtr(TVaControlDtr v) { Store(controlDtr_, v); }
    void SetControlRts(TVaControlRts v) { Store(controlRts_, v); }
    void SetXonXoffOut(bool v) { Store(xonXoffOut_, v); }
    void SetXonXoffIn(bool v) { Store(xonXoffIn_, v); }
    void SetDsrSensitivity(bool v) { Store(dsrSensitivity_, v); }
    void SetTxContinueOnXoff(bool v) { Store(txContinueOnXoff_, v); }

    void Assign(const TVaFlowControl& other);

private:
    template <typename T> void Store(T& field, T v) {
        if (field == v)
            return;
        field = v;
        Changed();
    }
    bool outCtsFlow_ = false;
    bool outDsrFlow_ = false;
    TVaControlDtr controlDtr_ = dtrDisabled;
    TVaControlRts controlRts_ = rtsDisabled;
    bool xonXoffOut_ = false;
    bool xonXoffIn_ = false;
    bool dsrSensitivity_ = false;
    bool txContinueOnXoff_ = false;
};

class TVaEventChars : public TVaPersistent {
public:
    char XonChar() const { return xonChar_; }
    char XoffChar() const { return xoffChar_; }
    char ErrorChar() const { return errorChar_; }
    char EventChar() const { return eventChar_; }
    char EofChar() const { return eofChar_; }

    // The character setters report every write, equal or not.
    void SetXonChar(char v) { Store(xonChar_, v); }
    void SetXoffChar(char v) { Store(xoffChar_, v); }
    void SetErrorChar(char v) { Store(errorChar_, v); }
    void SetEventChar(char v) { Store(eventChar_, v); }
    void SetEofChar(char v) { Store(eofChar_, v); }

    void Assign(const TVaEventChars& other);

private:
    void Store(char& field, char v) {
        field = v;
        Changed();
    }
    char xonChar_ = 17;
    char xoffChar_ = 19;
    char errorChar_ = 0;
    char eventChar_ = 0;
    char eofChar_ = 0;
};

// Values are 0..2147483647; a negative value is stored as 0.
class TVaBuffers : public TVaPersistent {
public:
    std::int32_t ReadSize() const { return readSize_; }
    std::int32_t WriteSize() const { return writeSize_; }
    std::int32_t ReadTimeout() const { return readTimeout_; }
    std::int32_t WriteTimeout() const { return writeTimeout_; }
    std::int32_t XonLimit() const { return xonLimit_; }
    std::int32_t XoffLimit() const { return xoffLimit_; }

    void SetReadSize(std::int32_t v) { Store(readSize_, v); }
    void SetWriteSize(std::int32_t v) { Store(writeSize_, v); }
    void SetXonLimit(std::int32_t v) { Store(xonLimit_, v); }
    void SetXoffLimit(std::int32_t v) { Store(xoffLimit_, v); }
    // Plain values: they take effect at the next wait and may change at any time.
    void SetReadTimeout(std::int32_t v) { readTimeout_ = v < 0 ? 0 : v; }
    void SetWriteTimeout(std::int32_t v) { writeTimeout_ = v < 0 ? 0 : v; }

    void Assign(const TVaBuffers& other);

private:
    void Store(std::int32_t& field, std::int32_t v) {
        if (v < 0)
            v = 0;
        if (field == v)
            return;
        field = v;
        Changed();
    }
    std::int32_t readSize_ = 4096;
    std::int32_t writeSize_ = 2048;
    std::int32_t readTimeout_ = 1000;
    std::int32_t writeTimeout_ = 1000;
    std::int32_t xonLimit_ = 1024;
    std::int32_t xoffLimit_ = 1024;
};

} // namespace kuvar::serial
