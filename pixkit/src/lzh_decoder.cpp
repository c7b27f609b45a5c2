// The block decompressor. It reads only the bytes it was handed and writes only the bytes it
// was asked for; every table a block sends is checked before it is used, so a corrupt stream
// ends with a result instead of running past its buffers.
#include "pixkit.h"

#include "bit_reader.h"
#include "huffman.h"
#include "lzh_format.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace pixkit::lzh {
namespace {

class BlockDecoder {
public:
    BlockDecoder(const uint8_t *src, size_t srcLen) : reader_(src, srcLen) {}

    int Run(uint8_t *dst, size_t dstLen)
    {
        size_t out = 0;
        uint32_t symbolsLeft = 0;
        while (out < dstLen) {
            if (symbolsLeft == 0) {
                if (!reader_.Read(16, symbolsLeft))
                    return PIXKIT_DECODE_TRUNCATED;
                if (const int status = ReadTables(); status != PIXKIT_DECODE_OK)
                    return status;
                continue;
            }
            --symbolsLeft;
            const int symbol = literals_.Decode(reader_);
            if (symbol < 0)
                return Failure();
            if (symbol < 256) {
                dst[out++] = static_cast<uint8_t>(symbol);
                continue;
            }
            const int code = positions_.Decode(reader_);
            if (code < 0)
                return Failure();
            size_t distance = 1;
            if (code > 0) {
                uint32_t extra = 0;
                if (!reader_.Read(code - 1, extra))
                    return PIXKIT_DECODE_TRUNCATED;
                distance = (size_t{1} << (code - 1)) + extra + 1;
            }
            // Byte by byte: an overlapping copy repeats the bytes it has just written. Bytes
            // before the start of the output are the dictionary's initial fill.
            const size_t length = std::min<size_t>(symbol - kLengthSymbolBase, dstLen - out);
            for (size_t i = 0; i < length; ++i, ++out)
                dst[out] = out >= distance ? dst[out - distance] : kDictionaryFill;
        }
        return PIXKIT_DECODE_OK;
    }

private:
    // A decode that failed either ran out of input or met bits that no symbol owns.
    int Failure() const
    {
        BitReader probe = reader_;
        return probe.Skip(huffman::kMaxBits) ? PIXKIT_DECODE_BAD_SYMBOL : PIXKIT_DECODE_TRUNCATED;
    }

    int ReadTables()
    {
        if (const int status = ReadSmallTable(kCodeLengthSymbols, kCodeLengthCountBits,
                                              kCodeLengthZeroRunAfter, codeLengths_);
            status != PIXKIT_DECODE_OK)
            return status;
        if (const int status = ReadLiteralTable(); status != PIXKIT_DECODE_OK)
            return status;
        return ReadSmallTable(kPositionSymbols, kPositionCountBits, -1, positions_);
    }

    // A table's entry count; a count of 0 is followed by the table's only symbol, which
    // makes the table at once.
    int ReadCount(int alphabet, int countBits, huffman::Decoder &table, uint32_t &count)
    {
        if (!reader_.Read(countBits, count))
            return PIXKIT_DECODE_TRUNCATED;
        if (count > static_cast<uint32_t>(alphabet))
            return PIXKIT_DECODE_BAD_TABLE;
        if (count != 0)
            return PIXKIT_DECODE_OK;
        uint32_t symbol = 0;
        if (!reader_.Read(countBits, symbol))
            return PIXKIT_DECODE_TRUNCATED;
        if (symbol >= static_cast<uint32_t>(alphabet))
            return PIXKIT_DECODE_BAD_TABLE;
        table.BuildSingle(static_cast<int>(symbol));
        return PIXKIT_DECODE_OK;
    }

    // The code-length and position tables: a count, then 3-bit lengths where 7 continues in
    // unary (7 = 1110, 8 = 11110, ...); the code-length table has a 2-bit run of zero
    // lengths after its third entry.
    int ReadSmallTable(int alphabet, int countBits, int zeroRunAfter, huffman::Decoder &table)
    {
        uint32_t count = 0;
        if (const int status = ReadCount(alphabet, countBits, table, count);
            status != PIXKIT_DECODE_OK || count == 0)
            return status;
        uint8_t lengths[kLiteralSymbols] = {};
        int i = 0;
        while (i < static_cast<int>(count)) {
            uint32_t length = 0;
            if (!reader_.Read(3, length))
                return PIXKIT_DECODE_TRUNCATED;
            if (length == 7) {
                uint32_t bit = 1;
                while (true) {
                    if (!reader_.Read(1, bit))
                        return PIXKIT_DECODE_TRUNCATED;
                    if (bit == 0)
                        break;
                    if (++length > huffman::kMaxBits)
                        return PIXKIT_DECODE_BAD_TABLE;
                }
            }
            lengths[i++] = static_cast<uint8_t>(length);
            if (i == zeroRunAfter) {
                uint32_t zeros = 0;
                if (!reader_.Read(2, zeros))
                    return PIXKIT_DECODE_TRUNCATED;
                // The run may reach past the count (a count of 3 is followed by its run), but
                // never past the alphabet.
                if (i + static_cast<int>(zeros) > alphabet)
                    return PIXKIT_DECODE_BAD_TABLE;
                i += static_cast<int>(zeros);
            }
        }
        return table.Build(lengths, alphabet) ? PIXKIT_DECODE_OK : PIXKIT_DECODE_BAD_TABLE;
    }

    // The literal table, coded with the code-length table: 0 = one zero length, 1 = 3..18
    // zero lengths (4 bits), 2 = 20..531 zero lengths (9 bits), k >= 3 = length k - 2.
    int ReadLiteralTable()
    {
        uint32_t count = 0;
        if (const int status = ReadCount(kLiteralSymbols, kLiteralCountBits, literals_, count);
            status != PIXKIT_DECODE_OK || count == 0)
            return status;
        uint8_t lengths[kLiteralSymbols] = {};
        uint32_t i = 0;
        while (i < count) {
            const int symbol = codeLengths_.Decode(reader_);
            if (symbol < 0)
                return Failure();
            if (symbol >= 3) {
                lengths[i++] = static_cast<uint8_t>(symbol - 2);
                continue;
            }
            uint32_t zeros = 1;
            if (symbol == 1) {
                if (!reader_.Read(4, zeros))
                    return PIXKIT_DECODE_TRUNCATED;
                zeros += 3;
            } else if (symbol == 2) {
                if (!reader_.Read(kLiteralCountBits, zeros))
                    return PIXKIT_DECODE_TRUNCATED;
                zeros += 20;
            }
            if (zeros > count - i)
                return PIXKIT_DECODE_BAD_TABLE;
            i += zeros;
        }
        return literals_.Build(lengths, kLiteralSymbols) ? PIXKIT_DECODE_OK
                                                         : PIXKIT_DECODE_BAD_TABLE;
    }

    BitReader reader_;
    huffman::Decoder codeLengths_;
    huffman::Decoder literals_;
    huffman::Decoder positions_;
};

} // namespace
} // namespace pixkit::lzh

extern "C" {

int pixkitDecompress(const void *src, size_t srcLen, void *dst, size_t dstLen)
{
    if (dstLen == 0)
        return PIXKIT_DECODE_OK;
    if (dst == nullptr || (src == nullptr && srcLen != 0))
        return PIXKIT_DECODE_BAD_ARGUMENT;
    try {
        pixkit::lzh::BlockDecoder decoder(static_cast<const uint8_t *>(src), srcLen);
        return decoder.Run(static_cast<uint8_t *>(dst), dstLen);
    } catch (...) {
        return PIXKIT_DECODE_BAD_ARGUMENT;
    }
}

int pixkitDecompressUnbounded(const void *src, void *dst, uint32_t outLen)
{
    // The caller did not say where its input ends: the bound is the end of the address space.
    const uintptr_t start = reinterpret_cast<uintptr_t>(src);
    return pixkitDecompress(src, std::numeric_limits<uintptr_t>::max() - start, dst, outLen);
}

} // extern "C"
