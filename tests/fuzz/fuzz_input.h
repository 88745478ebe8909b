// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace fuzz {

// Reads a fuzzer's bytes front to back; past the end every read gives zero or empty.
class TInput {
public:
    TInput(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    bool Empty() const { return pos_ >= size_; }
    std::uint8_t Byte() { return Empty() ? 0 : data_[pos_++]; }
    // The next `count` bytes, fewer at the end.
    std::string Bytes(std::size_t count) {
        const std::size_t n = count < size_ - pos_ ? count : size_ - pos_;
        std::string out(reinterpret_cast<const char*>(data_ + pos_), n);
        pos_ += n;
        return out;
    }
    std::string Rest() { return Bytes(size_ - pos_); }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

} // namespace fuzz
