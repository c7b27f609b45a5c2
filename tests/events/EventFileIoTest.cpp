// Event files on disk: a recorded stream saved and read back, sealed, and a failed save.
#include "RecorderFixture.h"

#include "events/EventFileIo.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace pv::events::testing {
namespace {

class EventFileIoTest : public RecorderTest {
protected:
    EventFileIoTest() : dir_(std::filesystem::temp_directory_path() / ("pv-eventfile-" + std::to_string(::getpid())))
    {
        std::filesystem::create_directories(dir_);
    }
    ~EventFileIoTest() override { std::filesystem::remove_all(dir_); }
    std::filesystem::path dir_;
};

TEST_F(EventFileIoTest, SavedStreamReadsBackWithoutEndInMemory)
{
    StartNewPaper();
    Stroke(20);
    const std::vector<uint8_t> before = recorder_.CopyStream();
    const int32_t steps = recorder_.StepCount();
    const auto path = dir_ / "painting.pe3";
    for (bool compressed : {true, false}) {
        ASSERT_EQ(event_file::kOk, SaveEventFile(path, recorder_, {640, 480}, compressed, nullptr, false));
        EXPECT_EQ(before, recorder_.CopyStream()) << "the End marker is gone again";
        EXPECT_EQ(steps, recorder_.StepCount());
        EventFileContents read;
        ASSERT_EQ(event_file::kOk, LoadEventFile(path, read));
        const std::vector<Packet> packets = Decode(read.stream);
        ASSERT_FALSE(packets.empty());
        EXPECT_TRUE(packets.back().Is(PacketId::End)) << "the file's stream ends with End";
        EXPECT_EQ(uint32_t(steps + 1), read.header.stepCount);
        EXPECT_EQ(read.stream.size(), before.size() + 2);
    }
}

TEST_F(EventFileIoTest, SealedSaveAndAFailedSave)
{
    StartNewPaper();
    const auto path = dir_ / "sealed.pe3";
    ASSERT_EQ(event_file::kOk, SaveEventFile(path, recorder_, {640, 480}, true, nullptr, true));
    EXPECT_FALSE(recorder_.ScanPaperFlags(PaperFlagsScan::Check).bitFound) << "the stream in memory is unsealed";
    EventFileContents read;
    ASSERT_EQ(event_file::kOk, LoadEventFile(path, read));
    bool sealed = false;
    for (const Packet &p : Decode(read.stream))
        if (p.Is(PacketId::PaperFlags))
            sealed = (p.payload[1] & 0x80) != 0;
    EXPECT_TRUE(sealed);

    // A save that cannot write leaves the file that was there (the atomic write is the
    // platform's; this is the path through the recorder): the stream in memory stays whole.
    const std::vector<uint8_t> inMemory = recorder_.CopyStream();
    EXPECT_EQ(event_file::kWriteFailed, SaveEventFile(dir_ / "no-such-folder" / "x.pe3", recorder_, {640, 480}, true, nullptr, false));
    EXPECT_EQ(inMemory, recorder_.CopyStream()) << "no End marker left behind";
    EXPECT_EQ(event_file::kOk, LoadEventFile(path, read));
    EXPECT_EQ(event_file::kNoFile, LoadEventFile(dir_ / "missing.pe3", read));
}

} // namespace
} // namespace pv::events::testing
