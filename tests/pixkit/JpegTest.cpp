// JPEG reading and writing: the shared JPEGs against libjpeg called directly, the 12-bit
// file and damaged files refused with a result (never the end of the process), and saves
// with each option.
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <csetjmp>
#include <cstdio>
#include <jpeglib.h>

namespace {

using namespace pixkit_test;

struct ReferenceJpeg {
    bool ok = false;
    int width = 0, height = 0, components = 0;
    std::vector<uint32_t> pixels;   // top-down blue, green, red, alpha 255
};

struct ReferenceError {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

void ReferenceExit(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<ReferenceError *>(info->err)->jump, 1);
}

ReferenceJpeg DecodeWithLibjpeg(const std::string &name)
{
    ReferenceJpeg r;
    FILE *file = std::fopen(name.c_str(), "rb");
    jpeg_decompress_struct info{};
    ReferenceError error;
    info.err = jpeg_std_error(&error.manager);
    error.manager.error_exit = ReferenceExit;
    std::vector<uint8_t> row;
    if (setjmp(error.jump) == 0) {
        jpeg_create_decompress(&info);
        jpeg_stdio_src(&info, file);
        jpeg_read_header(&info, TRUE);
        info.out_color_space = JCS_RGB;
        jpeg_start_decompress(&info);
        r.width = static_cast<int>(info.output_width);
        r.height = static_cast<int>(info.output_height);
        r.components = info.num_components;
        row.resize(static_cast<size_t>(r.width) * 3);
        while (info.output_scanline < info.output_height) {
            JSAMPROW rows[1] = {row.data()};
            jpeg_read_scanlines(&info, rows, 1);
            for (int x = 0; x < r.width; ++x)
                r.pixels.push_back(0xFF000000u | (row[3 * x] << 16) | (row[3 * x + 1] << 8) | row[3 * x + 2]);
        }
        jpeg_finish_decompress(&info);
        r.ok = true;
    }
    jpeg_destroy_decompress(&info);
    std::fclose(file);
    return r;
}

TEST(JpegSharedData, DecodesLikeLibjpeg)
{
    for (const char *file : {"jpeg/testorig.jpg", "jpeg/testimgint.jpg", "jpeg/testimgari.jpg"}) {
        SCOPED_TRACE(file);
        const std::string name = SharedTestData(file);
        DibPair dib;
        ASSERT_EQ(jpegGetImage(name.c_str(), &dib.header, &dib.pixels), 0);
        const ReferenceJpeg reference = DecodeWithLibjpeg(name);
        ASSERT_TRUE(reference.ok);
        EXPECT_EQ(dib.info().bitCount, 24);
        EXPECT_EQ(dib.info().width, reference.width);
        EXPECT_EQ(dib.Pixels32(), reference.pixels);
        PixkitImageType type{};
        ASSERT_EQ(jpegGetType(name.c_str(), &type), 0);
        EXPECT_EQ(type.width, reference.width);
        EXPECT_EQ(type.height, reference.height);
        EXPECT_EQ(type.kind, reference.components);
    }
}

TEST(JpegSharedData, TwelveBitFileIsRefused)
{
    const std::string name = SharedTestData("jpeg/monkey12.jpg");
    DibPair dib;
    EXPECT_EQ(jpegGetImage(name.c_str(), &dib.header, &dib.pixels), 1);
    EXPECT_EQ(dib.header, nullptr);
    PixkitImageType type{};
    EXPECT_EQ(jpegGetType(name.c_str(), &type), 1);
}

class JpegFiles : public ::testing::Test {
protected:
    // A 24-bit picture of smooth gradients, saved with the given options.
    std::string Save(const PixkitJpegOptions &options, int bitCount = 24)
    {
        header_ = MakeHeader(kWidth, kHeight, bitCount, bitCount == 8 ? std::vector<uint32_t>(256, 0x336699) : std::vector<uint32_t>{});
        const size_t stride = ((kWidth * bitCount + 31) / 32) * 4;
        pixels_.assign(stride * kHeight, 0);
        for (int y = 0; y < kHeight; ++y)
            for (size_t i = 0; i < stride; ++i)
                pixels_[y * stride + i] = static_cast<uint8_t>(y * 3 + i);
        const std::string name = folder_.File("saved.jpg");
        result_ = jpegSaveImage(name.c_str(), header_.data(), pixels_.data(), &options);
        return name;
    }
    static constexpr int kWidth = 48, kHeight = 40;
    ScratchFolder folder_;
    Bytes header_, pixels_;
    int result_ = -1;
};

TEST_F(JpegFiles, SavesWithEachOptionAndReadsBack)
{
    const struct {
        const char *name;
        PixkitJpegOptions options;
        int bitCount;
        int components;
    } cases[] = {
        {"baseline", {0, 0, 0, 90, 0}, 24, 3},
        {"progressive", {-1, 0, 0, 90, 0}, 24, 3},
        {"greyscale", {0, -1, 0, 90, 0}, 24, 1},
        {"smoothed", {0, 0, -1, 75, 50}, 24, 3},
        {"32 bits", {0, 0, 0, 90, 0}, 32, 3},
        {"8 bits through the palette", {0, 0, 0, 90, 0}, 8, 3},
        {"quality out of range", {0, 0, 0, 1000, 0}, 24, 3},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const std::string name = Save(c.options, c.bitCount);
        ASSERT_EQ(result_, 0);
        PixkitImageType type{};
        ASSERT_EQ(jpegGetType(name.c_str(), &type), 0);
        EXPECT_EQ(type.width, kWidth);
        EXPECT_EQ(type.height, kHeight);
        EXPECT_EQ(type.kind, c.components);
        DibPair dib;
        ASSERT_EQ(jpegGetImage(name.c_str(), &dib.header, &dib.pixels), 0);
        EXPECT_EQ(dib.Pixels32(), DecodeWithLibjpeg(name).pixels);
    }
}

TEST_F(JpegFiles, HighQualityStaysCloseToTheOriginal)
{
    const std::string name = Save({0, 0, 0, 100, 0});
    ASSERT_EQ(result_, 0);
    std::vector<uint32_t> original(kWidth * kHeight);
    ASSERT_EQ(bmpConv32(header_.data(), pixels_.data(), kWidth, kHeight, original.data()), 0);
    DibPair dib;
    ASSERT_EQ(jpegGetImage(name.c_str(), &dib.header, &dib.pixels), 0);
    const std::vector<uint32_t> decoded = dib.Pixels32();
    double error = 0;
    for (size_t i = 0; i < original.size(); ++i)
        for (int shift = 0; shift < 24; shift += 8)
            error += std::abs(static_cast<int>((original[i] >> shift) & 255) - static_cast<int>((decoded[i] >> shift) & 255));
    EXPECT_LT(error / (original.size() * 3), 4.0);
}

TEST_F(JpegFiles, UnsupportedDibsAreRefused)
{
    const PixkitJpegOptions options{0, 0, 0, 90, 0};
    for (int bitCount : {16, 4, 1}) {
        Save(options, bitCount);
        EXPECT_EQ(result_, 6) << bitCount;
    }
    const Bytes header = MakeHeader(2, 2, 24);
    const Bytes pixels(16);
    EXPECT_EQ(jpegSaveImage(folder_.File("no/folder.jpg").c_str(), header.data(), pixels.data(), &options), 1);
}

TEST_F(JpegFiles, DamagedFilesAreRefused)
{
    const std::string name = Save({-1, 0, 0, 90, 0});
    ASSERT_EQ(result_, 0);
    const Bytes good = ReadWholeFile(name);
    const std::string damaged = folder_.File("damaged.jpg");
    for (size_t cut : {size_t{2}, size_t{100}, good.size() / 2}) {
        SCOPED_TRACE(cut);
        WriteWholeFile(damaged, Bytes(good.begin(), good.begin() + cut));
        DibPair dib;
        EXPECT_EQ(jpegGetImage(damaged.c_str(), &dib.header, &dib.pixels), 1);
        EXPECT_EQ(dib.header, nullptr);
    }
    // Scan data cut short by an end-of-image marker.
    Bytes endsEarly(good.begin(), good.begin() + good.size() / 2);
    endsEarly.insert(endsEarly.end(), {0xFF, 0xD9});
    WriteWholeFile(damaged, endsEarly);
    {
        DibPair dib;
        EXPECT_EQ(jpegGetImage(damaged.c_str(), &dib.header, &dib.pixels), 1);
    }
    // A progressive file that claims 30000 x 30000 pixels in its frame header.
    Bytes huge = good;
    for (size_t i = 0; i + 9 < huge.size(); ++i) {
        if (huge[i] == 0xFF && huge[i + 1] == 0xC2) {
            huge[i + 5] = huge[i + 7] = 30000 >> 8;
            huge[i + 6] = huge[i + 8] = 30000 & 0xFF;
            break;
        }
    }
    WriteWholeFile(damaged, huge);
    {
        DibPair dib;
        EXPECT_EQ(jpegGetImage(damaged.c_str(), &dib.header, &dib.pixels), 1);
    }
    WriteWholeFile(damaged, {'n', 'o', 't', ' ', 'a', ' ', 'j', 'p', 'e', 'g'});
    DibPair dib;
    EXPECT_EQ(jpegGetImage(damaged.c_str(), &dib.header, &dib.pixels), 1);
    EXPECT_EQ(jpegGetImage(folder_.File("missing.jpg").c_str(), &dib.header, &dib.pixels), 16);
}

} // namespace
