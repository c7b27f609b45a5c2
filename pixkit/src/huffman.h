// Canonical Huffman codes of at most 16 bits: code lengths from symbol frequencies (the
// encoder), codes from lengths (both sides), and a table-driven decoder for the lengths a
// stream sends.
#pragma once

#include "bit_reader.h"

#include <cstdint>
#include <vector>

namespace pixkit::huffman {

constexpr int kMaxBits = 16;

// Fills lengths[0..count) with code lengths of at most kMaxBits for the given frequencies;
// symbols of frequency 0 get length 0. Returns the number of symbols that occur.
int BuildLengths(const uint32_t *frequencies, int count, uint8_t *lengths);

// Canonical codes: codes of one length are consecutive in symbol order, shorter codes first.
void BuildCodes(const uint8_t *lengths, int count, uint16_t *codes);

// Decodes symbols of one table. A table is either a single symbol (coded with no bits), empty
// (nothing can be decoded) or a complete prefix code.
class Decoder {
public:
    // False when the lengths over- or under-fill the code space (and are not all zero).
    bool Build(const uint8_t *lengths, int count);
    void BuildSingle(int symbol);
    // -1 when no symbol owns the bits or the input ran out.
    int Decode(BitReader &reader) const;

private:
    static constexpr int kFastBits = 10;
    int single_ = -1;
    bool empty_ = true;
    uint16_t countOfLength_[kMaxBits + 1] = {};
    std::vector<uint16_t> sortedSymbols_;
    // (symbol << 5) | length for codes of at most kFastBits bits; 0 sends decoding to the
    // bit-by-bit walk.
    uint32_t fast_[1u << kFastBits] = {};
};

} // namespace pixkit::huffman
