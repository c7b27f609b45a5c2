// The dither state and its position-keyed draws.
#include "raster/Dither.h"

#include "raster/PixelLoops.h"
#include "platform/Clock.h"

namespace pv {

namespace {

struct SDitherState {
    ComposeRoutine compose = Compose<PaintNormal>;
    SRandomRecord record;
    uint8_t amount = 255;
    int32_t x = 0;
    int32_t y = 0;
};

SDitherState &State()
{
    static SDitherState state;
    return state;
}

// A 32-bit finaliser: every input bit affects every output bit.
uint32_t Mix(uint32_t h)
{
    h ^= h >> 16;
    h *= 0x85EBCA6Bu;
    h ^= h >> 13;
    h *= 0xC2B2AE35u;
    h ^= h >> 16;
    return h;
}

} // namespace

void InstallDither(ComposeRoutine compose, const SRandomRecord &record, uint8_t amount)
{
    SDitherState &state = State();
    state.compose = compose;
    state.record = record;
    state.amount = amount;
}

SRandomRecord FreshDitherRecord()
{
    return SeededRandomRecord(MillisecondClock(), 0, 255);
}

void SetDitherPosition(int32_t x, int32_t y)
{
    State().x = x;
    State().y = y;
}

uint32_t DitherDrawAt(const SRandomRecord &record, int32_t x, int32_t y)
{
    SRandomRecord at = record;
    at.current = Mix(record.current ^ Mix(uint32_t(x) * 0x9E3779B1u ^ (uint32_t(y) * 0x7FEB352Du)));
    return Draw(at);
}

void DitherCompose(uint32_t *pixel, uint32_t source, int opacity)
{
    const SDitherState &state = State();
    if (DitherDrawAt(state.record, state.x, state.y) < mul255(state.amount, source >> 24))
        state.compose(pixel, source, opacity);
}

bool ComposeDithered(const TMTC &source, TMTC &dest, SPoint point, int opacity, SExtent rect)
{
    return ForEachRowPairAt<uint32_t, uint32_t>(
        dest, source, point, rect, [opacity](uint32_t *d, const uint32_t *s, int32_t width, int32_t x, int32_t y) {
            for (int32_t i = 0; i < width; ++i) {
                SetDitherPosition(x + i, y);
                DitherCompose(d + i, s[i], opacity);
            }
        });
}

} // namespace pv
