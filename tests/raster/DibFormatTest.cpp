// DIB headers, packed DIBs, the 24-bit BMP writer and the in-memory BMP reader with its
// refusals.
#include "raster/ColourCopies.h"
#include "raster/DibFormat.h"
#include "raster/ImageGeometry.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <unistd.h>

namespace pv {
namespace {

std::vector<uint8_t> ReadFile(const std::filesystem::path &path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void Put32At(std::vector<uint8_t> &bytes, size_t at, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = uint8_t(v >> (8 * i));
}

// A BMP in memory: 14 + 40 header bytes, optional gap or masks, then rows in file order.
std::vector<uint8_t> MakeBmp(int32_t width, int32_t height, int bitCount, const std::vector<uint8_t> &rows,
                             uint32_t gap = 0, uint32_t compression = 0, uint32_t colorsUsed = 0)
{
    std::vector<uint8_t> bytes = {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    SBitmapInfoHeader header;
    MakeDibHeader(width, height, bitCount, 96, header);
    header.compression = compression;
    header.colorsUsed = colorsUsed;
    AppendInfoHeader(header, bytes);
    bytes.resize(bytes.size() + gap, 0xEE);
    Put32At(bytes, 10, uint32_t(bytes.size()));
    bytes.insert(bytes.end(), rows.begin(), rows.end());
    Put32At(bytes, 2, uint32_t(bytes.size()));
    return bytes;
}

// Two rows of a 2-pixel 24-bit picture (row length 8): file row 0 red-green, row 1 blue-white.
const std::vector<uint8_t> kRows24 = {0, 0, 255, 0, 255, 0, 0, 0, 255, 0, 0, 255, 255, 255, 0, 0};

TEST(DibFormat, HeadersPadTwentyFourBitRows)
{
    SBitmapInfoHeader header;
    EXPECT_EQ(MakeDibHeader(5, 3, 24, 96, header), 16);
    EXPECT_EQ(header.imageSize, 48u);
    EXPECT_EQ(header.xPelsPerMeter, 3779);
    EXPECT_EQ(MakeDibHeader(5, 3, 32, 0, header), 20);
    EXPECT_EQ(header.imageSize, 60u);
    std::vector<uint8_t> bytes;
    AppendInfoHeader(header, bytes);
    EXPECT_EQ(bytes.size(), kInfoHeaderBytes);
}

TEST(DibFormat, PackedDibsStartWithTheLastRow)
{
    TTC image(2, 2);
    image.At(0, 0) = 0x80112233;
    image.At(1, 0) = 0x80445566;
    image.At(0, 1) = 0x80778899;
    image.At(1, 1) = 0x80AABBCC;
    SPackedDib dib;
    ASSERT_TRUE(PackDib24(image, 72, dib));
    const std::vector<uint8_t> want24 = {0x99, 0x88, 0x77, 0xCC, 0xBB, 0xAA, 0, 0, 0x33, 0x22, 0x11, 0x66, 0x55, 0x44, 0, 0};
    EXPECT_EQ(dib.bits, want24);
    ASSERT_TRUE(PackDib32(image, {1, -5, 9, 9}, 72, dib));
    EXPECT_EQ(dib.header.width, 1);
    EXPECT_EQ(dib.header.height, 2);
    const std::vector<uint8_t> want32 = {0xCC, 0xBB, 0xAA, 0x80, 0x66, 0x55, 0x44, 0x80};
    EXPECT_EQ(dib.bits, want32);
    EXPECT_FALSE(PackDib32(image, {2, 0, 1, 1}, 72, dib));
}

TEST(DibFormat, ReaderPutsRowsInFileOrderAndTopDownFilesReversed)
{
    TMTC image;
    int dpi = 0;
    const std::vector<uint8_t> bottomUp = MakeBmp(2, 2, 24, kRows24);
    ASSERT_TRUE(LoadBmpFromMemory(image, bottomUp.data(), bottomUp.size(), &dpi));
    EXPECT_EQ(dpi, 96);
    EXPECT_EQ(image.At(0, 0), 0xFFFF0000u);
    EXPECT_EQ(image.At(1, 1), 0xFFFFFFFFu);
    const std::vector<uint8_t> topDown = MakeBmp(2, -2, 24, kRows24);
    ASSERT_TRUE(LoadBmpFromMemory(image, topDown.data(), topDown.size(), nullptr));
    EXPECT_EQ(image.At(0, 1), 0xFFFF0000u);
    EXPECT_EQ(image.At(0, 0), 0xFF0000FFu);
}

TEST(DibFormat, ReaderStartsThePixelsAtTheFileHeadersOffset)
{
    TMTC image;
    const std::vector<uint8_t> gapped = MakeBmp(2, 2, 24, kRows24, 10);
    ASSERT_TRUE(LoadBmpFromMemory(image, gapped.data(), gapped.size(), nullptr));
    EXPECT_EQ(image.At(1, 0), 0xFF00FF00u);
    const std::vector<uint8_t> masked = MakeBmp(1, 1, 32, {1, 2, 3, 4}, 12, 3, 3);
    ASSERT_TRUE(LoadBmpFromMemory(image, masked.data(), masked.size(), nullptr));
    EXPECT_EQ(image.At(0, 0), 0x04030201u);
}

TEST(DibFormat, ReaderRefusesWhatItCannotTrust)
{
    struct Case {
        const char *what;
        std::vector<uint8_t> bytes;
    };
    std::vector<Case> cases = {
        {"zero width", MakeBmp(0, 2, 24, kRows24)},
        {"negative width", MakeBmp(-2, 2, 24, kRows24)},
        {"zero height", MakeBmp(2, 0, 24, kRows24)},
        {"8-bit", MakeBmp(2, 2, 8, kRows24)},
        {"run-length compressed", MakeBmp(2, 2, 24, kRows24, 0, 1)},
        {"masks without three colours", MakeBmp(1, 1, 32, {1, 2, 3, 4}, 12, 3, 0)},
        {"rows cut short", MakeBmp(2, 2, 24, {kRows24.begin(), kRows24.end() - 1})},
        {"more rows than bytes", MakeBmp(2, 30000, 24, kRows24)},
        {"side above the limit", MakeBmp(40000, 1, 32, std::vector<uint8_t>(160000))},
        {"most negative height", MakeBmp(1, INT32_MIN, 32, {1, 2, 3, 4})},
        {"only the file header", {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0}},
    };
    cases.push_back({"bad magic", MakeBmp(2, 2, 24, kRows24)});
    cases.back().bytes[1] = 'A';
    cases.push_back({"info header of 108 bytes", MakeBmp(2, 2, 24, kRows24)});
    cases.back().bytes[14] = 108;
    cases.push_back({"pixel offset past the end", MakeBmp(2, 2, 24, kRows24)});
    Put32At(cases.back().bytes, 10, 5000);
    cases.push_back({"pixel offset inside the headers", MakeBmp(2, 2, 24, kRows24)});
    Put32At(cases.back().bytes, 10, 20);
    for (const Case &c : cases) {
        TMTC image;
        EXPECT_FALSE(LoadBmpFromMemory(image, c.bytes.data(), c.bytes.size(), nullptr)) << c.what;
    }
}

class BmpFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder = std::filesystem::temp_directory_path() / ("pv-bmp-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder);
    }
    void TearDown() override { std::filesystem::remove_all(folder); }
    std::filesystem::path folder;
};

TEST_F(BmpFileTest, ShippedPictureRoundTripsThroughTheWriter)
{
    const std::vector<uint8_t> original = ReadFile(std::filesystem::path(PV_SHARED_TESTDATA) / "jpeg/shira_bird8.bmp");
    TMTC loaded;
    int dpi = 0;
    ASSERT_TRUE(LoadBmpFromMemory(loaded, original.data(), original.size(), &dpi));
    EXPECT_EQ(loaded.Width(), 192);
    EXPECT_EQ(loaded.Height(), 144);
    EXPECT_EQ(dpi, 72);
    FlipVertical(loaded);

    TTC shown(loaded.Width(), loaded.Height());
    ASSERT_TRUE(CopyColourRect(shown, loaded, {0, 0}, {0, 0, loaded.Width(), loaded.Height()}));
    const auto path = folder / "bird.bmp";
    ASSERT_TRUE(SaveBmp24(shown, path.string(), dpi));
    const std::vector<uint8_t> saved = ReadFile(path);
    ASSERT_EQ(saved.size(), original.size());
    // Same pixels after the 54 header bytes (the resolution is rounded differently).
    EXPECT_TRUE(std::equal(saved.begin() + 54, saved.end(), original.begin() + 54));
}

TEST_F(BmpFileTest, AFailedSaveLeavesTheOldFileAndNoTemporary)
{
    TTC image(3, 2);
    image.Fill(0xFF102030);
    const auto path = folder / "picture.bmp";
    ASSERT_TRUE(SaveBmp24(image, path.string(), 96));
    const std::vector<uint8_t> before = ReadFile(path);
    TTC empty;
    EXPECT_FALSE(SaveBmp24(empty, path.string(), 96));
    // A folder in the way: the temporary is written, the rename fails.
    const auto blocked = folder / "blocked.bmp";
    std::filesystem::create_directories(blocked / "inside");
    EXPECT_FALSE(SaveBmp24(image, blocked.string(), 96));
    EXPECT_FALSE(SaveBmp24(image, (folder / "missing" / "x.bmp").string(), 96));
    EXPECT_EQ(ReadFile(path), before);
    int entries = 0;
    for (const auto &entry : std::filesystem::directory_iterator(folder))
        entries += entry.path().filename().string()[0] == '.' ? 100 : 1;
    EXPECT_EQ(entries, 2);
}

} // namespace
} // namespace pv
