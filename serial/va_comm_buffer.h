// SPDX-License-Identifier: GPL-3.0-or-later
// A byte queue (the transmit queue, the read-ahead receive queue): a block of fixed capacity,
// allocated once, that is compacted as the front is taken (not a ring, so the queued bytes are
// always one run for the device).
#pragma once

#include <algorithm>
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
    // The free space behind the last queued byte, for a read to fill; Commit queues count bytes
    // of it.
    char* Room() { return data_.get() + fill_; }
    std::size_t RoomSize() const { return capacity_ - fill_; }
    void Commit(std::size_t count) { fill_ += std::min(count, RoomSize()); }

private:
    std::unique_ptr<char[]> data_;
    std::size_t capacity_;
    std::size_t fill_ = 0;
};

} // namespace kuvar::serial
