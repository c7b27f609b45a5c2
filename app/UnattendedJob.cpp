// The unattended job and its report.
#include "app/UnattendedJob.h"

#include "app/ExtensionClass.h"
#include "document/EventPlayer.h"
#include "document/PaperHost.h"
#include "events/EventFileIo.h"
#include "platform/Messages.h"
#include "raster/CScaleImage.h"
#include "raster/DibFormat.h"

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <system_error>
#include <thread>

namespace pv {

using namespace unattended_result;

namespace {

// Streams of generation 16 and later are written as ".pe3", older ones as ".pes".
constexpr uint16_t kFirstPe3Generation = 16;

bool SamePath(const std::filesystem::path &a, const std::filesystem::path &b)
{
    std::error_code error;
    return std::filesystem::weakly_canonical(a, error) == std::filesystem::weakly_canonical(b, error);
}

// The scrambled thumbnail of the paper's composite, for the sealed copy.
events::EventThumbnail ThumbnailOf(const TPaper &paper)
{
    events::EventThumbnail thumbnail;
    thumbnail.form = 2;
    thumbnail.paperWidth = paper.Width();
    thumbnail.paperHeight = paper.Height();
    events::ThumbnailSize(paper.Width(), paper.Height(), thumbnail.width, thumbnail.height);
    TMTC small;
    if (!small.Resize(thumbnail.width, thumbnail.height))
        return thumbnail;
    CScaleImageTMTC(&paper.Composite(), &small).Resample({0, 0, paper.Width(), paper.Height()},
                                                        {0, 0, thumbnail.width, thumbnail.height});
    thumbnail.pixels.reserve(size_t(thumbnail.width) * size_t(thumbnail.height));
    for (int32_t y = 0; y < thumbnail.height; ++y)
        for (int32_t x = 0; x < thumbnail.width; ++x)
            thumbnail.pixels.push_back(small.At(x, y) | 0xFF000000u);
    return thumbnail;
}

// Replays the file to its end on the paper; the result code when it cannot be.
std::optional<int> Replay(const std::filesystem::path &input, bool viewer, EventPlayer &player)
{
    const PlaybackStart start = player.StartPlayback(input, !viewer);
    if (start == PlaybackStart::Protected)
        return kProtected;
    if (start != PlaybackStart::Started) {
        Messages().Warning(input.string() + ": " + PlaybackStartMessage(start));
        return kCannotOpen;
    }
    PlaybackStep step;
    while ((step = player.Step(0)) == PlaybackStep::Stepped) {
    }
    if (step != PlaybackStep::Finished) {
        Messages().Warning(input.string() + ": " + player.Error());
        return kCannotOpen;
    }
    return std::nullopt;
}

int WriteResults(const std::filesystem::path &input, const std::filesystem::path &folder, TPaper &paper,
                 const EventPlayer &player, bool appending)
{
    const std::string name = input.stem().string();
    const events::EventFileHeader &loaded = player.FileHeader();
    const std::filesystem::path picture = folder / (name + ".bmp");
    const std::filesystem::path recording = folder / (name + (loaded.generation < kFirstPe3Generation ? ".pes" : ".pe3"));
    if (SamePath(picture, input) || SamePath(recording, input)) {
        Messages().Warning(input.string() + ": the results would replace the input file");
        return kWriteFailed;
    }
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    paper.RecomposeAll(false);
    if (!SaveBmp24(paper.Composite(), picture.string(), 0)) {
        Messages().Warning(picture.string() + ": the picture cannot be written");
        return kWriteFailed;
    }
    if (!appending)
        return kWriteFailed; // the recorder gave the stream up, so there is nothing to seal
    events::EventFileHeader header{paper.Width(), paper.Height(), loaded.generation, loaded.flags, 0};
    const events::EventThumbnail thumbnail = ThumbnailOf(paper);
    const int code = events::SaveEventFile(recording, paper.Events(), header, true, &thumbnail, true);
    if (code != events::event_file::kOk) {
        Messages().Warning(recording.string() + ": the sealed recording cannot be written (err=" + std::to_string(code) + ")");
        return kWriteFailed;
    }
    return kRendered;
}

} // namespace

std::filesystem::path OutputFolder(const StartOptions &options, const std::filesystem::path &input)
{
    if (!options.outputFolder.empty())
        return options.outputFolder;
    return input.has_parent_path() ? input.parent_path() : std::filesystem::path(".");
}

int RunUnattendedJob(const StartOptions &options)
{
    if (options.files.empty()) {
        Messages().Warning("no file to replay");
        return kCannotOpen;
    }
    const std::filesystem::path input = options.files.front();
    const FileClass kind = ExtensionClass(input);
    if (kind != FileClass::Events && kind != FileClass::EventsV2) {
        Messages().Warning(input.string() + " は未対応の形式です");
        return kCannotOpen;
    }
    HeadlessPaperHost host;
    TStroke pen;
    TFlowImage image;
    const std::unique_ptr<TPaper> paper = TPaper::CreatePaper(host, 0, pen);
    if (!paper)
        return kCannotOpen;
    EventPlayer player(*paper, image, pen);
    if (const std::optional<int> failed = Replay(input, options.viewer, player))
        return *failed;
    const bool appending = player.EnterAppendMode();
    if (options.viewer)
        return kViewed;
    return WriteResults(input, OutputFolder(options, input), *paper, player, appending);
}

int ReportResult(const StartOptions &options, int code)
{
    if ((code == kCannotOpen || code == kProtected) && !options.files.empty()) {
        const std::filesystem::path input = options.files.front();
        const std::filesystem::path folder = OutputFolder(options, input);
        const std::filesystem::path marker = folder / (input.stem().string() + (code == kCannotOpen ? ".bad" : ".prt"));
        std::error_code error;
        std::filesystem::create_directories(folder, error);
        if (!std::filesystem::exists(marker, error))
            std::ofstream{marker};
    }
    if (options.viewer && options.reportDelay > 0)
        std::this_thread::sleep_for(std::chrono::seconds(options.reportDelay));
    const std::string line = std::to_string(code) + "\n";
    std::fputs(line.c_str(), stdout);
    std::fflush(stdout);
    if (options.reportFd && ::write(*options.reportFd, line.data(), line.size()) != ssize_t(line.size()))
        std::fprintf(stderr, "pictavella3: the result cannot be written to descriptor %d\n", *options.reportFd);
    return code == kRendered || code == kViewed ? 0 : code;
}

} // namespace pv
