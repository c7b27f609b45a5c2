// The pencil's coverage row eight pixels at a time against transparent paint pixel by pixel:
// every alpha under a spread of cover bytes, at several densities and colours.
#include "tools/CoverageRows.h"

#include "raster/PixelMath.h"
#include "tools/PixelPipeline.h"

#include <gtest/gtest.h>

#include <vector>

namespace pv {
namespace {

TEST(CoverageRows, SameAsTransparentPaint)
{
    // Every alpha under every cover byte, over colours that mix differently per channel.
    std::vector<uint8_t> cover;
    std::vector<uint32_t> under;
    for (uint32_t a = 0; a < 256; ++a)
        for (uint32_t c = 0; c < 256; c += 3) {
            cover.push_back(uint8_t(c));
            under.push_back((a << 24) | (a * 0x10203u + c * 0x30201u) % 0x1000000u);
        }
    cover.resize(cover.size() + 5, 200); // a tail the caller finishes
    under.resize(cover.size(), 0x80808080u);
    for (const uint32_t density : {255u, 254u, 128u, 1u, 0u})
        for (const uint32_t colour : {0x00123456u, 0xFF000000u, 0x00FFFFFFu}) {
            SCOPED_TRACE(testing::Message() << density << " " << colour);
            std::vector<uint32_t> pixels = under, expected = under;
            const int32_t done = PaintTransparentCoverage(pixels.data(), cover.data(), int32_t(cover.size()), density, colour);
            EXPECT_TRUE(done == 0 || done > int32_t(cover.size()) - 8) << "groups of 8 up to the tail";
            for (int32_t x = 0; x < done; ++x) {
                const uint32_t coverage = mul255(cover[size_t(x)], density);
                if (cover[size_t(x)] && coverage)
                    TransparentPaint(expected[size_t(x)], coverage, colour);
            }
            for (size_t x = 0; x < pixels.size(); ++x)
                ASSERT_EQ(expected[x], pixels[x]) << "pixel " << x << " under " << under[x] << " cover " << int(cover[x]);
        }
}

} // namespace
} // namespace pv
