// pvtool's commands on event recordings.
#include "cli/RecordingCommands.h"

#include "events/EventFileIo.h"
#include "events/PacketTable.h"
#include "events/StatePayloads.h"
#include "events/StreamWalk.h"
#include "platform/AtomicFile.h"

#include <cinttypes>
#include <cstdio>

namespace pv::cli {
namespace {

using namespace pv::events;

bool Load(const char *path, EventFileContents &contents, bool withThumbnail)
{
    const int code = LoadEventFile(path, contents, withThumbnail);
    if (code == event_file::kOk)
        return true;
    std::fprintf(stderr, "pvtool: %s: cannot read the recording (err=%d)\n", path, code);
    return false;
}

// The PaperFlags packets' payload offsets, and whether any has the seal.
struct Seals {
    std::vector<uint64_t> offsets;
    bool sealed = false;
};

Seals FindSeals(std::span<const uint8_t> stream)
{
    Seals seals;
    WalkStream(stream, [&](const PacketView &p) {
        if (p.group == GroupOf(PacketId::PaperFlags) && p.code == CodeOf(PacketId::PaperFlags) && p.payload.size() >= 2) {
            seals.offsets.push_back(p.offset + kPacketHeaderSize);
            seals.sealed = seals.sealed || (p.payload[1] & (paper_flags::kSealed >> 8)) != 0;
        }
        return true;
    });
    return seals;
}

} // namespace

int Info(const char *path)
{
    EventFileContents c;
    if (!Load(path, c, true))
        return kExitFile;
    const StepSplit split = SplitSteps(c.stream);
    if (c.compressed)
        std::printf("container: compressed (PEVP, %u blocks)\n", c.blockCount);
    else
        std::printf("container: plain (PEVS)\n");
    std::printf("paper: %d x %d\n", c.header.paperWidth, c.header.paperHeight);
    std::printf("generation: %u\nflags: %u\n", c.header.generation, c.header.flags);
    std::printf("stream version: %d\n", ReadStreamVersion(c.stream).version);
    std::printf("steps: %u (%zu in the stream)\n", c.header.stepCount, split.stepEnds.size());
    std::printf("length: %zu bytes\n", c.stream.size());
    std::printf("sealed: %s\n", FindSeals(c.stream).sealed ? "yes" : "no");
    if (c.thumbnail)
        std::printf("thumbnail: %d x %d, form %u\n", c.thumbnail->width, c.thumbnail->height, c.thumbnail->form);
    else
        std::printf("thumbnail: none\n");
    return split.walk.valid() ? kExitOk : kExitDamaged;
}

int Check(const char *path)
{
    EventFileContents c;
    if (!Load(path, c, false))
        return kExitFile;
    const WalkResult walk = WalkStream(c.stream);
    if (walk.valid()) {
        std::printf("ok\n");
        return kExitOk;
    }
    const uint8_t group = walk.offset < c.stream.size() ? c.stream[walk.offset] : 0;
    const uint8_t code = walk.offset + 1 < c.stream.size() ? c.stream[walk.offset + 1] : 0;
    std::printf("invalid packet at 0x%08" PRIx64 ": group %u code %u (%s)\n", walk.offset, group, code,
                WalkErrorText(walk.error));
    return kExitDamaged;
}

int Dump(const char *path)
{
    EventFileContents c;
    if (!Load(path, c, false))
        return kExitFile;
    std::fputs(DumpStream(c.stream).c_str(), stdout);
    return WalkStream(c.stream).valid() ? kExitOk : kExitDamaged;
}

int Seal(const char *in, const char *out)
{
    EventFileContents c;
    if (!Load(in, c, true))
        return kExitFile;
    const Seals seals = FindSeals(c.stream);
    if (seals.sealed || seals.offsets.empty()) {
        std::fprintf(stderr, "pvtool: %s: %s\n", in,
                     seals.sealed ? "the recording is sealed already" : "no PaperFlags packet to seal");
        return kExitDamaged;
    }
    for (uint64_t at : seals.offsets)
        c.stream[at + 1] |= uint8_t(paper_flags::kSealed >> 8);
    int code = 0;
    const auto file = WriteEventFile(c.header, c.stream, c.compressed, c.thumbnail ? &*c.thumbnail : nullptr, code);
    if (!file) {
        std::fprintf(stderr, "pvtool: %s: cannot write the sealed copy (err=%d)\n", out, code);
        return kExitDamaged;
    }
    std::string problem;
    if (!WriteFileAtomically(out, file->data(), file->size(), &problem)) {
        std::fprintf(stderr, "pvtool: %s: %s (err=%d)\n", out, problem.c_str(), event_file::kWriteFailed);
        return kExitFile;
    }
    return kExitOk;
}

} // namespace pv::cli
