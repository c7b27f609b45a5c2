// Composing one 1920 x 1080 layer onto an opaque view, every blend mode at opacity 255 and
// 128, against pixman's closest operator on the same pixels (premultiplied copies made once,
// outside the timing; opacity 128 through a solid mask). Modes without a pixman counterpart
// (subtract, negative subtract, linear, vivid and pin light) run on our side only.
#include "common/BenchRate.h"

#include "raster/ImageDrivers.h"
#include "raster/SLayerParam.h"

#include <pixman.h>

#include <random>
#include <string>
#include <vector>

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

// A layer as strokes leave it: a quarter transparent, a quarter opaque, the rest between.
void FillLayer(pv::TMTC &layer, uint32_t seed)
{
    std::mt19937 random(seed);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            const uint32_t colour = random() & 0x00FFFFFFu;
            const uint32_t pick = random() % 4;
            const uint32_t alpha = pick == 0 ? 0 : pick == 1 ? 255 : random() % 256;
            layer.At(x, y) = (alpha << 24) | colour;
        }
}

struct SPictures {
    pv::TMTC layer{kWidth, kHeight};
    pv::TMTC view{kWidth, kHeight};
    std::vector<uint32_t> premultipliedLayer;
    std::vector<uint32_t> premultipliedView;

    SPictures()
    {
        FillLayer(layer, 1);
        FillLayer(view, 2);
        view.SetAlpha(255);
        premultipliedLayer = Premultiplied(layer);
        premultipliedView = Premultiplied(view);
    }

    static std::vector<uint32_t> Premultiplied(const pv::TMTC &image)
    {
        std::vector<uint32_t> out(size_t(kWidth) * kHeight);
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) {
                const uint32_t p = image.At(x, y), a = p >> 24;
                const auto ch = [&](int shift) { return (((p >> shift) & 0xFF) * a + 127) / 255 << shift; };
                out[size_t(y) * kWidth + x] = (a << 24) | ch(16) | ch(8) | ch(0);
            }
        return out;
    }
};

SPictures &Pictures()
{
    static SPictures pictures;
    return pictures;
}

void Ours(benchmark::State &state, int mode, int opacity)
{
    SPictures &p = Pictures();
    const pv::ComposeRoutine compose = pv::LayerParam(mode).compose;
    for (auto _ : state) {
        pv::DrawWithOperator(p.layer, p.view, {0, 0}, compose, opacity);
        benchmark::ClobberMemory();
    }
    pv::bench::SetRate(state, double(kWidth) * kHeight / 1e6, "Mpix/s");
}

void Peer(benchmark::State &state, pixman_op_t op, int opacity)
{
    SPictures &p = Pictures();
    pixman_image_t *source = pixman_image_create_bits(PIXMAN_a8r8g8b8, kWidth, kHeight,
                                                      p.premultipliedLayer.data(), kWidth * 4);
    pixman_image_t *dest = pixman_image_create_bits(PIXMAN_a8r8g8b8, kWidth, kHeight,
                                                    p.premultipliedView.data(), kWidth * 4);
    pixman_image_t *mask = nullptr;
    if (opacity != 255) {
        const uint16_t a = uint16_t(opacity * 257);
        const pixman_color_t colour{a, a, a, a};
        mask = pixman_image_create_solid_fill(&colour);
    }
    for (auto _ : state) {
        pixman_image_composite32(op, source, mask, dest, 0, 0, 0, 0, 0, 0, kWidth, kHeight);
        benchmark::ClobberMemory();
    }
    if (mask != nullptr)
        pixman_image_unref(mask);
    pixman_image_unref(dest);
    pixman_image_unref(source);
    pv::bench::SetRate(state, double(kWidth) * kHeight / 1e6, "Mpix/s");
}

// The closest pixman operator of each mode code; PIXMAN_OP_CLEAR marks "none".
constexpr pixman_op_t kPeerOf[pv::kLayerModeCount] = {
    PIXMAN_OP_MULTIPLY,   PIXMAN_OP_ADD,         PIXMAN_OP_CLEAR,       PIXMAN_OP_OVER,
    PIXMAN_OP_SCREEN,     PIXMAN_OP_OVERLAY,     PIXMAN_OP_HARD_LIGHT,  PIXMAN_OP_SOFT_LIGHT,
    PIXMAN_OP_DIFFERENCE, PIXMAN_OP_EXCLUSION,   PIXMAN_OP_DARKEN,      PIXMAN_OP_LIGHTEN,
    PIXMAN_OP_COLOR_BURN, PIXMAN_OP_COLOR_DODGE, PIXMAN_OP_HSL_HUE,     PIXMAN_OP_HSL_SATURATION,
    PIXMAN_OP_HSL_COLOR,  PIXMAN_OP_HSL_LUMINOSITY, PIXMAN_OP_CLEAR,    PIXMAN_OP_CLEAR,
    PIXMAN_OP_CLEAR,      PIXMAN_OP_CLEAR,
};

const bool kRegistered = [] {
    for (int mode = 0; mode < pv::kLayerModeCount; ++mode)
        for (const int opacity : {255, 128}) {
            const std::string name = "mode" + std::to_string(mode) + "-o" + std::to_string(opacity);
            benchmark::RegisterBenchmark((name + "/ours").c_str(), Ours, mode, opacity)->Unit(benchmark::kMillisecond);
            if (kPeerOf[mode] != PIXMAN_OP_CLEAR)
                benchmark::RegisterBenchmark((name + "/peer").c_str(), Peer, kPeerOf[mode], opacity)
                    ->Unit(benchmark::kMillisecond);
        }
    return true;
}();

} // namespace
