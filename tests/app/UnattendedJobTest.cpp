// The unattended runs: render writes the replayed picture and a sealed copy of the recording,
// viewer only replays; sealed, damaged and unsupported inputs, results that would replace the
// input, and the report (marker files, the descriptor, the exit status).
#include "app/UnattendedJob.h"

#include "document/EventPlayer.h"
#include "document/PaperHost.h"
#include "events/EventFileIo.h"
#include "events/StreamWalk.h"
#include "raster/DibFormat.h"
#include "KeptMessages.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <fstream>
#include <iterator>

namespace pv {
namespace {

using namespace unattended_result;
namespace fs = std::filesystem;

std::vector<uint8_t> Bytes(const fs::path &path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class UnattendedJob : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder_ = fs::temp_directory_path() /
                  ("pv-unattended-" + std::to_string(::getpid()) + "-" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder_);
        fs::create_directories(folder_ / "in");
    }
    void TearDown() override { fs::remove_all(folder_); }

    // A recording of two strokes saved as in/name.
    fs::path Record(const std::string &name, uint16_t generation = events::event_file::kGeneration, bool sealed = false)
    {
        HeadlessPaperHost host;
        TStroke pen;
        TFlowImage image;
        auto paper = TPaper::CreatePaper(host, 4, pen);
        EXPECT_TRUE(paper && paper->InitPaper("", image, 72, 48, 32, 48, 32));
        for (int s = 0; s < 2; ++s) {
            pen.ApplyDefaults(s);
            pen.SetMaxRadius(3);
            pen.SetColor(s ? 0x2080F0 : 0x402000);
            StrokeTrack track;
            paper->BeginStroke(image, pen, track, 4, 8.0f + 12 * s, 0.7f, true);
            for (int i = 1; i < 20; ++i)
                paper->AddStrokePoint(image, pen, track, 4.0f + 2 * i, 8.0f + 12 * s + float(i % 5), 0.7f, true);
            SExtent rect;
            paper->EndStroke(image, pen, track, rect, true);
        }
        const fs::path path = folder_ / "in" / name;
        EXPECT_EQ(0, events::SaveEventFile(path, paper->Events(), {48, 32, generation, 0, 0}, true, nullptr, sealed));
        return path;
    }

    StartOptions Render(const fs::path &input, bool viewer = false)
    {
        StartOptions options;
        options.unattended = true;
        options.viewer = viewer;
        options.outputFolder = (folder_ / "out").string();
        options.files = {input.string()};
        return options;
    }

    fs::path folder_;
    KeptMessages messages_;
};

TEST_F(UnattendedJob, RenderWritesThePictureAndASealedCopy)
{
    const fs::path input = Record("paint.pe3");
    ASSERT_EQ(kRendered, RunUnattendedJob(Render(input))) << (messages_.warnings.empty() ? "" : messages_.warnings[0]);

    // The picture is the replayed composite, as a 24-bit BMP.
    HeadlessPaperHost host;
    TStroke pen;
    TFlowImage image;
    auto paper = TPaper::CreatePaper(host, 0, pen);
    EventPlayer player(*paper, image, pen);
    ASSERT_EQ(PlaybackStart::Started, player.StartPlayback(input));
    while (player.Step(0) == PlaybackStep::Stepped) {
    }
    ASSERT_TRUE(SaveBmp24(paper->Composite(), (folder_ / "expected.bmp").string(), 0));
    EXPECT_EQ(Bytes(folder_ / "expected.bmp"), Bytes(folder_ / "out" / "paint.bmp"));

    // The copy: the same generation, a scrambled thumbnail, the seal in every PaperFlags.
    events::EventFileContents copy;
    ASSERT_EQ(0, events::ReadEventFile(Bytes(folder_ / "out" / "paint.pe3"), copy, true));
    EXPECT_EQ(events::event_file::kGeneration, copy.header.generation);
    ASSERT_TRUE(copy.thumbnail);
    EXPECT_EQ(2, copy.thumbnail->form);
    int flags = 0, sealed = 0;
    events::WalkStream(copy.stream, [&](const events::PacketView &p) {
        if (p.group == 0 && p.code == events::CodeOf(events::PacketId::PaperFlags)) {
            ++flags;
            sealed += (p.payload[1] & 0x80) != 0;
        }
        return true;
    });
    EXPECT_GT(flags, 0);
    EXPECT_EQ(flags, sealed);
    EXPECT_FALSE(fs::exists(input.parent_path() / "paint.bmp")) << "written only into the output folder";
}

TEST_F(UnattendedJob, Results)
{
    Record("old.pes", 15);
    Record("sealed.pe3", events::event_file::kGeneration, true);
    Record("same.pe3");
    std::ofstream(folder_ / "in" / "damaged.pe3") << "PEVP not really";
    std::ofstream(folder_ / "in" / "picture.png") << "x";
    const struct {
        const char *name;
        bool viewer;
        bool intoInputFolder;
        int code;
        const char *written; // in the output folder, "" for nothing
    } cases[] = {
        {"old.pes", false, false, kRendered, "old.pes"},
        {"sealed.pe3", false, false, kProtected, ""},
        {"sealed.pe3", true, false, kViewed, ""},
        {"same.pe3", true, false, kViewed, ""},
        {"same.pe3", false, true, kWriteFailed, ""},
        {"damaged.pe3", false, false, kCannotOpen, ""},
        {"damaged.pe3", true, false, kCannotOpen, ""},
        {"missing.pe3", false, false, kCannotOpen, ""},
        {"picture.png", false, false, kCannotOpen, ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.name) + (c.viewer ? " viewer" : " render"));
        fs::remove_all(folder_ / "out");
        const std::vector<uint8_t> before = Bytes(folder_ / "in" / c.name);
        StartOptions options = Render(folder_ / "in" / c.name, c.viewer);
        if (c.intoInputFolder)
            options.outputFolder.clear();
        EXPECT_EQ(c.code, RunUnattendedJob(options));
        EXPECT_EQ(before, Bytes(folder_ / "in" / c.name)) << "the input is never written";
        if (*c.written) {
            EXPECT_TRUE(fs::exists(folder_ / "out" / c.written));
        } else if (!c.intoInputFolder) {
            EXPECT_FALSE(fs::exists(folder_ / "out" / (fs::path(c.name).stem().string() + ".bmp")));
        }
    }
}

TEST_F(UnattendedJob, ReportLeavesMarkersAndWritesTheCode)
{
    const struct {
        int code;
        int status;
        const char *marker;
    } cases[] = {
        {kRendered, 0, ""}, {kViewed, 0, ""}, {kWriteFailed, 9, ""}, {kCannotOpen, 10, "job.bad"}, {kProtected, 11, "job.prt"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.code);
        fs::remove_all(folder_ / "out");
        int pipe[2];
        ASSERT_EQ(0, ::pipe(pipe));
        StartOptions options = Render(folder_ / "in" / "job.pe3");
        options.reportFd = pipe[1];
        EXPECT_EQ(c.status, ReportResult(options, c.code));
        ::close(pipe[1]);
        char text[16] = {};
        EXPECT_GT(::read(pipe[0], text, sizeof text - 1), 0);
        ::close(pipe[0]);
        EXPECT_EQ(std::to_string(c.code) + "\n", text);
        if (*c.marker) {
            EXPECT_TRUE(fs::exists(folder_ / "out" / c.marker));
            EXPECT_EQ(0u, fs::file_size(folder_ / "out" / c.marker));
        }
        EXPECT_EQ(size_t(*c.marker ? 1 : 0), fs::exists(folder_ / "out") ? size_t(std::distance(fs::directory_iterator(folder_ / "out"), {})) : 0u);
    }
}

} // namespace
} // namespace pv
