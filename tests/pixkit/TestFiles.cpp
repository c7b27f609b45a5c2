// Helpers of the pixkit tests.
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <fstream>
#include <iterator>
#include <unistd.h>

namespace pixkit_test {

ScratchFolder::ScratchFolder()
{
    static std::atomic<int> counter{0};
    path_ = std::filesystem::temp_directory_path() /
            ("pixkit-test-" + std::to_string(getpid()) + "-" + std::to_string(counter++));
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
}

ScratchFolder::~ScratchFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

Bytes ReadWholeFile(const std::string &name)
{
    std::ifstream in(name, std::ios::binary);
    return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void WriteWholeFile(const std::string &name, const Bytes &bytes)
{
    std::ofstream out(name, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char *>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::vector<uint32_t> DibPair::Pixels32() const
{
    const int32_t width = info().width;
    const int32_t height = std::abs(info().height);
    std::vector<uint32_t> out(static_cast<size_t>(width) * height);
    EXPECT_EQ(bmpConv32(header, pixels, width, height, out.data()), 0);
    return out;
}

Bytes MakeHeader(int32_t width, int32_t height, int bitCount, std::vector<uint32_t> tableOrMasks, bool bitFields)
{
    PixkitBitmapInfoHeader h{};
    h.size = 40;
    h.width = width;
    h.height = height;
    h.planes = 1;
    h.bitCount = static_cast<uint16_t>(bitCount);
    h.compression = bitFields ? PIXKIT_BI_BITFIELDS : PIXKIT_BI_RGB;
    h.clrUsed = bitFields ? 0 : static_cast<uint32_t>(tableOrMasks.size());
    Bytes out(40 + tableOrMasks.size() * 4);
    std::memcpy(out.data(), &h, 40);
    if (!tableOrMasks.empty())
        std::memcpy(out.data() + 40, tableOrMasks.data(), tableOrMasks.size() * 4);
    return out;
}

Bytes PatternPixels(int32_t width, int32_t rows, int bitCount, int step)
{
    Bytes pixels(((static_cast<size_t>(width) * bitCount + 31) / 32) * 4 * rows);
    for (size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = static_cast<uint8_t>(i * step + 3);
    return pixels;
}

std::string SharedTestData(const std::string &relative)
{
    return std::string(PV_SHARED_TESTDATA) + "/" + relative;
}

} // namespace pixkit_test
