// A small paper for the stroke and dab tests: one layer with the current engine, a pen of a
// chosen kind, the context a dab is drawn in, and an image's pixels in one list.
#pragma once

#include "document/TPaper.h"
#include "tools/DabEngines.h"
#include "tools/Dabs.h"
#include "tools/PixelPipeline.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace pv::test {

struct DabFixture {
    explicit DabFixture(int32_t width = 48, int32_t height = 48)
        : paper(TPaper::CreatePaper(host, 8, appPen))
    {
        paper->SetDabEngine(DabEngine::Current, CurrentEngine);
        EXPECT_TRUE(paper->InitPaper("dabs", image, 72, width, height, width, height));
    }
    // Layer and work image filled with one colour.
    void Fill(uint32_t colour)
    {
        CBlockVMTC &layer = *paper->ActiveLayer()->Image();
        layer.MaskedFill({0, 0, layer.Width(), layer.Height()}, 0xFFFFFFFF, colour);
        image.colour.Fill(colour);
    }
    void UsePen(int kind)
    {
        pen.ApplyDefaults(kind);
        pen.SetLayerIndex(paper->ActiveLayerIndex());
    }
    // A black soft pen of that profile and density on white.
    void UseSoftPen(int kind, int airMap, float density)
    {
        Fill(0xFFFFFFFF);
        UsePen(kind);
        pen.SetAirMap(airMap, true);
        pen.SetDensity(density);
        pen.SetColor(0x000000);
    }
    // A pen of fixed radius and full opacity whose segments run exactly between the samples.
    void UseSteadyPen(int kind, float radius)
    {
        UsePen(kind);
        pen.SetMaxRadius(radius);
        pen.SetSizeByPressure(false);
        pen.SetOpacityByPressure(false);
        pen.SetDensity(1);
        pen.SetNoSmoothing(true);
    }
    // Starts the track for a dab drawn outside a stroke, with the kind's start action run.
    DabContext Context(float x = 0, float y = 0)
    {
        track.Start(x, y);
        DabContext dab{*paper, image, pen, track, paper->ActiveLayer(), false, pen.EffectiveDensity(false),
                       pen.EffectiveDensityByte(false), true};
        track.startPending = false;
        track.dab.protectAlpha = paper->ActiveLayer()->protectTransparency;
        track.dab.neutralColour = 0xFFFFFF;
        StartDabs(dab, x, y);
        return dab;
    }
    ScopedPipeline Pipeline() { return ScopedPipeline(*paper, image, pen, track.dab.protectAlpha, false); }

    HeadlessPaperHost host;
    TStroke appPen;
    TFlowImage image;
    std::unique_ptr<TPaper> paper;
    TStroke pen;
    StrokeTrack track;
};

// Every pixel of an image, rows top first.
inline std::vector<uint32_t> AllPixels(const TMTC &image)
{
    std::vector<uint32_t> pixels;
    for (int32_t y = 0; y < image.Height(); ++y)
        pixels.insert(pixels.end(), image.RowPixels(y), image.RowPixels(y) + image.Width());
    return pixels;
}

} // namespace pv::test
