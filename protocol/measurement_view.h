// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace kuvar::protocol {

// The module pages' measurement views, called by the dispatcher while a stream is shown.
class IMeasurementView {
public:
    virtual ~IMeasurementView() = default;
    // A KUVAR-AC frame while RxMode is 3 and the stream is not paused: either longer than five
    // characters without "@", or beginning with "@". The frame is LastFrame as received.
    virtual void ShowAcFrame(const std::string& frame) = 0;
    // The scale reply of the AC ID search: ssACX, ssACY and ssACZ show 0.
    virtual void ClearAcDisplays() = 0;
    // A KUVAR-GY frame longer than ten characters while RxMode is 13 and the stream is not
    // paused, already without its head field (LastFrame holds the same text), so it begins
    // with the mode digit.
    virtual void ShowGyFrame(const std::string& frame) = 0;
};

} // namespace kuvar::protocol
