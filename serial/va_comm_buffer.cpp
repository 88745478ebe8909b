// SPDX-License-Identifier: GPL-3.0-or-later
#include "serial/va_comm_buffer.h"

#include <algorithm>
#include <cstring>

namespace kuvar::serial {

TVaCommBuffer::TVaCommBuffer(std::size_t capacity)
    : data_(new char[capacity == 0 ? 1 : capacity]), capacity_(capacity) {}

bool TVaCommBuffer::Append(const void* data, std::size_t count) {
    if (!Fits(count))
        return false;
    if (count != 0)
        std::memcpy(data_.get() + fill_, data, count);
    fill_ += count;
    return true;
}

void TVaCommBuffer::Remove(std::size_t count) {
    count = std::min(count, fill_);
    std::memmove(data_.get(), data_.get() + count, fill_ - count);
    fill_ -= count;
}

} // namespace kuvar::serial
