// Walking an event stream packet by packet without applying it: validation, step splitting,
// the stream version and a readable dump. Only the length rule is used, so a walk reads at
// most the header and fixed part of each packet.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace pv::events {

struct PacketView {
    uint64_t offset;        // of the header
    uint8_t group;
    uint8_t code;
    uint64_t payloadLength;
    std::span<const uint8_t> payload;
};

enum class WalkError : uint8_t {
    None,
    CutHeader,     // the stream ends one byte into a header
    UnknownPacket, // (group, code) is not in the table
    CutFixedPart,  // the stream ends inside the fixed part
    CutPayload,    // the variable part runs past the end of the stream
};

struct WalkResult {
    WalkError error = WalkError::None;
    uint64_t offset = 0;   // the offset of the packet that made the stream invalid
    uint64_t packets = 0;  // valid packets before it
    bool valid() const { return error == WalkError::None; }
};

// Calls visit for every packet in order until the end or the first invalid packet; visit may
// return false to stop early (the result is then valid up to that packet).
WalkResult WalkStream(std::span<const uint8_t> stream, const std::function<bool(const PacketView &)> &visit = {});

// The end offsets of the steps: one after each packet whose group ends a step. Packets after
// the last step end belong to an open step and are not listed. Empty on an invalid stream.
struct StepSplit {
    WalkResult walk;
    std::vector<uint64_t> stepEnds;
};
StepSplit SplitSteps(std::span<const uint8_t> stream);

// The stream version: the first AppStatus packet's major × 100 + minor, 200 without one.
struct StreamVersion {
    int version = 200;
    bool rejected = false; // the AppStatus packet had extension flags other than 0
    uint64_t offset = 0;   // of that AppStatus packet
};
StreamVersion ReadStreamVersion(std::span<const uint8_t> stream);

// One line per packet: offset, step number, group and code (numbers and names), payload
// length, a bar after a packet that ends its step, and the key fields (sizes, layer, sample
// count); then a line telling where and why the stream is invalid, if it is.
std::string DumpStream(std::span<const uint8_t> stream);

const char *WalkErrorText(WalkError error);

} // namespace pv::events
