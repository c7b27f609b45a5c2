// Framing and reading the hand-over messages.
#include "app/HandOver.h"

namespace pv {

std::string FrameMessage(std::string_view payload)
{
    const auto n = static_cast<uint32_t>(payload.size());
    std::string out{char(n & 0xFF), char((n >> 8) & 0xFF), char((n >> 16) & 0xFF), char(n >> 24)};
    return out.append(payload);
}

HandOverReader::Result HandOverReader::Next(std::string &payload)
{
    const auto drop = [&](const char *why) {
        dropped_ = true;
        buffer_.clear();
        payload = why;
        return Result::Drop;
    };
    if (dropped_)
        return drop("dropped before");
    if (buffer_.size() < 4)
        return Result::NeedMore;
    const auto byte = [&](size_t i) { return uint32_t(static_cast<unsigned char>(buffer_[i])); };
    const uint32_t length = byte(0) | byte(1) << 8 | byte(2) << 16 | byte(3) << 24;
    if (length > kMaxMessage)
        return drop("a message too long");
    if (buffer_.size() < 4 + size_t(length))
        return Result::NeedMore;
    payload.assign(buffer_, 4, length);
    buffer_.erase(0, 4 + size_t(length));
    if (!queried_) {
        if (payload != kHandOverQuery)
            return drop("no query");
        queried_ = true;
        return Result::Query;
    }
    if (payload.empty() || payload.front() != '/' || payload.find('\0') != std::string::npos)
        return drop("a path that is not absolute");
    return Result::Path;
}

} // namespace pv
