// SPDX-License-Identifier: GPL-3.0-or-later
// The transmit queue: a block of fixed capacity, allocated once, that is compacted as the
// front is written (not a ring, so the queued bytes are always one run for the device).
#pragma once

#include <cstddef>
#include <memory>

namespace kuvar::serial {

class TVaCommBuffer {
public:
    explicit TVaCommBuffer(std::size_t capacity);

    std::size_t Capacity() const { return capacity_; }
    std::size_t Fill() const { return fill_; }
    const char* Data() const { return data_.get(); }
    bool Fits(std::size_t count) const { return count <= capacity_ - fill_; }
    // Copies behind the last queued byte; false (nothing copied) when it does not fit.
    bool Append(const void* data, std::size_t count);
    // Drops count bytes from the front and moves the rest down.
    void Remove(std::size_t count);

private:
    std::unique_ptr<char[]> data_;
    std::size_t capacity_;
    std::size_t fill_ = 0;
};

} // namespace kuvar::serial
