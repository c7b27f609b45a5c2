// The recorder under test: a fake paper for its sources, a pen, messages caught instead of
// shown, segments that can be refused on request, and the recorded stream decoded back
// into packets with the stream codec.
#pragma once

#include "events/CEventMngr.h"
#include "events/PlainRecorderSources.h"
#include "events/StreamWalk.h"
#include "platform/Messages.h"
#include "tools/TStroke.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace pv::events::testing {

// A paper with a distinctive gradation ramp.
struct FakePaper : PlainRecorderSources {
    FakePaper()
    {
        points = {{0, 0}, {100, 0}};
        slots.assign(48, 7);
    }
};

// Messages kept instead of shown; questions take the answers queued, then No or Cancel.
struct CaughtMessages : MessageHost {
    std::vector<std::string> warnings, information, questions;
    std::vector<MessageAnswer> answers;
    void Warning(std::string_view text) override { warnings.emplace_back(text); }
    void Information(std::string_view text) override { information.emplace_back(text); }
    MessageAnswer Ask(std::string_view text, MessageButtons buttons) override
    {
        questions.emplace_back(text);
        if (answers.empty())
            return buttons == MessageButtons::OkCancel ? MessageAnswer::Cancel : MessageAnswer::No;
        const MessageAnswer answer = answers.front();
        answers.erase(answers.begin());
        return answer;
    }
};

struct Packet {
    uint64_t offset;
    uint8_t group, code;
    std::vector<uint8_t> payload;
    // Stroke batches match by group: their code is their sample count.
    bool Is(PacketId id) const { return group == GroupOf(id) && (code == CodeOf(id) || group == 17 || group == 18); }
};

inline std::vector<Packet> Decode(const std::vector<uint8_t> &stream)
{
    std::vector<Packet> packets;
    const WalkResult walk = WalkStream(stream, [&](const PacketView &p) {
        packets.push_back({p.offset, p.group, p.code, {p.payload.begin(), p.payload.end()}});
        return true;
    });
    EXPECT_TRUE(walk.valid()) << WalkErrorText(walk.error) << " at " << walk.offset;
    return packets;
}

inline size_t CountOf(const std::vector<Packet> &packets, PacketId id)
{
    size_t n = 0;
    for (const Packet &p : packets)
        n += p.Is(id);
    return n;
}

inline std::vector<PacketId> IdsOf(const std::vector<Packet> &packets)
{
    std::vector<PacketId> ids;
    for (const Packet &p : packets)
        ids.push_back(static_cast<PacketId>(MakePacketId(static_cast<PacketGroup>(p.group), p.group == 17 || p.group == 18 ? 0 : p.code)));
    return ids;
}

class RecorderTest : public ::testing::Test {
protected:
    explicit RecorderTest(uint32_t segmentSize = 65536, uint32_t initialSize = 1048576)
        : recorder_(paper_, {segmentSize, initialSize, [this](size_t size) {
                                 ++allocations_;
                                 return refuseSegments_ ? nullptr : AllocateSegmentMemory(size);
                             }})
    {
        SetMessageHost(&messages_);
        pen_.ApplyDefaults(0);
    }
    ~RecorderTest() override { SetMessageHost(nullptr); }

    // A new paper as the paper records it.
    void StartNewPaper()
    {
        ASSERT_TRUE(recorder_.StartRecording(pen_, CEventMngr::RingSizeFor(30)));
        ASSERT_TRUE(recorder_.RecordNewPaper({640, 480, 350, 480, 640}));
        ASSERT_TRUE(recorder_.RecordSessionStart({2026, 12, 4, 10, 9, 8, 7, 6}));
    }

    void Stroke(int samples, float base = 0)
    {
        ASSERT_TRUE(recorder_.BeginStroke(base, base + 1, 0.5f));
        for (int i = 1; i < samples; ++i)
            ASSERT_TRUE(recorder_.AddStrokeSample(base + float(i), base + float(i) + 1, 0.5f));
        ASSERT_TRUE(recorder_.EndStroke());
    }

    std::vector<Packet> Packets() const { return Decode(recorder_.CopyStream()); }
    // The packets from byte offset `from` on.
    std::vector<Packet> PacketsFrom(uint64_t from) const
    {
        std::vector<Packet> all = Packets(), tail;
        for (Packet &p : all)
            if (p.offset >= from)
                tail.push_back(std::move(p));
        return tail;
    }

    FakePaper paper_;
    TStroke pen_;
    CaughtMessages messages_;
    bool refuseSegments_ = false;
    int allocations_ = 0;
    CEventMngr recorder_;
};

} // namespace pv::events::testing
