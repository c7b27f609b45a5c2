// Rotated and scaled views: identity, half turn, zoom and the backdrop outside the source.
#include "raster/ViewSamplers.h"

#include <gtest/gtest.h>

#include <cmath>

namespace pv {
namespace {

void Numbered(TMTC &image)
{
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x)
            image.At(x, y) = 0xFF000000u | uint32_t(y * 100 + x);
}

TEST(ViewSamplers, NearestViews)
{
    TMTC source(8, 6), view(8, 6);
    Numbered(source);
    SetBackdropColour(0x00123456);
    RotatedNearestView(source, view, 4, 3, 1.0, 0.0);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 8; ++x)
            ASSERT_EQ(source.At(x, y), view.At(x, y)) << "identity at " << x << "," << y;

    RotatedNearestView(source, view, 2, 3, 1.0, 0.0); // shifted two pixels right
    EXPECT_EQ(0x00123456u, view.At(0, 0)) << "left of the source: the backdrop";
    EXPECT_EQ(source.At(0, 0), view.At(2, 0));

    TMTC zoomed(16, 12);
    RotatedNearestView(source, zoomed, 4, 3, 0.5, 0.0);
    EXPECT_EQ(source.At(1, 1), zoomed.At(2, 2));
    EXPECT_EQ(source.At(1, 1), zoomed.At(3, 3));

    TMTC part(8, 6);
    part.Fill(0);
    RotatedNearestView(source, part, {2, 2, 3, 2}, 4, 3, 1.0, 0.0);
    EXPECT_EQ(source.At(3, 2), part.At(3, 2)) << "a sub-rectangle uses the whole view's centre";
    EXPECT_EQ(0u, part.At(0, 0));
}

TEST(ViewSamplers, AreaViews)
{
    TMTC source(8, 6), view(8, 6);
    Numbered(source);
    CScaleImageTMTC resampler(nullptr, nullptr);
    ASSERT_TRUE(RotatedAreaView(view, source, resampler, 0x00ABCDEF, 1.0, 0.0, {0, 0, 8, 6}, 4, 3));
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 8; ++x)
            ASSERT_EQ(source.At(x, y), view.At(x, y)) << x << "," << y;
    ASSERT_TRUE(RotatedAreaView(view, source, resampler, 0x00ABCDEF, 1.0, 0.0, {0, 0, 8, 6}, 40, 30));
    EXPECT_EQ(0x00ABCDEFu, view.At(4, 4)) << "squares outside the source take the backdrop";
    EXPECT_FALSE(RotatedAreaView(view, source, resampler, 0, 1.0, 0.0, {20, 20, 4, 4}, 4, 3));
}

} // namespace
} // namespace pv
