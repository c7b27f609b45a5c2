// The messages between a later start and the running instance: a little-endian uint32 length
// and that many bytes. The running instance reads them with HandOverReader, which trusts
// nothing: the first message must be the query, every later one an absolute path, none
// longer than kMaxMessage; anything else drops the peer.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace pv {

inline constexpr std::string_view kHandOverQuery = "pV2 query";

// A payload with its length in front.
std::string FrameMessage(std::string_view payload);

class HandOverReader {
public:
    static constexpr size_t kMaxMessage = 4096;
    enum class Result { NeedMore, Query, Path, Drop };

    void Append(std::span<const uint8_t> bytes) { buffer_.append(reinterpret_cast<const char *>(bytes.data()), bytes.size()); }
    // The next complete message: the query, a path (in payload), or Drop with the reason in
    // payload; after Drop the reader stays dropped.
    Result Next(std::string &payload);

private:
    std::string buffer_;
    bool queried_ = false;
    bool dropped_ = false;
};

} // namespace pv
