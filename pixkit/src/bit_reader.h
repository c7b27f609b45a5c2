// Reads a bit stream most significant bit first from a bounded byte range. Bytes are taken
// only as the bits are looked at, so the reader never looks more than two bytes past the
// last bit it consumes (a stream's 16-bit end mark covers that look-ahead when the caller
// cannot say where the stream ends). Bits beyond the range read as zero when peeked but can
// never be consumed: Skip and Read report the end.
#pragma once

#include <cstddef>
#include <cstdint>

namespace pixkit {

class BitReader {
public:
    BitReader(const uint8_t *data, size_t size) : next_(data), remaining_(size) {}

    // The next n bits (n <= 32) without consuming them.
    uint32_t Peek(int n)
    {
        Fill(n);
        return n == 0 ? 0 : static_cast<uint32_t>(buffer_ >> (64 - n));
    }

    bool Skip(int n)
    {
        Fill(n);
        if (n > available_)
            return false;
        buffer_ = n == 64 ? 0 : buffer_ << n;
        available_ -= n;
        return true;
    }

    bool Read(int n, uint32_t &value)
    {
        value = Peek(n);
        return Skip(n);
    }

private:
    void Fill(int n)
    {
        while (available_ < n && remaining_ > 0) {
            --remaining_;
            buffer_ |= static_cast<uint64_t>(*next_++) << (56 - available_);
            available_ += 8;
        }
    }

    const uint8_t *next_;
    size_t remaining_;      // bytes of the range not yet taken into the buffer
    uint64_t buffer_ = 0;   // the next bits, first bit at the top
    int available_ = 0;     // how many of them come from the range
};

} // namespace pixkit
