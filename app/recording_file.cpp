// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/recording_file.h"

#include "widgets/decimal_text.h"

#include <chrono>

namespace kuvar {

namespace {

const char* KindText(TRecordRow::TKind kind) {
    switch (kind) {
    case TRecordRow::TKind::Frame:
        return "frame";
    case TRecordRow::TKind::Sent:
        return "sent";
    case TRecordRow::TKind::Lost:
        return "lost";
    case TRecordRow::TKind::Reply:
        break;
    }
    return "reply";
}

bool NeedsQuotes(const std::string& raw) {
    for (const char c : raw) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte == ',' || byte == '"' || byte < 0x20 || byte == 0x7F) {
            return true;
        }
    }
    return false;
}

} // namespace

TRecordingFile::TRecordingFile(const QString& path, const QByteArray& header, std::size_t capacity)
    : path_(path), capacity_(capacity), file_(std::make_unique<TStreamFileWriter>(path)) {
    file_->Write(header);
    worker_ = std::thread([this] { Run(); });
}

TRecordingFile::~TRecordingFile() {
    Finish();
    worker_.join();
}

bool TRecordingFile::Push(TRecordRow&& row) {
    std::lock_guard lock(mutex_);
    if (finishing_ || !failure_.isEmpty()) {
        return false;
    }
    if (pending_.size() >= capacity_) {
        if (lostSinceTaken_++ == 0) {
            firstLostMs_ = row.unixMs;
        }
        ++lostTotal_;
        return false;
    }
    pending_.push_back(std::move(row));
    // The worker looks every kWriteEveryMs; a queue filling fast calls it at once.
    if (pending_.size() == capacity_ / 4) {
        wake_.notify_one();
    }
    return true;
}

void TRecordingFile::Finish() {
    {
        std::lock_guard lock(mutex_);
        finishing_ = true;
    }
    wake_.notify_one();
}

QString TRecordingFile::Failure() const {
    std::lock_guard lock(mutex_);
    return failure_;
}

void TRecordingFile::AppendRaw(const std::string& raw, QByteArray& out) {
    if (!NeedsQuotes(raw)) {
        out.append(raw.data(), static_cast<qsizetype>(raw.size()));
        return;
    }
    out += '"';
    for (const char c : raw) {
        if (c == '"') {
            out += '"';
        }
        out += c;
    }
    out += '"';
}

void TRecordingFile::AppendRow(const TRecordRow& row, QByteArray& out, TIsoTimeText& times) {
    times.Append(row.unixMs, out);
    out += ',';
    out += KindText(row.kind);
    out += row.kind == TRecordRow::TKind::Lost ? ",," : row.gy ? ",GY," : ",AC,";
    if (row.kind == TRecordRow::TKind::Frame) {
        out += row.unit;
        for (const double value : row.values) {
            out += ',';
            out += FixedDecimal(value, row.precision, '.');
        }
    } else {
        out += ",,,";
    }
    out += ',';
    AppendRaw(row.raw, out);
    out += "\r\n";
}

void TRecordingFile::Run() {
    using Clock = std::chrono::steady_clock;
    TIsoTimeText times;
    std::vector<TRecordRow> batch;
    QByteArray text;
    auto lastSync = Clock::now();
    bool last = false;
    try {
        while (!last) {
            qint64 lost = 0;
            qint64 lostAt = 0;
            {
                std::unique_lock lock(mutex_);
                wake_.wait_for(lock, std::chrono::milliseconds(kWriteEveryMs),
                               [this] { return finishing_ || pending_.size() >= capacity_ / 4; });
                batch.swap(pending_);
                std::swap(lost, lostSinceTaken_);
                lostAt = firstLostMs_;
                last = finishing_;
            }
            text.clear();
            for (const TRecordRow& row : batch) {
                AppendRow(row, text, times);
            }
            if (lost > 0) {
                // Where rows went missing (the disk did not keep up), with their count.
                TRecordRow gap;
                gap.kind = TRecordRow::TKind::Lost;
                gap.unixMs = lostAt;
                gap.raw = std::to_string(lost);
                AppendRow(gap, text, times);
            }
            batch.clear();
            if (!text.isEmpty()) {
                file_->Write(text);
            }
            if (last || Clock::now() - lastSync >= std::chrono::milliseconds(kSyncEveryMs)) {
                file_->Sync();
                lastSync = Clock::now();
            }
        }
        file_->Close();
    } catch (const EFileError& e) {
        std::lock_guard lock(mutex_);
        failure_ = e.Why();
        pending_.clear();
    }
    done_ = true;
}

} // namespace kuvar
