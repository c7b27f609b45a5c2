// pvtool's replaying commands: a recording is played onto an empty paper exactly as the
// desktop program plays it (the same player and paper, with a host that shows nothing), and
// the composite is written as PNG through pixkit, each file replaced whole or not at all.
#include "cli/ReplayCommands.h"

#include "cli/RecordingCommands.h"
#include "document/EventPlayer.h"
#include "document/PaperHost.h"
#include "raster/CScaleImage.h"
#include "raster/DibFormat.h"

#include "pixkit.h"

#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

namespace pv::cli {
namespace {

// A paper, its work image and a player for one recording.
struct Playback {
    HeadlessPaperHost host;
    TStroke pen;
    TFlowImage image;
    std::unique_ptr<TPaper> paper = TPaper::CreatePaper(host, 0, pen);
    std::optional<EventPlayer> player;
};

// Starts the replay; the exit status when it cannot start.
std::optional<int> Start(const char *path, Playback &p)
{
    if (!p.paper) {
        std::fprintf(stderr, "pvtool: %s: not enough memory for a paper\n", path);
        return kExitFile;
    }
    p.player.emplace(*p.paper, p.image, p.pen);
    // Like the unattended renderer: a sealed recording is not converted.
    const PlaybackStart result = p.player->StartPlayback(path, true);
    if (result == PlaybackStart::Started)
        return std::nullopt;
    std::fprintf(stderr, "pvtool: %s: %s (result=%d)\n", path, PlaybackStartMessage(result), int(result));
    return result == PlaybackStart::FileError ? kExitFile : kExitDamaged;
}

// One step; false when the replay is over (error reported, exit status set) or finished.
bool Step(const char *path, EventPlayer &player, int &status)
{
    switch (player.Step(0)) {
    case PlaybackStep::Stepped:
    case PlaybackStep::Idle:
        return true;
    case PlaybackStep::Finished:
        return false;
    case PlaybackStep::Error:
        break;
    }
    std::fprintf(stderr, "pvtool: %s: the replay stopped after %d steps: %s\n", path, player.StepsPlayed(),
                 player.Error().c_str());
    status = kExitDamaged;
    return false;
}

bool SavePng(const TTC &image, int dpi, const std::filesystem::path &out)
{
    SPackedDib dib;
    if (!PackDib24(image, dpi, dib)) {
        std::fprintf(stderr, "pvtool: %s: not enough memory for the picture\n", out.c_str());
        return false;
    }
    std::vector<uint8_t> header;
    AppendInfoHeader(dib.header, header);
    // Written beside the target and renamed over it, so a failed write leaves the old file.
    std::filesystem::path temporary = out;
    temporary += ".part-" + std::to_string(::getpid());
    std::error_code error;
    const int code = pngSaveImage(temporary.c_str(), header.data(), dib.bits.data(), 0);
    if (code == 0)
        std::filesystem::rename(temporary, out, error);
    if (code != 0 || error) {
        std::filesystem::remove(temporary, error);
        std::fprintf(stderr, "pvtool: %s: cannot write the picture (err=%d)\n", out.c_str(), code != 0 ? code : 8);
        return false;
    }
    return true;
}

bool SaveScaled(const TPaper &paper, double scale, const std::filesystem::path &out)
{
    const TTC &composite = paper.Composite();
    if (scale == 1.0)
        return SavePng(composite, paper.resolution, out);
    const auto side = [&](int32_t v) { return std::max<int32_t>(1, int32_t(std::lround(double(v) * scale))); };
    TTC scaled;
    if (!scaled.Resize(side(composite.Width()), side(composite.Height()))) {
        std::fprintf(stderr, "pvtool: %s: not enough memory for the picture\n", out.c_str());
        return false;
    }
    CScaleImageTMTC resampler(&composite, &scaled);
    resampler.Resample({0, 0, composite.Width(), composite.Height()}, {0, 0, scaled.Width(), scaled.Height()});
    return SavePng(scaled, paper.resolution, out);
}

} // namespace

int Replay(const char *path, const char *out, int64_t steps)
{
    Playback p;
    if (const auto status = Start(path, p))
        return *status;
    int status = kExitOk;
    while ((steps < 0 || p.player->StepsPlayed() < steps) && Step(path, *p.player, status)) {
    }
    if (status != kExitOk)
        return status;
    return SavePng(p.paper->Composite(), p.paper->resolution, out) ? kExitOk : kExitFile;
}

int Frames(const char *path, const char *folder, int64_t every, double scale)
{
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) {
        std::fprintf(stderr, "pvtool: %s: %s\n", folder, error.message().c_str());
        return kExitFile;
    }
    Playback p;
    if (const auto status = Start(path, p))
        return *status;
    const EventPlayer &player = *p.player;
    int frame = 0;
    int32_t shownStep = -1;
    const auto save = [&] {
        char name[32];
        std::snprintf(name, sizeof name, "frame-%06d.png", ++frame);
        shownStep = player.StepsPlayed();
        std::fprintf(stderr, "pvtool: %s: step %d of %u (%d%%)\n", name, shownStep, player.StepCount(),
                     player.ProgressPercent());
        return SaveScaled(*p.paper, scale, std::filesystem::path(folder) / name);
    };
    int status = kExitOk;
    int32_t lastStep = player.StepsPlayed();
    while (Step(path, *p.player, status)) {
        if (player.StepsPlayed() != lastStep && player.StepsPlayed() % every == 0 && !save())
            return kExitFile;
        lastStep = player.StepsPlayed();
    }
    if (status != kExitOk)
        return status;
    if (shownStep != player.StepsPlayed() && !save())
        return kExitFile;
    return kExitOk;
}

} // namespace pv::cli
