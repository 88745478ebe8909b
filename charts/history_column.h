// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "charts/history_file.h"

#include <QtGlobal>

#include <memory>
#include <vector>

namespace kuvar::charts {

// An append-only column of doubles kept in chunks of the history file, with the least and the
// greatest finite value of every block of kBlock values, and of every kBlock blocks, kept in
// memory (1/16 of a byte per value). The blocks answer the range of any stretch of the column
// and let a chart draw a window of millions of points in a few thousand steps. UI thread only;
// a Snapshot() may be read on another thread.
class THistoryColumn {
public:
    static constexpr qint64 kBlock = 256;

    struct TMinMax {
        double lo;
        double hi;
    };

    // A reader's copy of the column as it was: its values stay as they were while the column
    // grows, and its chunks stay while it is held, also when the column is cleared.
    class TSnapshot {
    public:
        qint64 Size() const { return size_; }
        double At(qint64 index) const {
            return chunks_[static_cast<std::size_t>(index >> shift_)]
                ->Data()[index & static_cast<qint64>(mask_)];
        }

    private:
        friend class THistoryColumn;
        qint64 size_ = 0;
        int shift_ = 0;
        std::size_t mask_ = 0;
        std::vector<std::shared_ptr<THistoryChunk>> chunks_;
    };

    // summary false: no blocks (a column of times).
    explicit THistoryColumn(std::shared_ptr<THistoryFile> file, bool summary = true);

    qint64 Size() const { return size_; }
    double At(qint64 index) const {
        return data_[static_cast<std::size_t>(index >> shift_)][index & static_cast<qint64>(mask_)];
    }
    void Append(double value);
    void Clear();

    // The least and greatest finite value among [from, to); false when there is none.
    bool Range(qint64 from, qint64 to, double& lo, double& hi) const;
    TSnapshot Snapshot() const;

private:
    void NoteInBlocks(double value);

    std::shared_ptr<THistoryFile> file_;
    bool summary_;
    int shift_;
    std::size_t mask_;
    qint64 size_ = 0;
    std::vector<std::shared_ptr<THistoryChunk>> chunks_;
    std::vector<double*> data_;   // chunks_' data, for a lookup without a shared pointer
    std::vector<TMinMax> blocks_; // of kBlock values
    std::vector<TMinMax> groups_; // of kBlock blocks
};

} // namespace kuvar::charts
