// Where the compressor's bytes go: the caller's buffer, grown through its callback (memory
// output), or a staging buffer handed to its write callback whenever it fills (stream
// output). Any refusal of the caller's callbacks ends the compression with SinkFailed.
#pragma once

#include "pixkit.h"

#include <cstdint>

namespace pixkit {

struct SinkFailed {};

class CompressSink {
public:
    static constexpr uint32_t kGrowStep = 4096;

    CompressSink(void **buffer, uint32_t *capacity, PixkitCompressRecord &record)
        : buffer_(buffer), capacity_(capacity), record_(record),
          bytes_(static_cast<uint8_t *>(*buffer))
    {
    }

    void Put(uint8_t byte)
    {
        if (used_ == *capacity_)
            MakeRoom();
        bytes_[used_++] = byte;
    }

    // Hands the rest to the stream; returns the number of bytes produced in all.
    uint64_t Finish()
    {
        if (record_.stream != nullptr && used_ != 0)
            WriteOut();
        return flushed_ + used_;
    }

private:
    void MakeRoom()
    {
        if (record_.stream != nullptr) {
            WriteOut();
            return;
        }
        if (*capacity_ > UINT32_MAX - kGrowStep)
            throw SinkFailed{};
        const uint32_t grown = *capacity_ + kGrowStep;
        void *moved = record_.grow(*buffer_, grown);
        if (moved == nullptr)
            throw SinkFailed{};
        *buffer_ = moved;
        *capacity_ = grown;
        bytes_ = static_cast<uint8_t *>(moved);
    }

    void WriteOut()
    {
        if (record_.write(bytes_, used_, 1, record_.stream) != 1)
            throw SinkFailed{};
        flushed_ += used_;
        used_ = 0;
    }

    void **buffer_;
    uint32_t *capacity_;
    PixkitCompressRecord &record_;
    uint8_t *bytes_;
    uint32_t used_ = 0;
    uint64_t flushed_ = 0;
};

// Writes bits most significant first into a sink.
class BitWriter {
public:
    explicit BitWriter(CompressSink &sink) : sink_(sink) {}

    void Put(int count, uint32_t value)
    {
        accumulator_ = (accumulator_ << count) | (value & ((uint64_t{1} << count) - 1));
        pending_ += count;
        while (pending_ >= 8) {
            pending_ -= 8;
            sink_.Put(static_cast<uint8_t>(accumulator_ >> pending_));
        }
    }

    // Pads the last byte with zero bits.
    void Flush()
    {
        if (pending_ > 0)
            Put(8 - pending_, 0);
    }

private:
    CompressSink &sink_;
    uint64_t accumulator_ = 0;
    int pending_ = 0;
};

} // namespace pixkit
