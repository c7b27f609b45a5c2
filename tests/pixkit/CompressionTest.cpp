// The block compressor and decompressor: round trips, streams built bit by bit, corrupt
// streams refused with their result, and the compressor's two kinds of output.
#include "pixkit.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

// Builds a stream most significant bit first.
class Bits {
public:
    void Put(int count, uint32_t value)
    {
        for (int i = count - 1; i >= 0; --i) {
            if (used_ % 8 == 0)
                bytes_.push_back(0);
            if ((value >> i) & 1)
                bytes_.back() |= static_cast<uint8_t>(0x80 >> (used_ % 8));
            ++used_;
        }
    }
    const Bytes &bytes() const { return bytes_; }

private:
    Bytes bytes_;
    size_t used_ = 0;
};

// Canonical code of every symbol from its length.
std::vector<uint32_t> CanonicalCodes(const std::vector<int> &lengths)
{
    uint32_t next[18] = {};
    int count[17] = {};
    for (int len : lengths)
        ++count[len];
    count[0] = 0;
    for (int len = 1; len <= 16; ++len)
        next[len + 1] = (next[len] + count[len]) << 1;
    std::vector<uint32_t> codes(lengths.size());
    for (size_t s = 0; s < lengths.size(); ++s)
        if (lengths[s] != 0)
            codes[s] = next[lengths[s]]++;
    return codes;
}

// A length entry of the code-length and position tables.
void PutLength(Bits &bits, int length)
{
    if (length < 7)
        bits.Put(3, length);
    else
        bits.Put(length - 3, (1u << (length - 3)) - 2);
}

void PutSingle(Bits &bits, int countBits, int symbol)
{
    bits.Put(countBits, 0);
    bits.Put(countBits, symbol);
}

// The literal table sent through a code-length table where symbols 0..15 have 4 bits each.
void PutLiteralTable(Bits &bits, const std::vector<int> &lengths)
{
    bits.Put(5, 16);
    for (int i = 0; i < 16; ++i) {
        PutLength(bits, 4);
        if (i == 2)
            bits.Put(2, 0);
    }
    int count = static_cast<int>(lengths.size());
    while (count > 0 && lengths[count - 1] == 0)
        --count;
    bits.Put(9, count);
    for (int i = 0; i < count;) {
        if (lengths[i] != 0) {
            bits.Put(4, lengths[i++] + 2);
            continue;
        }
        int run = 0;
        while (i + run < count && lengths[i + run] == 0)
            ++run;
        if (run >= 20) {
            bits.Put(4, 2);
            bits.Put(9, run - 20);
        } else if (run >= 3) {
            run = std::min(run, 18);
            bits.Put(4, 1);
            bits.Put(4, run - 3);
        } else {
            run = 1;
            bits.Put(4, 0);
        }
        i += run;
    }
}

std::vector<int> LiteralLengths(std::initializer_list<std::pair<int, int>> symbolLengths)
{
    std::vector<int> lengths(509, 0);
    for (auto [symbol, length] : symbolLengths)
        lengths[symbol] = length;
    return lengths;
}

int Decode(const Bytes &stream, Bytes &out)
{
    return pixkitDecompress(stream.data(), stream.size(), out.data(), out.size());
}

void *Realloc(void *buffer, size_t size)
{
    return std::realloc(buffer, size);
}

Bytes Compress(const Bytes &data)
{
    uint32_t capacity = 1;
    void *buffer = std::malloc(capacity);
    PixkitCompressRecord record{nullptr, nullptr, &Realloc, 0};
    const int result = pixkitCompress(data.data(), static_cast<uint32_t>(data.size()), &buffer,
                                      &capacity, &record);
    EXPECT_EQ(result, PIXKIT_OK);
    const auto *begin = static_cast<const uint8_t *>(buffer);
    Bytes out(begin, begin + record.compressedSize);
    std::free(buffer);
    return out;
}

Bytes Expand(const Bytes &stream, size_t size)
{
    Bytes out(size, 0xEE);
    EXPECT_EQ(Decode(stream, out), PIXKIT_DECODE_OK);
    return out;
}

Bytes Text(const std::string &text)
{
    return Bytes(text.begin(), text.end());
}

Bytes RandomBytes(size_t size, uint32_t seed, int alphabet)
{
    std::mt19937 random(seed);
    Bytes out(size);
    for (auto &b : out)
        b = static_cast<uint8_t>(random() % alphabet);
    return out;
}

// An event-stream-like mix: repeated packet headers, small varying coordinates.
Bytes PacketLike(size_t size)
{
    std::mt19937 random(7);
    Bytes out;
    int x = 500, y = 400;
    while (out.size() < size) {
        x += static_cast<int>(random() % 7) - 3;
        y += static_cast<int>(random() % 7) - 3;
        const uint8_t packet[] = {17, 2, static_cast<uint8_t>(x), static_cast<uint8_t>(x >> 8),
                                  static_cast<uint8_t>(y), static_cast<uint8_t>(y >> 8),
                                  static_cast<uint8_t>(random() % 256), 0};
        out.insert(out.end(), std::begin(packet), std::end(packet));
    }
    out.resize(size);
    return out;
}

TEST(Compression, RoundTripsKeepEveryByte)
{
    Bytes distinct(256);
    for (int i = 0; i < 256; ++i)
        distinct[i] = static_cast<uint8_t>(i * 37 + 11);
    Bytes farRepeat = RandomBytes(3000, 3, 256);
    farRepeat.insert(farRepeat.end(), farRepeat.begin(), farRepeat.begin() + 3000);
    const struct {
        const char *name;
        Bytes data;
    } cases[] = {
        {"one byte", Text("a")},
        {"two bytes", Text("ab")},
        {"every byte distinct", distinct},
        {"1000 equal bytes", Bytes(1000, 'q')},
        {"spaces", Bytes(5000, ' ')},
        {"text", Text("the quick brown fox jumps over the lazy dog; the quick brown fox again")},
        {"random", RandomBytes(200000, 1, 256)},
        {"few symbols", RandomBytes(100000, 2, 3)},
        {"repeat beyond the window", farRepeat},
        {"packets", PacketLike(65536)},
        {"several blocks", PacketLike(300000)},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const Bytes stream = Compress(c.data);
        EXPECT_EQ(Expand(stream, c.data.size()), c.data);
        Bytes viaOrdinal(c.data.size());
        auto *ordinal9 = reinterpret_cast<int (*)(const void *, void *, uint32_t)>(pixkitOrdinal(9));
        ASSERT_NE(ordinal9, nullptr);
        EXPECT_EQ(ordinal9(stream.data(), viaOrdinal.data(), static_cast<uint32_t>(viaOrdinal.size())), 0);
        EXPECT_EQ(viaOrdinal, c.data);
    }
}

TEST(Compression, ZeroBytesGiveAnEmptyBlockAndTheEndMark)
{
    // 16 bits of symbol count 0, both tables in single-symbol form (5+5+9+9 bits), the
    // position table likewise (4+4), then 16 zero bits: 68 bits in 9 bytes.
    EXPECT_EQ(Compress({}), Bytes(9, 0));
}

TEST(Compression, RepeatsBecomeOverlappingMatches)
{
    EXPECT_LT(Compress(Bytes(1000, 'q')).size(), 16u);
    const Bytes distinct = RandomBytes(256, 9, 256);
    EXPECT_GT(Compress(distinct).size(), 200u);
}

TEST(Decompression, SingleSymbolTableNeedsNoBits)
{
    Bits bits;
    bits.Put(16, 7);
    PutSingle(bits, 5, 0);
    PutSingle(bits, 9, 'x');
    PutSingle(bits, 4, 0);
    Bytes out(7);
    ASSERT_EQ(Decode(bits.bytes(), out), PIXKIT_DECODE_OK);
    EXPECT_EQ(out, Text("xxxxxxx"));
}

TEST(Decompression, MatchAtTheStartCopiesTheInitialSpaces)
{
    Bits bits;
    bits.Put(16, 2);
    PutLiteralTable(bits, LiteralLengths({{'A', 1}, {5 + 253, 1}}));
    PutSingle(bits, 4, 0);          // every match at distance 1
    bits.Put(1, 1);                 // match of 5
    bits.Put(1, 0);                 // 'A'
    Bytes out(6);
    ASSERT_EQ(Decode(bits.bytes(), out), PIXKIT_DECODE_OK);
    EXPECT_EQ(out, Text("     A"));
}

TEST(Decompression, RunOfAThousandBytesFromOneLiteral)
{
    // 'z', then matches of distance 1: 255 + 255 + 255 + 234 bytes.
    Bits bits;
    bits.Put(16, 5);
    const auto lengths = LiteralLengths({{'z', 1}, {255 + 253, 2}, {234 + 253, 2}});
    PutLiteralTable(bits, lengths);
    PutSingle(bits, 4, 0);
    const auto codes = CanonicalCodes(lengths);
    bits.Put(1, codes['z']);
    for (int i = 0; i < 3; ++i)
        bits.Put(2, codes[255 + 253]);
    bits.Put(2, codes[234 + 253]);
    bits.Put(16, 0);
    Bytes out(1000);
    ASSERT_EQ(Decode(bits.bytes(), out), PIXKIT_DECODE_OK);
    EXPECT_EQ(out, Bytes(1000, 'z'));
}

TEST(Decompression, DistancesFromPositionCodes)
{
    // "abcd", then a match of 3 at distance 4: position code 2 with extra bit 1 stands for
    // 2^1 + 1 + 1.
    Bits bits;
    bits.Put(16, 5);
    const auto lengths = LiteralLengths({{'a', 2}, {'b', 2}, {'c', 3}, {'d', 3}, {3 + 253, 2}});
    PutLiteralTable(bits, lengths);
    // Position table: codes 0..2 with lengths 1, 2, 2 (after the third entry a zero run of 0).
    bits.Put(4, 3);
    PutLength(bits, 1);
    PutLength(bits, 2);
    PutLength(bits, 2);
    const auto codes = CanonicalCodes(lengths);
    for (char ch : std::string("abcd"))
        bits.Put(lengths[ch], codes[ch]);
    bits.Put(2, codes[3 + 253]);
    bits.Put(2, 0b11);              // position code 2 (canonical codes 0, 10, 11)
    bits.Put(1, 1);                 // its extra bit
    Bytes out(7);
    ASSERT_EQ(Decode(bits.bytes(), out), PIXKIT_DECODE_OK);
    EXPECT_EQ(out, Text("abcdabc"));
}

// A block whose code-length table has three entries.
void PutThreeLengthTable(Bits &bits, int a, int b, int c)
{
    bits.Put(16, 1);
    bits.Put(5, 3);
    for (int length : {a, b, c})
        PutLength(bits, length);
    bits.Put(2, 0);
}

TEST(Decompression, CorruptStreamsAreRefused)
{
    const struct {
        const char *name;
        void (*build)(Bits &);
        int expected;
    } cases[] = {
        {"code-length count beyond 19",
         [](Bits &b) { b.Put(16, 1); b.Put(5, 20); }, PIXKIT_DECODE_BAD_TABLE},
        {"literal count beyond 509",
         [](Bits &b) { b.Put(16, 1); PutSingle(b, 5, 3); b.Put(9, 510); }, PIXKIT_DECODE_BAD_TABLE},
        {"position count beyond 12",
         [](Bits &b) { b.Put(16, 1); PutSingle(b, 5, 0); PutSingle(b, 9, 'a'); b.Put(4, 13); },
         PIXKIT_DECODE_BAD_TABLE},
        {"single code-length symbol outside its alphabet",
         [](Bits &b) { b.Put(16, 1); PutSingle(b, 5, 19); }, PIXKIT_DECODE_BAD_TABLE},
        {"single literal outside its alphabet",
         [](Bits &b) { b.Put(16, 1); PutSingle(b, 5, 0); PutSingle(b, 9, 509); }, PIXKIT_DECODE_BAD_TABLE},
        {"single position outside its alphabet",
         [](Bits &b) { b.Put(16, 1); PutSingle(b, 5, 0); PutSingle(b, 9, 'a'); PutSingle(b, 4, 12); },
         PIXKIT_DECODE_BAD_TABLE},
        {"zero run past the literal count",
         [](Bits &b) {
             b.Put(16, 1);
             PutSingle(b, 5, 2);    // every literal-table entry is a long zero run
             b.Put(9, 10);
             b.Put(9, 0);           // 20 zeros where 10 entries were announced
         },
         PIXKIT_DECODE_BAD_TABLE},
        {"code length above 16",
         [](Bits &b) { b.Put(16, 1); b.Put(5, 1); b.Put(3, 7); b.Put(10, 0x3FF); b.Put(1, 0); },
         PIXKIT_DECODE_BAD_TABLE},
        {"lengths that overfill the code space",
         [](Bits &b) { PutThreeLengthTable(b, 1, 1, 1); }, PIXKIT_DECODE_BAD_TABLE},
        {"lengths that leave codes unowned",
         [](Bits &b) { PutThreeLengthTable(b, 1, 2, 0); }, PIXKIT_DECODE_BAD_TABLE},
        {"input exhausted in the symbols",
         [](Bits &b) { b.Put(16, 100); PutLiteralTable(b, LiteralLengths({{'a', 1}, {'b', 1}})); PutSingle(b, 4, 0); },
         PIXKIT_DECODE_TRUNCATED},
        {"input exhausted in the header", [](Bits &b) { b.Put(8, 0); }, PIXKIT_DECODE_TRUNCATED},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        Bits bits;
        c.build(bits);
        Bytes out(100);
        EXPECT_EQ(Decode(bits.bytes(), out), c.expected);
    }
}

TEST(Decompression, DamagedStreamsStayInsideTheirBuffers)
{
    const Bytes data = PacketLike(20000);
    const Bytes stream = Compress(data);
    std::mt19937 random(11);
    for (int trial = 0; trial < 300; ++trial) {
        Bytes damaged = stream;
        damaged.resize(random() % (stream.size() + 1));
        for (int k = 0; k < 3 && !damaged.empty(); ++k)
            damaged[random() % damaged.size()] ^= static_cast<uint8_t>(1 + random() % 255);
        // An exact-size heap copy lets the sanitizers see any read past the end.
        auto copy = std::make_unique<uint8_t[]>(damaged.size());
        std::memcpy(copy.get(), damaged.data(), damaged.size());
        Bytes out(data.size());
        pixkitDecompress(copy.get(), damaged.size(), out.data(), out.size());
    }
}

// ---- the compressor's output ---------------------------------------------------------

struct StreamCapture {
    Bytes written;
    int calls = 0;
    int failAtCall = -1;
    bool failLastPiece = false;  // the final, partly filled staging buffer
};

size_t CaptureWrite(const void *buffer, size_t byteCount, size_t itemCount, void *stream)
{
    auto *capture = static_cast<StreamCapture *>(stream);
    const int call = capture->calls++;
    if (call == capture->failAtCall || (capture->failLastPiece && byteCount < 4096))
        return 0;
    const auto *bytes = static_cast<const uint8_t *>(buffer);
    capture->written.insert(capture->written.end(), bytes, bytes + byteCount * itemCount);
    return itemCount;
}

void *RefuseGrowth(void *, size_t)
{
    return nullptr;
}

TEST(CompressorOutput, MemoryOutputGrowsInSteps)
{
    const Bytes data = RandomBytes(50000, 5, 256);
    uint32_t capacity = 1;
    void *buffer = std::malloc(capacity);
    PixkitCompressRecord record{nullptr, nullptr, &Realloc, 0};
    ASSERT_EQ(pixkitCompress(data.data(), 50000, &buffer, &capacity, &record), PIXKIT_OK);
    EXPECT_EQ(capacity % 4096, 1u);
    EXPECT_GE(capacity, record.compressedSize);
    EXPECT_LT(capacity - record.compressedSize, 4097u);
    std::free(buffer);
}

TEST(CompressorOutput, StreamOutputMatchesMemoryOutput)
{
    const Bytes data = PacketLike(100000);
    StreamCapture capture;
    Bytes staging(16384);
    void *buffer = staging.data();
    uint32_t capacity = 16384;
    PixkitCompressRecord record{&capture, &CaptureWrite, nullptr, 0};
    auto *ordinal8 = reinterpret_cast<decltype(&pixkitCompress)>(pixkitOrdinal(8));
    ASSERT_EQ(ordinal8, &pixkitCompress);
    ASSERT_EQ(ordinal8(data.data(), 100000, &buffer, &capacity, &record), PIXKIT_OK);
    EXPECT_EQ(capture.written, Compress(data));
    EXPECT_EQ(record.compressedSize, capture.written.size());
    EXPECT_EQ(capture.calls, static_cast<int>((capture.written.size() + 16383) / 16384));
}

TEST(CompressorOutput, RefusedOutputFailsTheCall)
{
    const Bytes data = RandomBytes(40000, 6, 256);
    Bytes staging(4096);
    struct Case {
        const char *name;
        uint32_t capacity;
        bool stream;
        int failAtCall;
        int expected;
    };
    const Case cases[] = {
        {"capacity 0 to memory", 0, false, -1, PIXKIT_EXCEPTION},
        {"capacity 0 to a stream", 0, true, -1, PIXKIT_EXCEPTION},
        {"grow callback refuses", 1, false, -1, PIXKIT_EXCEPTION},
        {"short write while full", 4096, true, 0, PIXKIT_EXCEPTION},
        {"short write at the end", 4096, true, -2, PIXKIT_EXCEPTION},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        StreamCapture capture;
        capture.failAtCall = c.failAtCall;
        capture.failLastPiece = c.failAtCall == -2;
        void *buffer = staging.data();
        uint32_t capacity = c.capacity;
        PixkitCompressRecord record{c.stream ? &capture : nullptr, c.stream ? &CaptureWrite : nullptr,
                                    c.stream ? nullptr : &RefuseGrowth, 123};
        EXPECT_EQ(pixkitCompress(data.data(), 40000, &buffer, &capacity, &record), c.expected);
        EXPECT_EQ(record.compressedSize, 0u);
        EXPECT_EQ(buffer, staging.data());
    }
}

TEST(CompressorOutput, MissingCallbackIsRefusedFirst)
{
    Bytes staging(16);
    void *buffer = staging.data();
    uint32_t capacity = 16;
    int stream = 0;
    PixkitCompressRecord toStream{&stream, nullptr, &Realloc, 0};
    PixkitCompressRecord toMemory{nullptr, &CaptureWrite, nullptr, 0};
    EXPECT_EQ(pixkitCompress("abc", 3, &buffer, &capacity, &toStream), PIXKIT_MISSING_CALLBACK);
    EXPECT_EQ(pixkitCompress("abc", 3, &buffer, &capacity, &toMemory), PIXKIT_MISSING_CALLBACK);
}

} // namespace
