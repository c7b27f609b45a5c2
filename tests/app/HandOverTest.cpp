// The hand-over messages as the running instance reads them: the query first, then absolute
// paths, in whatever pieces the bytes arrive; anything else drops the peer for good.
#include "app/HandOver.h"

#include <gtest/gtest.h>

#include <vector>

namespace pv {
namespace {

using R = HandOverReader::Result;

std::span<const uint8_t> Bytes(const std::string &s) { return {reinterpret_cast<const uint8_t *>(s.data()), s.size()}; }

// Every result the reader gives for the bytes, fed `piece` bytes at a time.
std::vector<std::pair<R, std::string>> Read(const std::string &bytes, size_t piece)
{
    HandOverReader reader;
    std::vector<std::pair<R, std::string>> results;
    for (size_t at = 0; at < bytes.size(); at += piece) {
        reader.Append(Bytes(bytes.substr(at, piece)));
        std::string payload;
        for (R r; (r = reader.Next(payload)) != R::NeedMore;) {
            results.emplace_back(r, payload);
            if (r == R::Drop)
                return results;
        }
    }
    return results;
}

TEST(HandOver, Messages)
{
    const std::string query = FrameMessage(kHandOverQuery);
    const std::string longest = "/" + std::string(HandOverReader::kMaxMessage - 1, 'a');
    const struct {
        const char *name;
        std::string bytes;
        std::vector<std::pair<R, std::string>> results;
    } cases[] = {
        {"query and two paths", query + FrameMessage("/a/b.pe3") + FrameMessage("/絵.pe3"),
         {{R::Query, std::string(kHandOverQuery)}, {R::Path, "/a/b.pe3"}, {R::Path, "/絵.pe3"}}},
        {"the longest path", query + FrameMessage(longest), {{R::Query, std::string(kHandOverQuery)}, {R::Path, longest}}},
        {"one byte too long", query + FrameMessage(longest + "b"), {{R::Query, std::string(kHandOverQuery)}, {R::Drop, "a message too long"}}},
        {"a huge length", query + std::string("\xff\xff\xff\x7f", 4) + "x", {{R::Query, std::string(kHandOverQuery)}, {R::Drop, "a message too long"}}},
        {"a path before the query", FrameMessage("/a.pe3"), {{R::Drop, "no query"}}},
        {"a relative path", query + FrameMessage("a.pe3") + FrameMessage("/b.pe3"),
         {{R::Query, std::string(kHandOverQuery)}, {R::Drop, "a path that is not absolute"}}},
        {"an empty path", query + FrameMessage(""), {{R::Query, std::string(kHandOverQuery)}, {R::Drop, "a path that is not absolute"}}},
        {"a NUL inside", query + FrameMessage(std::string("/a\0b", 4)), {{R::Query, std::string(kHandOverQuery)}, {R::Drop, "a path that is not absolute"}}},
        {"a message cut short", query + FrameMessage("/a.pe3").substr(0, 7), {{R::Query, std::string(kHandOverQuery)}}},
    };
    for (const auto &c : cases)
        for (size_t piece : {size_t(1), size_t(3), size_t(4096)}) {
            SCOPED_TRACE(std::string(c.name) + ", pieces of " + std::to_string(piece));
            EXPECT_EQ(c.results, Read(c.bytes, piece));
        }
}

TEST(HandOver, DroppedStaysDropped)
{
    HandOverReader reader;
    reader.Append(Bytes(FrameMessage("/early")));
    std::string payload;
    EXPECT_EQ(R::Drop, reader.Next(payload));
    reader.Append(Bytes(FrameMessage(kHandOverQuery)));
    EXPECT_EQ(R::Drop, reader.Next(payload));
}

} // namespace
} // namespace pv
