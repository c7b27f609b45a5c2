// The parameters of the block compression format shared by its encoder and decoder: an
// LZ77 coder over a 2048-byte dictionary whose literals, match lengths and match distances
// are coded with static canonical Huffman tables sent at the start of every block.
#pragma once

#include <cstdint>

namespace pixkit::lzh {

constexpr int kDictionaryBits = 11;
constexpr uint32_t kDictionarySize = 1u << kDictionaryBits;  // distances 1..2048
constexpr uint32_t kMinMatch = 3;
constexpr uint32_t kMaxMatch = 255;
constexpr uint8_t kDictionaryFill = 0x20;                     // the decoder's initial bytes

// Literal-and-length alphabet: bytes 0..255, then match lengths 3..255 as length + 253.
constexpr int kLiteralSymbols = 256 + kMaxMatch - kMinMatch + 1;   // 509
constexpr int kLengthSymbolBase = 256 - kMinMatch;                  // symbol = length + 253
// Position alphabet: code c stands for distance 1 (c = 0) or 2^(c-1) + (c-1 more bits) + 1.
constexpr int kPositionSymbols = kDictionaryBits + 1;               // 12
// Code-length alphabet that codes the literal table: 0..2 zero runs, 3..18 lengths 1..16.
constexpr int kCodeLengthSymbols = 19;

constexpr int kLiteralCountBits = 9;
constexpr int kCodeLengthCountBits = 5;
constexpr int kPositionCountBits = 4;
constexpr int kMaxCodeLength = 16;
// After this many code-length-table entries two bits give a run of zero lengths.
constexpr int kCodeLengthZeroRunAfter = 3;

} // namespace pixkit::lzh
