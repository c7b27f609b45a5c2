// BMP reading and writing and bmpConv32: files built byte by byte for each header decision
// and each damaged field, round trips through the writer, and the BMPs of the shared data.
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <cstring>
#include <optional>

namespace {

using namespace pixkit_test;

struct BmpLayout {
    int32_t width = 2;
    int32_t height = 2;
    int bitCount = 24;
    uint32_t compression = 0;
    std::vector<uint32_t> table{};      // entries 0x00RRGGBB (or the three masks)
    std::optional<uint32_t> clrUsed{};  // default: the table's size
    bool coreHeader = false;
    std::optional<uint32_t> fileSize{}; // default: the true size
    uint32_t sizeImage = 0;
    int32_t pixelsPerMeter = 0;
    Bytes pixels{};                     // default: stride x rows of a counting pattern
};

void Put32(Bytes &out, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

void Put16(Bytes &out, uint32_t v)
{
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

size_t Stride(const BmpLayout &s)
{
    return ((static_cast<size_t>(s.width) * s.bitCount + 31) / 32) * 4;
}

Bytes BuildBmp(BmpLayout s)
{
    if (s.pixels.empty()) {
        s.pixels.resize(Stride(s) * std::abs(s.height));
        for (size_t i = 0; i < s.pixels.size(); ++i)
            s.pixels[i] = static_cast<uint8_t>(i * 13 + 1);
    }
    Bytes header;
    if (s.coreHeader) {
        Put32(header, 12);
        Put16(header, s.width);
        Put16(header, s.height);
        Put16(header, 1);
        Put16(header, s.bitCount);
        for (uint32_t colour : s.table)
            for (int i = 0; i < 3; ++i)
                header.push_back(static_cast<uint8_t>(colour >> (8 * i)));
    } else {
        Put32(header, 40);
        Put32(header, s.width);
        Put32(header, s.height);
        Put16(header, 1);
        Put16(header, s.bitCount);
        Put32(header, s.compression);
        Put32(header, s.sizeImage);
        Put32(header, s.pixelsPerMeter);
        Put32(header, s.pixelsPerMeter);
        Put32(header, s.clrUsed.value_or(s.compression == 3 ? 0 : s.table.size()));
        Put32(header, 0);
        for (uint32_t colour : s.table)
            Put32(header, colour);
    }
    Bytes out = {'B', 'M'};
    const uint32_t offset = static_cast<uint32_t>(14 + header.size());
    Put32(out, s.fileSize.value_or(static_cast<uint32_t>(offset + s.pixels.size())));
    Put32(out, 0);
    Put32(out, offset);
    out.insert(out.end(), header.begin(), header.end());
    out.insert(out.end(), s.pixels.begin(), s.pixels.end());
    return out;
}

class BmpFiles : public ::testing::Test {
protected:
    std::string Write(const Bytes &bytes)
    {
        const std::string name = folder_.File("image" + std::to_string(count_++) + ".bmp");
        WriteWholeFile(name, bytes);
        return name;
    }
    ScratchFolder folder_;
    int count_ = 0;
};

TEST_F(BmpFiles, HeaderDecisions)
{
    BmpLayout damagedSizeImage;
    damagedSizeImage.sizeImage = 0x7FFFFFF0;    // must not change the stride or the reads
    BmpLayout longFile;
    longFile.fileSize = 100000;                 // stated larger than the file
    BmpLayout shortFileSize;
    shortFileSize.fileSize = 20;                // smaller than the headers and the pixels
    BmpLayout tooManyColours;
    tooManyColours.bitCount = 1;
    tooManyColours.table = {0x000000, 0xFFFFFF, 0x123456};  // more entries than 2^1
    BmpLayout hugeColourCount;
    hugeColourCount.bitCount = 8;
    hugeColourCount.clrUsed = 0x40000000;
    BmpLayout hugeImage;
    hugeImage.width = 30000;
    hugeImage.height = 30000;
    hugeImage.bitCount = 32;
    hugeImage.pixels = Bytes(64);
    BmpLayout truncated;
    truncated.pixels = Bytes(5);
    BmpLayout rle;
    rle.bitCount = 8;
    rle.compression = 1;
    rle.table = {0, 0xFFFFFF};
    BmpLayout bitFields24;
    bitFields24.compression = 3;
    bitFields24.table = {0xFF0000, 0xFF00, 0xFF};
    BmpLayout badBitCount;
    badBitCount.bitCount = 2;
    BmpLayout zeroWidth;
    zeroWidth.width = 0;

    const struct {
        const char *name;
        BmpLayout layout;
        int expected;
    } cases[] = {
        {"wrong image-size field", damagedSizeImage, 0},
        {"file size stated larger than the file", longFile, 0},
        {"file size smaller than headers and pixels", shortFileSize, 1},
        {"colour table larger than 2^bit count", tooManyColours, 0},
        {"colour count beyond the file", hugeColourCount, 1},
        {"image larger than the file", hugeImage, 1},
        {"pixels cut short", truncated, 1},
        {"run-length compression", rle, 1},
        {"bit fields on 24 bits", bitFields24, 1},
        {"bit count 2", badBitCount, 1},
        {"width 0", zeroWidth, 1},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const std::string name = Write(BuildBmp(c.layout));
        DibPair dib;
        EXPECT_EQ(bmpGetImage(name.c_str(), &dib.header, &dib.pixels), c.expected);
        PixkitImageType type{};
        EXPECT_EQ(bmpGetType(name.c_str(), &type), c.expected);
        if (c.expected == 0) {
            EXPECT_EQ(dib.info().sizeImage, Stride(c.layout) * 2);
            EXPECT_LE(dib.info().clrUsed, c.layout.bitCount <= 8 ? 1u << c.layout.bitCount : 0u);
        } else {
            EXPECT_EQ(dib.header, nullptr);
            EXPECT_EQ(dib.pixels, nullptr);
        }
    }
}

TEST_F(BmpFiles, FilesThatAreNotBmps)
{
    Bytes ddb = BuildBmp({});
    ddb[0] = ddb[1] = 0;
    Bytes other = BuildBmp({});
    other[0] = 'X';
    DibPair dib;
    EXPECT_EQ(bmpGetImage(Write(ddb).c_str(), &dib.header, &dib.pixels), 1);
    EXPECT_EQ(bmpGetImage(Write(other).c_str(), &dib.header, &dib.pixels), 1);
    EXPECT_EQ(bmpGetImage(Write({'B', 'M', 0}).c_str(), &dib.header, &dib.pixels), 1);
    EXPECT_EQ(bmpGetImage(folder_.File("missing.bmp").c_str(), &dib.header, &dib.pixels), 16);
    PixkitImageType type{};
    EXPECT_EQ(bmpGetType(folder_.File("missing.bmp").c_str(), &type), 16);
}

TEST_F(BmpFiles, OneBitImageTakesItsTwoColours)
{
    BmpLayout s;
    s.width = 3;
    s.bitCount = 1;
    s.table = {0x102030, 0xF0E0D0};
    s.pixels = {0b10100000, 0, 0, 0, 0b01000000, 0, 0, 0};   // bottom row first
    DibPair dib;
    ASSERT_EQ(bmpGetImage(Write(BuildBmp(s)).c_str(), &dib.header, &dib.pixels), 0);
    const std::vector<uint32_t> expected = {0xFF102030, 0xFFF0E0D0, 0xFF102030,
                                            0xFFF0E0D0, 0xFF102030, 0xFFF0E0D0};
    EXPECT_EQ(dib.Pixels32(), expected);
}

TEST_F(BmpFiles, CoreHeaderHasThreeBytePaletteEntries)
{
    BmpLayout s;
    s.coreHeader = true;
    s.width = 2;
    s.height = 1;
    s.bitCount = 4;
    s.table.resize(16);
    for (uint32_t i = 0; i < 16; ++i)
        s.table[i] = i * 0x010101 + 0x000100 * i;
    s.pixels = {0x3F, 0, 0, 0};
    DibPair dib;
    ASSERT_EQ(bmpGetImage(Write(BuildBmp(s)).c_str(), &dib.header, &dib.pixels), 0);
    EXPECT_EQ(dib.info().size, 40u);
    EXPECT_EQ(dib.Pixels32(), (std::vector<uint32_t>{0xFF000000 | s.table[3], 0xFF000000 | s.table[15]}));
}

TEST_F(BmpFiles, NegativeHeightIsTopDown)
{
    BmpLayout s;
    s.width = 1;
    s.height = -2;
    s.pixels = {1, 2, 3, 0, 4, 5, 6, 0};    // first stored row is the top
    DibPair dib;
    ASSERT_EQ(bmpGetImage(Write(BuildBmp(s)).c_str(), &dib.header, &dib.pixels), 0);
    EXPECT_EQ(dib.Pixels32(), (std::vector<uint32_t>{0xFF030201, 0xFF060504}));
    PixkitImageType type{};
    ASSERT_EQ(bmpGetType(Write(BuildBmp(s)).c_str(), &type), 0);
    EXPECT_EQ(type.height, 2);
}

TEST_F(BmpFiles, BitFieldMasksAreHonoured)
{
    const struct {
        const char *name;
        BmpLayout layout;
        std::vector<uint32_t> expected;
    } cases[] = {
        {"565",     // pure red, pure green
         {.width = 2, .height = 1, .bitCount = 16, .compression = 3, .table = {0xF800, 0x07E0, 0x001F},
          .pixels = {0x00, 0xF8, 0xE0, 0x07}},
         {0xFFFF0000, 0xFF00FF00}},
        {"32-bit with red in the low byte",     // red 0x11, green 0x22, blue 0x33, alpha 0x80
         {.width = 1, .height = 1, .bitCount = 32, .compression = 3,
          .table = {0x000000FF, 0x0000FF00, 0x00FF0000}, .pixels = {0x11, 0x22, 0x33, 0x80}},
         {0x80112233}},
        {"16-bit without masks is 555",     // 0x7C1F: red 31, green 0, blue 31
         {.width = 1, .height = 1, .bitCount = 16, .pixels = {0x1F, 0x7C, 0, 0}},
         {0xFFFF00FF}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        DibPair dib;
        ASSERT_EQ(bmpGetImage(Write(BuildBmp(c.layout)).c_str(), &dib.header, &dib.pixels), 0);
        EXPECT_EQ(dib.Pixels32(), c.expected);
    }
}

TEST_F(BmpFiles, TypeRecordTakesTheResolution)
{
    BmpLayout s;
    s.pixelsPerMeter = 3780;    // 96 dpi
    PixkitImageType type{};
    ASSERT_EQ(bmpGetType(Write(BuildBmp(s)).c_str(), &type), 0);
    EXPECT_EQ(type.bitCount, 24);
    EXPECT_EQ(type.kind, 0);
    EXPECT_EQ(type.width, 2);
    EXPECT_EQ(type.height, 2);
    EXPECT_EQ(type.xDpi, 96);
    EXPECT_EQ(type.yDpi, 96);
}

TEST_F(BmpFiles, WriterRoundTripsEveryBitCount)
{
    const struct {
        int bitCount;
        std::vector<uint32_t> table;
        bool bitFields;
    } cases[] = {
        {1, {0x000000, 0xFFFFFF}, false},
        {4, std::vector<uint32_t>(16, 0x336699), false},
        {8, std::vector<uint32_t>(200, 0x112233), false},
        {16, {0xF800, 0x07E0, 0x001F}, true},
        {24, {}, false},
        {32, {}, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.bitCount);
        const Bytes header = MakeHeader(5, -3, c.bitCount, c.table, c.bitFields);
        const Bytes pixels = PatternPixels(5, 3, c.bitCount, 7);
        const std::string name = folder_.File("saved.bmp");
        ASSERT_EQ(bmpSaveImage(name.c_str(), header.data(), pixels.data()), 0);
        DibPair dib;
        ASSERT_EQ(bmpGetImage(name.c_str(), &dib.header, &dib.pixels), 0);
        EXPECT_EQ(dib.info().height, -3);
        EXPECT_EQ(std::memcmp(dib.header, header.data(), 16), 0);
        EXPECT_EQ(std::memcmp(static_cast<uint8_t *>(dib.header) + 40, header.data() + 40, header.size() - 40), 0);
        EXPECT_EQ(Bytes(static_cast<uint8_t *>(dib.pixels), static_cast<uint8_t *>(dib.pixels) + pixels.size()), pixels);
    }
    // Only the saved file is left in the folder: the temporary one was renamed.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder_.path()), {}), 1);
}

TEST_F(BmpFiles, RefusedSaveKeepsTheOldFile)
{
    const std::string name = Write(BuildBmp({}));
    const Bytes before = ReadWholeFile(name);
    const Bytes bad = MakeHeader(5, 3, 2);
    const Bytes pixels(64);
    EXPECT_EQ(bmpSaveImage(name.c_str(), bad.data(), pixels.data()), 6);
    EXPECT_EQ(bmpSaveImage(folder_.File("no/such/folder.bmp").c_str(), MakeHeader(1, 1, 24).data(), pixels.data()), 1);
    EXPECT_EQ(ReadWholeFile(name), before);
}

TEST(BmpConv32, CropsAndLeavesTheRestUntouched)
{
    const Bytes header = MakeHeader(3, 2, 24);
    const Bytes pixels = {1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 0, 0,      // bottom row
                          11, 12, 13, 14, 15, 16, 17, 18, 19, 0, 0, 0};
    std::vector<uint32_t> small(2, 0);
    ASSERT_EQ(bmpConv32(header.data(), pixels.data(), 2, 1, small.data()), 0);
    EXPECT_EQ(small, (std::vector<uint32_t>{0xFF0D0C0B, 0xFF100F0E}));
    std::vector<uint32_t> large(4 * 3, 0xDEADBEEF);
    ASSERT_EQ(bmpConv32(header.data(), pixels.data(), 4, 3, large.data()), 0);
    EXPECT_EQ(large[0], 0xFF0D0C0Bu);
    EXPECT_EQ(large[4 + 2], 0xFF090807u);
    EXPECT_EQ(large[3], 0xDEADBEEFu);
    EXPECT_EQ(large[8], 0xDEADBEEFu);
}

TEST(BmpConv32, RefusesWhatItCannotRead)
{
    std::vector<uint32_t> dst(4);
    const Bytes pixels(64);
    Bytes rle = MakeHeader(2, 2, 8, {0, 0});
    rle[16] = 1;
    EXPECT_EQ(bmpConv32(MakeHeader(2, 2, 2).data(), pixels.data(), 2, 2, dst.data()), 6);
    EXPECT_EQ(bmpConv32(MakeHeader(0, 2, 24).data(), pixels.data(), 2, 2, dst.data()), 6);
    EXPECT_EQ(bmpConv32(rle.data(), pixels.data(), 2, 2, dst.data()), 2);
    EXPECT_EQ(bmpConv32(nullptr, pixels.data(), 2, 2, dst.data()), 6);
}

TEST(BmpSharedData, DecodesTheBmpsOfTheJpegSet)
{
    for (const char *file : {"jpeg/shira_bird8.bmp", "jpeg/vgl_6434_0018a.bmp", "jpeg/vgl_6548_0026a.bmp"}) {
        SCOPED_TRACE(file);
        DibPair dib;
        ASSERT_EQ(bmpGetImage(SharedTestData(file).c_str(), &dib.header, &dib.pixels), 0);
        EXPECT_GT(dib.info().width, 0);
        const std::vector<uint32_t> pixels = dib.Pixels32();
        EXPECT_NE(pixels.front(), 0u);
    }
}

} // namespace
