// PNG reading and writing: the whole PNG suite against libpng called directly, the 14 broken
// files refused, and round trips of every bit count the writer takes.
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <png.h>

#include <csetjmp>
#include <cstring>
#include <filesystem>

namespace {

using namespace pixkit_test;

struct Reference {
    bool ok = false;
    uint32_t width = 0, height = 0;
    std::vector<uint32_t> pixels;   // top-down blue, green, red, alpha
    std::vector<std::pair<std::string, std::string>> texts;
    int paletteEntries = 0;
};

void Fail(png_structp png, png_const_charp)
{
    std::longjmp(png_jmpbuf(png), 1);
}

// libpng's own expansion of every colour type to 8-bit blue, green, red, alpha.
Reference DecodeWithLibpng(const std::string &name)
{
    Reference r;
    FILE *file = std::fopen(name.c_str(), "rb");
    if (file == nullptr)
        return r;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, Fail, nullptr);
    png_infop info = png_create_info_struct(png);
    std::vector<png_bytep> rows;
    if (setjmp(png_jmpbuf(png)) == 0) {
        png_init_io(png, file);
        png_read_info(png, info);
        png_colorp palette;
        if (png_get_PLTE(png, info, &palette, &r.paletteEntries) == 0)
            r.paletteEntries = 0;
        png_set_expand(png);
        png_set_scale_16(png);
        png_set_gray_to_rgb(png);
        png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
        png_set_bgr(png);
        png_set_interlace_handling(png);
        png_read_update_info(png, info);
        r.width = png_get_image_width(png, info);
        r.height = png_get_image_height(png, info);
        r.pixels.resize(static_cast<size_t>(r.width) * r.height);
        for (uint32_t y = 0; y < r.height; ++y)
            rows.push_back(reinterpret_cast<png_bytep>(&r.pixels[y * r.width]));
        png_read_image(png, rows.data());
        png_read_end(png, info);
        png_textp text;
        int count = 0;
        png_get_text(png, info, &text, &count);
        for (int i = 0; i < count; ++i)
            r.texts.emplace_back(text[i].key, text[i].text);
        r.ok = true;
    }
    png_destroy_read_struct(&png, &info, nullptr);
    std::fclose(file);
    return r;
}

TEST(PngSuite, EveryValidFileEqualsLibpngAndEveryBrokenOneIsRefused)
{
    int valid = 0, broken = 0;
    for (const auto &entry : std::filesystem::directory_iterator(SharedTestData("pngsuite"))) {
        const std::string name = entry.path().string();
        if (entry.path().extension() != ".png")
            continue;
        SCOPED_TRACE(entry.path().filename().string());
        DibPair dib;
        const int result = pngGetImage(name.c_str(), &dib.header, &dib.pixels);
        PixkitImageType type{};
        const int typeResult = pngGetType(name.c_str(), &type);
        if (entry.path().filename().string()[0] == 'x') {
            ++broken;
            EXPECT_EQ(result, 1);
            EXPECT_EQ(dib.header, nullptr);
            continue;
        }
        ++valid;
        ASSERT_EQ(result, 0);
        ASSERT_EQ(typeResult, 0);
        const Reference reference = DecodeWithLibpng(name);
        ASSERT_TRUE(reference.ok);
        EXPECT_EQ(dib.info().width, static_cast<int32_t>(reference.width));
        EXPECT_EQ(dib.info().height, static_cast<int32_t>(reference.height));
        EXPECT_EQ(type.width, static_cast<int32_t>(reference.width));
        EXPECT_EQ(type.bitCount, dib.info().bitCount);
        EXPECT_EQ(dib.Pixels32(), reference.pixels);
    }
    EXPECT_EQ(broken, 14);
    EXPECT_GT(valid, 140);
}

TEST(PngSuite, ResolutionOfThePhysicalSizeChunk)
{
    PixkitImageType type{};
    // cdfn2c08: 1 x 4 pixels per metre; cdun2c08: unit metre, 1000 x 1000.
    ASSERT_EQ(pngGetType(SharedTestData("pngsuite/cdun2c08.png").c_str(), &type), 0);
    EXPECT_EQ(type.xDpi, static_cast<int32_t>(1000 * 0.0254 + 0.41));
    ASSERT_EQ(pngGetType(SharedTestData("pngsuite/basn2c08.png").c_str(), &type), 0);
    EXPECT_EQ(type.xDpi, 0);
    EXPECT_EQ(type.kind, PNG_COLOR_TYPE_RGB);
}

class PngWriting : public ::testing::Test {
protected:
    ScratchFolder folder_;
};

TEST_F(PngWriting, RoundTripsEveryBitCountInterlacedOrNot)
{
    const struct {
        int bitCount;
        std::vector<uint32_t> table;
        bool bitFields;
    } cases[] = {
        {1, {0x000000, 0xFFFFFF}, false},
        {4, {0x102030, 0x405060, 0x708090, 0xA0B0C0, 0xD0E0F0, 0x010203, 0x040506, 0x070809,
             0x111111, 0x222222, 0x333333, 0x444444, 0x555555, 0x666666, 0x777777, 0x888888}, false},
        {24, {}, false},
        {32, {}, false},
        {32, {0x000000FF, 0x0000FF00, 0x00FF0000}, true},
    };
    for (const auto &c : cases) {
        for (int interlaced : {0, -1}) {
            SCOPED_TRACE(std::to_string(c.bitCount) + (interlaced ? " interlaced" : ""));
            const int32_t width = 13, height = 9;
            const Bytes header = MakeHeader(width, height, c.bitCount, c.table, c.bitFields);
            const Bytes pixels = PatternPixels(width, height, c.bitCount, 29);
            std::vector<uint32_t> expected(width * height);
            ASSERT_EQ(bmpConv32(header.data(), pixels.data(), width, height, expected.data()), 0);

            const std::string name = folder_.File("saved.png");
            ASSERT_EQ(pngSaveImage(name.c_str(), header.data(), pixels.data(), interlaced), 0);
            const Reference reference = DecodeWithLibpng(name);
            ASSERT_TRUE(reference.ok);
            EXPECT_EQ(reference.pixels, expected);
            DibPair dib;
            ASSERT_EQ(pngGetImage(name.c_str(), &dib.header, &dib.pixels), 0);
            EXPECT_EQ(dib.Pixels32(), expected);
        }
    }
}

TEST_F(PngWriting, PaletteHoldsTheColoursThePixelsUse)
{
    // An 8-bit image whose pixels use indices 0..9 of a 256-entry table.
    std::vector<uint32_t> table(256);
    for (uint32_t i = 0; i < 256; ++i)
        table[i] = i * 0x010101;
    const Bytes header = MakeHeader(10, 1, 8, table);
    Bytes pixels = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 0};
    const std::string name = folder_.File("palette.png");
    ASSERT_EQ(pngSaveImage(name.c_str(), header.data(), pixels.data(), 0), 0);
    EXPECT_EQ(DecodeWithLibpng(name).paletteEntries, 10);

    // A table shorter than the indices: the missing colours are written black.
    const Bytes shortTable = MakeHeader(10, 1, 8, {0xFFFFFF, 0x808080});
    ASSERT_EQ(pngSaveImage(name.c_str(), shortTable.data(), pixels.data(), 0), 0);
    const Reference reference = DecodeWithLibpng(name);
    EXPECT_EQ(reference.paletteEntries, 10);
    EXPECT_EQ(reference.pixels[1], 0xFF808080u);
    EXPECT_EQ(reference.pixels[9], 0xFF000000u);
}

TEST_F(PngWriting, SoftwareTextAndResolution)
{
    auto *setSoftware = reinterpret_cast<int (*)(const char *)>(pixkitOrdinal(16));
    ASSERT_EQ(setSoftware("Pictavella3 test"), 0);
    Bytes header = MakeHeader(2, 2, 24);
    reinterpret_cast<PixkitBitmapInfoHeader *>(header.data())->xPelsPerMeter = 11811;  // 300 dpi
    reinterpret_cast<PixkitBitmapInfoHeader *>(header.data())->yPelsPerMeter = 11811;
    const Bytes pixels(16, 0x40);
    const std::string name = folder_.File("text.png");
    ASSERT_EQ(pngSaveImage(name.c_str(), header.data(), pixels.data(), 0), 0);
    setSoftware(nullptr);
    const Reference reference = DecodeWithLibpng(name);
    ASSERT_EQ(reference.texts.size(), 1u);
    EXPECT_EQ(reference.texts[0].first, "Software");
    EXPECT_EQ(reference.texts[0].second, "Pictavella3 test");
    PixkitImageType type{};
    ASSERT_EQ(pngGetType(name.c_str(), &type), 0);
    EXPECT_EQ(type.xDpi, 300);
}

TEST_F(PngWriting, RefusalsKeepTheOldFile)
{
    const std::string name = folder_.File("keep.png");
    WriteWholeFile(name, {1, 2, 3});
    const Bytes pixels(64);
    EXPECT_EQ(pngSaveImage(name.c_str(), MakeHeader(2, 2, 16).data(), pixels.data(), 0), 6);
    EXPECT_EQ(pngSaveImage(name.c_str(), MakeHeader(2, 2, 3).data(), pixels.data(), 0), 6);
    EXPECT_EQ(pngSaveImage(folder_.File("no/folder.png").c_str(), MakeHeader(2, 2, 24).data(), pixels.data(), 0), 16);
    EXPECT_EQ(ReadWholeFile(name), (Bytes{1, 2, 3}));
}

TEST_F(PngWriting, DamagedFilesAreRefused)
{
    const Bytes header = MakeHeader(20, 20, 24);
    const Bytes pixels(60 * 20, 0x55);
    const std::string name = folder_.File("good.png");
    ASSERT_EQ(pngSaveImage(name.c_str(), header.data(), pixels.data(), 0), 0);
    const Bytes good = ReadWholeFile(name);
    const std::string damaged = folder_.File("damaged.png");
    for (size_t cut : {size_t{8}, size_t{33}, good.size() / 2, good.size() - 12}) {
        SCOPED_TRACE(cut);
        WriteWholeFile(damaged, Bytes(good.begin(), good.begin() + cut));
        DibPair dib;
        EXPECT_EQ(pngGetImage(damaged.c_str(), &dib.header, &dib.pixels), 1);
        EXPECT_EQ(dib.header, nullptr);
    }
    DibPair dib;
    EXPECT_EQ(pngGetImage(folder_.File("missing.png").c_str(), &dib.header, &dib.pixels), 16);
}

} // namespace
