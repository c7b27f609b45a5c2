// The block compressor: LZ77 over a 2048-byte window with lazy matching (a match is taken
// only when the match starting one byte later is not longer), the items of a block coded
// with Huffman tables built from their own frequencies. Matches are found through hash
// chains of 3-byte prefixes, walked for at most kChainLimit candidates; the longest found
// wins and among equals the nearest.
#include "pixkit.h"

#include "compress_sink.h"
#include "huffman.h"
#include "lzh_format.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace pixkit::lzh {
namespace {

constexpr int kChainLimit = 128;
constexpr int kHashBits = 14;
// Items of a block are counted the way a byte buffer of 8192 bytes would hold them: a flag
// byte for every 8 items, 1 byte per literal, 3 per match; a block is sent when a new group
// of 8 would start past this mark.
constexpr uint32_t kBlockBytes = 8192 - 3 * 8;

struct Item {
    uint16_t symbol;
    uint16_t position;  // distance - 1, for matches
};

int BitLength(uint32_t value)
{
    return value == 0 ? 0 : 32 - __builtin_clz(value);
}

class MatchFinder {
public:
    MatchFinder(const uint8_t *data, uint32_t size)
        : data_(data), size_(size), head_(1u << kHashBits, -1), previous_(kDictionarySize, -1)
    {
    }

    // The longest match for `position` among earlier positions within the window (length 0
    // when there is none of at least kMinMatch bytes); then enters `position` in the chains.
    uint32_t FindAndInsert(uint32_t position, uint32_t &matchPosition)
    {
        const uint32_t limit = std::min(kMaxMatch, size_ - position);
        if (limit < kMinMatch)
            return 0;
        const uint32_t hash = Hash(position);
        uint32_t best = kMinMatch - 1;
        int32_t candidate = head_[hash];
        const uint8_t *here = data_ + position;
        for (int chain = kChainLimit; candidate >= 0 && chain > 0; --chain) {
            if (position - static_cast<uint32_t>(candidate) > kDictionarySize)
                break;
            const uint8_t *there = data_ + candidate;
            if (there[best] == here[best] && there[0] == here[0]) {
                uint32_t length = 1;
                while (length < limit && there[length] == here[length])
                    ++length;
                if (length > best) {
                    best = length;
                    matchPosition = static_cast<uint32_t>(candidate);
                    if (length == limit)
                        break;
                }
            }
            const int32_t next = previous_[candidate & (kDictionarySize - 1)];
            if (next >= candidate)
                break;
            candidate = next;
        }
        previous_[position & (kDictionarySize - 1)] = head_[hash];
        head_[hash] = static_cast<int32_t>(position);
        return best >= kMinMatch ? best : 0;
    }

    void Insert(uint32_t position)
    {
        if (size_ - position < kMinMatch)
            return;
        const uint32_t hash = Hash(position);
        previous_[position & (kDictionarySize - 1)] = head_[hash];
        head_[hash] = static_cast<int32_t>(position);
    }

private:
    uint32_t Hash(uint32_t position) const
    {
        const uint32_t v = data_[position] | (data_[position + 1] << 8) | (data_[position + 2] << 16);
        return (v * 2654435761u) >> (32 - kHashBits);
    }

    const uint8_t *data_;
    uint32_t size_;
    std::vector<int32_t> head_;
    std::vector<int32_t> previous_;
};

class BlockEncoder {
public:
    explicit BlockEncoder(CompressSink &sink) : bits_(sink) { items_.reserve(kBlockBytes); }

    void Literal(uint8_t byte) { Add({byte, 0}, 1); }

    void Match(uint32_t length, uint32_t position)
    {
        Add({static_cast<uint16_t>(length + kLengthSymbolBase), static_cast<uint16_t>(position)}, 3);
    }

    // Sends the last block and the end mark of 16 zero bits.
    void Finish()
    {
        SendBlock();
        bits_.Put(16, 0);
        bits_.Flush();
    }

private:
    void Add(Item item, uint32_t bytes)
    {
        if (items_.size() % 8 == 0) {
            if (bufferBytes_ >= kBlockBytes) {
                SendBlock();
                bufferBytes_ = 0;
            }
            ++bufferBytes_;
        }
        bufferBytes_ += bytes;
        items_.push_back(item);
    }

    void SendBlock()
    {
        uint32_t literalFrequency[kLiteralSymbols] = {};
        uint32_t positionFrequency[kPositionSymbols] = {};
        for (const Item &item : items_) {
            ++literalFrequency[item.symbol];
            if (item.symbol >= 256)
                ++positionFrequency[BitLength(item.position)];
        }
        bits_.Put(16, static_cast<uint32_t>(items_.size()));

        uint8_t literalLength[kLiteralSymbols];
        uint16_t literalCode[kLiteralSymbols];
        if (huffman::BuildLengths(literalFrequency, kLiteralSymbols, literalLength) >= 2) {
            WriteLiteralTable(literalLength);
        } else {
            // One symbol (or none): both tables in their single-symbol form.
            bits_.Put(kCodeLengthCountBits, 0);
            bits_.Put(kCodeLengthCountBits, 0);
            bits_.Put(kLiteralCountBits, 0);
            bits_.Put(kLiteralCountBits, items_.empty() ? 0 : items_.front().symbol);
        }
        huffman::BuildCodes(literalLength, kLiteralSymbols, literalCode);

        uint8_t positionLength[kPositionSymbols];
        uint16_t positionCode[kPositionSymbols];
        const int positionsUsed = huffman::BuildLengths(positionFrequency, kPositionSymbols, positionLength);
        WriteSmallTable(positionLength, kPositionSymbols, kPositionCountBits, -1, positionsUsed,
                        positionFrequency);
        huffman::BuildCodes(positionLength, kPositionSymbols, positionCode);

        for (const Item &item : items_) {
            bits_.Put(literalLength[item.symbol], literalCode[item.symbol]);
            if (item.symbol < 256)
                continue;
            const int c = BitLength(item.position);
            bits_.Put(positionLength[c], positionCode[c]);
            if (c > 1)
                bits_.Put(c - 1, item.position);
        }
        items_.clear();
    }

    // A table of up to 19 entries: its count, then each length in 3 bits (7 and more in unary
    // continuation), with the zero run after the third entry when zeroRunAfter is 3.
    void WriteSmallTable(const uint8_t *lengths, int alphabet, int countBits, int zeroRunAfter,
                         int used, const uint32_t *frequencies)
    {
        if (used < 2) {
            int only = 0;
            for (int s = 0; s < alphabet; ++s)
                if (frequencies[s] != 0)
                    only = s;
            bits_.Put(countBits, 0);
            bits_.Put(countBits, static_cast<uint32_t>(only));
            return;
        }
        int count = alphabet;
        while (count > 0 && lengths[count - 1] == 0)
            --count;
        bits_.Put(countBits, static_cast<uint32_t>(count));
        int i = 0;
        while (i < count) {
            const int length = lengths[i++];
            if (length <= 6)
                bits_.Put(3, static_cast<uint32_t>(length));
            else
                bits_.Put(length - 3, (1u << (length - 3)) - 2);
            if (i == zeroRunAfter) {
                while (i < 6 && lengths[i] == 0)
                    ++i;
                bits_.Put(2, static_cast<uint32_t>(i - zeroRunAfter));
            }
        }
    }

    // The literal table coded with the code-length table (zero runs folded into symbols
    // 0, 1 and 2).
    void WriteLiteralTable(const uint8_t *literalLength)
    {
        int count = kLiteralSymbols;
        while (count > 0 && literalLength[count - 1] == 0)
            --count;

        uint32_t frequency[kCodeLengthSymbols] = {};
        ForEachLengthSymbol(literalLength, count, [&](int symbol, int, uint32_t) { ++frequency[symbol]; });
        uint8_t length[kCodeLengthSymbols];
        uint16_t code[kCodeLengthSymbols];
        const int used = huffman::BuildLengths(frequency, kCodeLengthSymbols, length);
        WriteSmallTable(length, kCodeLengthSymbols, kCodeLengthCountBits, kCodeLengthZeroRunAfter,
                        used, frequency);
        huffman::BuildCodes(length, kCodeLengthSymbols, code);

        bits_.Put(kLiteralCountBits, static_cast<uint32_t>(count));
        ForEachLengthSymbol(literalLength, count, [&](int symbol, int extraBits, uint32_t extra) {
            bits_.Put(length[symbol], code[symbol]);
            if (extraBits > 0)
                bits_.Put(extraBits, extra);
        });
    }

    // Walks the literal lengths as code-length symbols with their extra bits.
    template <typename Emit>
    static void ForEachLengthSymbol(const uint8_t *lengths, int count, Emit emit)
    {
        int i = 0;
        while (i < count) {
            if (lengths[i] != 0) {
                emit(lengths[i++] + 2, 0, 0u);
                continue;
            }
            int run = 0;
            while (i < count && lengths[i] == 0) {
                ++run;
                ++i;
            }
            if (run <= 2) {
                for (int k = 0; k < run; ++k)
                    emit(0, 0, 0u);
            } else if (run <= 18) {
                emit(1, 4, static_cast<uint32_t>(run - 3));
            } else if (run == 19) {
                emit(0, 0, 0u);
                emit(1, 4, 15u);
            } else {
                emit(2, kLiteralCountBits, static_cast<uint32_t>(run - 20));
            }
        }
    }

    BitWriter bits_;
    std::vector<Item> items_;
    uint32_t bufferBytes_ = 0;
};

void Encode(const uint8_t *data, uint32_t size, CompressSink &sink)
{
    BlockEncoder encoder(sink);
    MatchFinder finder(data, size);
    uint32_t position = 0;
    uint32_t matchPosition = 0;
    uint32_t matchLength = size > 0 ? finder.FindAndInsert(0, matchPosition) : 0;
    while (position < size) {
        const uint32_t lastLength = matchLength;
        const uint32_t lastPosition = matchPosition;
        ++position;
        matchLength = position < size ? finder.FindAndInsert(position, matchPosition) : 0;
        if (matchLength > lastLength || lastLength < kMinMatch) {
            encoder.Literal(data[position - 1]);
            continue;
        }
        encoder.Match(lastLength, (position - lastPosition - 2) & (kDictionarySize - 1));
        // The match covers lastLength bytes from position - 1; every byte it covers still
        // enters the chains, and the search restarts at the first byte after it.
        const uint32_t end = position - 1 + lastLength;
        while (position + 1 < end)
            finder.Insert(++position);
        ++position;
        matchLength = position < size ? finder.FindAndInsert(position, matchPosition) : 0;
    }
    encoder.Finish();
}

} // namespace
} // namespace pixkit::lzh

extern "C" int pixkitCompress(const void *src, uint32_t srcLen, void **buffer, uint32_t *capacity,
                              PixkitCompressRecord *record)
{
    if (record == nullptr)
        return PIXKIT_MISSING_CALLBACK;
    record->compressedSize = 0;
    if (record->stream != nullptr ? record->write == nullptr : record->grow == nullptr)
        return PIXKIT_MISSING_CALLBACK;
    if (buffer == nullptr || *buffer == nullptr || capacity == nullptr || *capacity == 0 ||
        (src == nullptr && srcLen != 0))
        return PIXKIT_EXCEPTION;
    try {
        pixkit::CompressSink sink(buffer, capacity, *record);
        pixkit::lzh::Encode(static_cast<const uint8_t *>(src), srcLen, sink);
        const uint64_t produced = sink.Finish();
        if (produced > UINT32_MAX)
            return PIXKIT_EXCEPTION;
        record->compressedSize = static_cast<uint32_t>(produced);
        return PIXKIT_OK;
    } catch (...) {
        return PIXKIT_EXCEPTION;
    }
}
