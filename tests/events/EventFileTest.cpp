// The event file container: round trips in every form, exact block boundaries, the
// thumbnail forms, and each damaged chunk giving its result code.
#include "events/EventFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>

namespace pv::events {
namespace {

using namespace event_file;

// A stream of exactly `length` bytes made of valid packets: RecordTime info packets, whose
// payload length stands in their first four bytes.
std::vector<uint8_t> StreamOfLength(size_t length)
{
    std::vector<uint8_t> s;
    while (s.size() < length) {
        const size_t left = length - s.size();
        const uint32_t n = uint32_t(left >= 6 + 40000 + 6 ? 40000 : left - 6);
        const uint8_t head[] = {1, 17, uint8_t(n), uint8_t(n >> 8), uint8_t(n >> 16), uint8_t(n >> 24)};
        s.insert(s.end(), head, head + 6);
        for (uint32_t i = 0; i < n; ++i)
            s.push_back(uint8_t(i * 7 + s.size()));
    }
    return s;
}

EventThumbnail Thumbnail(uint16_t form)
{
    EventThumbnail t;
    t.form = form;
    t.paperWidth = 640;
    t.paperHeight = 480;
    ThumbnailSize(640, 480, t.width, t.height);
    for (int32_t i = 0; i < t.width * t.height; ++i)
        t.pixels.push_back(0xFF000000u | uint32_t(i * 2654435761u >> 8));
    return t;
}

TEST(EventFile, RoundTrips)
{
    for (size_t length : {size_t(10), size_t(65536), size_t(65537), size_t(200000)})
        for (bool compressed : {false, true})
            for (uint16_t form : {uint16_t(0), uint16_t(1), uint16_t(2)}) {
                SCOPED_TRACE(testing::Message() << length << " compressed " << compressed << " form " << form);
                const std::vector<uint8_t> stream = StreamOfLength(length);
                const EventFileHeader header{640, 480, 18, uint16_t(compressed ? 7 : 0), 42};
                const EventThumbnail thumbnail = Thumbnail(form);
                int code = -1;
                auto file = WriteEventFile(header, stream, compressed, form ? &thumbnail : nullptr, code);
                ASSERT_TRUE(file) << code;
                EXPECT_EQ(0u, file->size() % 4);
                EventFileContents read;
                ASSERT_EQ(kOk, ReadEventFile(*file, read, true));
                EXPECT_EQ(stream, read.stream);
                EXPECT_EQ(compressed, read.compressed);
                EXPECT_EQ(compressed ? (length + 65535) / 65536 : 0u, read.blockCount);
                EXPECT_EQ(42u, read.header.stepCount);
                EXPECT_EQ(compressed ? 7 : 0, read.header.flags) << "the flags word goes back as it came";
                EXPECT_EQ(640, read.header.paperWidth);
                ASSERT_EQ(form != 0, read.thumbnail.has_value());
                if (form) {
                    EXPECT_EQ(form, read.thumbnail->form);
                    EXPECT_EQ(thumbnail.pixels, read.thumbnail->pixels);
                }
            }
}

TEST(EventFile, WritingRefusesEmptyAndInvalidStreams)
{
    int code = -1;
    EXPECT_FALSE(WriteEventFile({}, {}, true, nullptr, code));
    EXPECT_EQ(kNoEvents, code);
    const std::vector<uint8_t> unknown{0x7F, 0x7F, 0, 0};
    EXPECT_FALSE(WriteEventFile({}, unknown, false, nullptr, code));
    EXPECT_EQ(kInvalidStream, code);
}

void DropLast(std::vector<uint8_t> &b, size_t n) { b.erase(b.end() - ptrdiff_t(std::min(n, b.size())), b.end()); }

void Put32(std::vector<uint8_t> &b, size_t at, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b[at + size_t(i)] = uint8_t(v >> (8 * i));
}

TEST(EventFile, DamagedFilesGiveTheirCodes)
{
    int code = -1;
    const std::vector<uint8_t> stream = StreamOfLength(70000);
    const EventThumbnail thumbnail = Thumbnail(1);
    const std::vector<uint8_t> compressed = *WriteEventFile({64, 64, 18, 0, 3}, stream, true, nullptr, code);
    const std::vector<uint8_t> plain = *WriteEventFile({64, 64, 18, 0, 3}, stream, false, nullptr, code);
    const std::vector<uint8_t> withThumb = *WriteEventFile({64, 64, 18, 0, 3}, stream, true, &thumbnail, code);
    const size_t thumbChunk = 8 + (size_t(withThumb[4]) | size_t(withThumb[5]) << 8 | size_t(withThumb[6]) << 16);
    const size_t secondBlock = 56 + 8 + (size_t(compressed[56 + 4]) | size_t(compressed[56 + 5]) << 8 | size_t(compressed[56 + 6]) << 16);

    using Damage = std::function<void(std::vector<uint8_t> &)>;
    const struct {
        const char *what;
        const std::vector<uint8_t> *file;
        Damage damage;
        int code;
    } cases[] = {
        {"shorter than a header", &compressed, [](auto &f) { DropLast(f, f.size() - 30); }, kReadFailed},
        {"cut inside a block", &compressed, [](auto &f) { DropLast(f, 10); }, kReadFailed},
        {"unknown magic", &compressed, [](auto &f) { std::memcpy(f.data(), "XXXX", 4); }, kBadMagic},
        {"header size not 48", &compressed, [](auto &f) { Put32(f, 4, 52); }, kBadSize},
        {"generation 19", &compressed, [](auto &f) { f[16] = 19; }, kGenerationTooNew},
        {"no blocks", &compressed, [](auto &f) { Put32(f, 40, 0); }, kNoEvents},
        {"a block count the length does not give", &compressed, [](auto &f) { Put32(f, 40, 3); }, kBadSize},
        {"another block size", &compressed, [](auto &f) { Put32(f, 44, 4096); }, kBlockSize},
        {"a block out of place", &compressed, [](auto &f) { Put32(f, 56 + 8, 5); }, kBlockData},
        {"a block longer than the stream allows", &compressed, [](auto &f) { Put32(f, 56 + 12, 70000); }, kBlockData},
        {"a block shorter than it must be", &compressed, [](auto &f) { Put32(f, 56 + 12, 100); }, kBlockData},
        {"compressed size past its chunk", &compressed, [](auto &f) { Put32(f, 56 + 16, 0x7FFFFFFF); }, kBlockData},
        {"block size field below its header", &compressed, [](auto &f) { Put32(f, 56 + 4, 3); }, kBadSize},
        {"block size field past the file", &compressed, [](auto &f) { Put32(f, 56 + 4, 0xFFFFFFF0); }, kReadFailed},
        {"second block with another magic", &compressed, [=](auto &f) { std::memcpy(f.data() + secondBlock, "PEVS", 4); }, kBadMagic},
        {"garbled compressed bytes", &compressed, [](auto &f) { std::memset(f.data() + 56 + 28, 0xFF, 64); }, kBlockData},
        {"plain chunk with flags", &plain, [](auto &f) { f[18] = 1; }, kPevsFlags},
        {"plain chunk smaller than its stream", &plain, [](auto &f) { Put32(f, 4, 40); }, kBadSize},
        {"plain chunk size below its header", &plain, [](auto &f) { Put32(f, 4, 8); }, kBadSize},
        {"plain stream cut", &plain, [](auto &f) { DropLast(f, 100); }, kPevsShort},
        {"thumbnail chunk past the file", &withThumb, [](auto &f) { Put32(f, 4, 0x7FFFFFF0); }, kThumbnailPastEnd},
        {"nothing after the thumbnail", &withThumb, [=](auto &f) { DropLast(f, f.size() - thumbChunk); }, kThumbnailEnded},
        {"thumbnail size below its descriptor", &withThumb, [](auto &f) { Put32(f, 4, 12); }, kThumbnailForm},
        {"thumbnail form 3", &withThumb, [](auto &f) { f[8] = 3; }, kThumbnailForm},
        {"thumbnail 0 wide", &withThumb, [](auto &f) { Put32(f, 8 + 16, 0); }, kThumbnailForm},
        {"thumbnail raw size not w x h x 4", &withThumb, [](auto &f) { Put32(f, 8 + 28, 12); }, kThumbnailForm},
        {"thumbnail stored size past its chunk", &withThumb, [](auto &f) { Put32(f, 8 + 24, 0x10000000); }, kThumbnailForm},
    };
    for (const auto &c : cases) {
        std::vector<uint8_t> file = *c.file;
        c.damage(file);
        EventFileContents read;
        EXPECT_EQ(c.code, ReadEventFile(file, read, true)) << c.what;
        EXPECT_TRUE(read.stream.empty()) << c.what << ": nothing half read";
    }
    EventFileContents read;
    EXPECT_EQ(kOk, ReadEventFile(withThumb, read, false)) << "a thumbnail not asked for is skipped";
    EXPECT_FALSE(read.thumbnail);
}

TEST(EventFile, ThumbnailScrambleAndSize)
{
    std::vector<uint8_t> data{0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
    ScrambleThumbnail(data, 4, 0, 3);
    EXPECT_EQ((std::vector<uint8_t>{3, 2, 1, 0, 7, 6, 5, 4, 8, 9}), data) << "a shorter rest stays";
    ScrambleThumbnail(data, 1, 0xF0, 3);
    EXPECT_EQ((std::vector<uint8_t>{3 ^ 0x0F, 2, 1, 0, 7 ^ 0x0F, 6, 5, 4, 8 ^ 0x0F, 9}), data);
    std::vector<uint8_t> big(40000);
    for (size_t i = 0; i < big.size(); ++i)
        big[i] = uint8_t(i * 31);
    const std::vector<uint8_t> original = big;
    ScrambleThumbnail(big, 4, 0xA5, 3);
    EXPECT_NE(original, big);
    UnscrambleThumbnail(big, 4, 0xA5, 3);
    EXPECT_EQ(original, big);

    const struct {
        int32_t pw, ph, w, h;
    } sizes[] = {{640, 480, 256, 192}, {480, 640, 192, 256}, {5000, 10, 256, 1}, {256, 256, 256, 256}, {1, 1, 256, 256}};
    for (const auto &s : sizes) {
        int32_t w = 0, h = 0;
        ThumbnailSize(s.pw, s.ph, w, h);
        EXPECT_EQ(s.w, w);
        EXPECT_EQ(s.h, h);
    }
}

} // namespace
} // namespace pv::events
