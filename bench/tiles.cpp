// Composing a 4096 x 4096 paper of eight layers (normal, multiply, screen, overlay at mixed
// opacities) from block-tiled layers with 0 %, 10 % and 100 % of their tiles allocated,
// against the same composition from plain images. The tiled layers are composed as the paper
// composes them, a stage block at a time; the plain ones layer after layer over whole rows,
// the order in which plain images compose fastest. Cases fill0, fill10, fill100 in Mpix/s of
// paper; the memory the layers hold is printed after the BENCH lines.
#include "common/BenchRate.h"
#include "raster/CBlockVMTC.h"
#include "raster/ImageDrivers.h"
#include "raster/SLayerParam.h"
#include "raster/StagedCompose.h"

#include <cstdio>
#include <memory>
#include <random>
#include <vector>

namespace {

using namespace pv;

constexpr int32_t kSide = 4096;
constexpr int kModes[8] = {3, 0, 4, 5, 3, 0, 4, 5};
constexpr uint8_t kOpacities[8] = {255, 200, 128, 255, 90, 255, 180, 60};

struct Stack {
    std::vector<std::unique_ptr<CBlockVMTC>> tiled;
    std::vector<std::unique_ptr<TMTC>> plain;
};

Stack &StackFor(int percent)
{
    static std::unique_ptr<Stack> stacks[101];
    if (stacks[percent])
        return *stacks[percent];
    auto stack = std::make_unique<Stack>();
    std::mt19937 random{static_cast<uint32_t>(percent)};
    for (int l = 0; l < 8; ++l) {
        auto tiled = std::make_unique<CBlockVMTC>(kSide, kSide);
        tiled->SetEveryTile(0x00FFFFFF);
        for (int32_t tile = 0; tile < tiled->TileCount(); ++tile) {
            if (int(random() % 100) >= percent)
                continue;
            tiled->AllocTile(tile);
            uint32_t *p = reinterpret_cast<uint32_t *>(tiled->TileMemory(tile));
            for (int i = 0; i < 32 * 32; ++i)
                p[i] = random();
        }
        auto plain = std::make_unique<TMTC>(kSide, kSide);
        tiled->DrawInto(*plain, {0, 0});
        stack->tiled.push_back(std::move(tiled));
        stack->plain.push_back(std::move(plain));
    }
    stacks[percent] = std::move(stack);
    return *stacks[percent];
}

TMTC &Paper()
{
    static TMTC paper(kSide, kSide);
    return paper;
}

void PrintMemory(int percent)
{
    int64_t tiled = 0, plain = 0;
    for (const auto &layer : StackFor(percent).tiled)
        tiled += layer->MemoryUse() + int64_t(layer->TileCount()) * 8; // tiles and the tile table
    for (const auto &layer : StackFor(percent).plain)
        plain += layer->ByteSize();
    std::printf("# memory of the eight layers, fill%d: tiled %.1f MB, plain %.1f MB\n", percent, tiled / 1e6, plain / 1e6);
}

void Tiled(benchmark::State &state, int percent)
{
    Stack &stack = StackFor(percent);
    static bool printed[101] = {};
    if (!printed[percent]) {
        printed[percent] = true;
        PrintMemory(percent);
    }
    for (auto _ : state) {
        ComposeThroughStage(Paper(), {0, 0, kSide, kSide}, 0xFFFFFFFF, [&](TMTC &stage, SExtent block) {
            for (int l = 0; l < 8; ++l)
                stack.tiled[size_t(l)]->ComposeIntoView(stage, kModes[l], kOpacities[l], nullptr, 255, {0, 0}, block);
        });
    }
    pv::bench::SetRate(state, double(kSide) * kSide / 1e6, "Mpix/s");
}

void Plain(benchmark::State &state, int percent)
{
    Stack &stack = StackFor(percent);
    for (auto _ : state) {
        Paper().Fill(0xFFFFFFFF);
        for (int l = 0; l < 8; ++l)
            DrawWithOperator(*stack.plain[size_t(l)], Paper(), {0, 0}, LayerParam(kModes[l]).compose, kOpacities[l],
                             {0, 0, kSide, kSide});
    }
    pv::bench::SetRate(state, double(kSide) * kSide / 1e6, "Mpix/s");
}

const bool kRegistered = [] {
    for (int percent : {0, 10, 100}) {
        const std::string name = "fill" + std::to_string(percent);
        benchmark::RegisterBenchmark((name + "/ours").c_str(), Tiled, percent)->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark((name + "/peer").c_str(), Plain, percent)->Unit(benchmark::kMillisecond);
    }
    return true;
}();

} // namespace
