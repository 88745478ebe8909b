// SPDX-License-Identifier: GPL-3.0-or-later
#include "charts/history_column.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>

namespace kuvar::charts {

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr THistoryColumn::TMinMax kEmpty{kInf, -kInf};
constexpr qint64 kGroup = THistoryColumn::kBlock * THistoryColumn::kBlock;

void Widen(THistoryColumn::TMinMax& range, double lo, double hi) {
    range.lo = std::min(range.lo, lo);
    range.hi = std::max(range.hi, hi);
}

} // namespace

THistoryColumn::THistoryColumn(std::shared_ptr<THistoryFile> file, bool summary)
    : file_(std::move(file)), summary_(summary), shift_(std::countr_zero(file_->ChunkValues())),
      mask_(file_->ChunkValues() - 1) {}

void THistoryColumn::Append(double value) {
    if ((static_cast<std::size_t>(size_) & mask_) == 0 &&
        static_cast<std::size_t>(size_ >> shift_) == chunks_.size()) {
        chunks_.push_back(file_->NewChunk());
        data_.push_back(chunks_.back()->Data());
    }
    data_.back()[static_cast<std::size_t>(size_) & mask_] = value;
    ++size_;
    if (summary_) {
        NoteInBlocks(value);
    }
}

void THistoryColumn::NoteInBlocks(double value) {
    const qint64 index = size_ - 1;
    if (index % kBlock == 0) {
        blocks_.push_back(kEmpty);
    }
    if (index % kGroup == 0) {
        groups_.push_back(kEmpty);
    }
    if (std::isfinite(value)) {
        Widen(blocks_.back(), value, value);
        Widen(groups_.back(), value, value);
    }
}

void THistoryColumn::Clear() {
    size_ = 0;
    chunks_.clear();
    data_.clear();
    blocks_.clear();
    groups_.clear();
    blocks_.shrink_to_fit();
    groups_.shrink_to_fit();
}

bool THistoryColumn::Range(qint64 from, qint64 to, double& lo, double& hi) const {
    from = std::max<qint64>(from, 0);
    to = std::min(to, size_);
    TMinMax range = kEmpty;
    auto values = [&](qint64 a, qint64 b) {
        for (qint64 i = a; i < b; ++i) {
            const double v = At(i);
            if (std::isfinite(v)) {
                Widen(range, v, v);
            }
        }
    };
    // Single values up to a block's edge, whole blocks up to a group's edge, whole groups, and
    // the same back down at the other end.
    auto spans = [&](qint64 a, qint64 b, qint64 unit, auto&& inner, auto&& whole) {
        const qint64 firstWhole = (a + unit - 1) / unit;
        const qint64 endWhole = b / unit;
        if (firstWhole >= endWhole) {
            inner(a, b);
            return;
        }
        inner(a, firstWhole * unit);
        whole(firstWhole, endWhole);
        inner(endWhole * unit, b);
    };
    auto blockRange = [&](qint64 a, qint64 b) {
        for (qint64 i = a; i < b; ++i) {
            Widen(range, blocks_[static_cast<std::size_t>(i)].lo,
                  blocks_[static_cast<std::size_t>(i)].hi);
        }
    };
    auto groupRange = [&](qint64 a, qint64 b) {
        for (qint64 i = a; i < b; ++i) {
            Widen(range, groups_[static_cast<std::size_t>(i)].lo,
                  groups_[static_cast<std::size_t>(i)].hi);
        }
    };
    if (from < to) {
        if (!summary_) {
            values(from, to);
        } else {
            spans(
                from, to, kGroup,
                [&](qint64 a, qint64 b) {
                    spans(a, b, kBlock, values, [&](qint64 x, qint64 y) { blockRange(x, y); });
                },
                groupRange);
        }
    }
    if (range.lo > range.hi) {
        return false;
    }
    lo = range.lo;
    hi = range.hi;
    return true;
}

THistoryColumn::TSnapshot THistoryColumn::Snapshot() const {
    TSnapshot s;
    s.size_ = size_;
    s.shift_ = shift_;
    s.mask_ = mask_;
    s.chunks_ = chunks_;
    return s;
}

} // namespace kuvar::charts
