// The probes of native layered files and event files, and the thumbnail reader: files
// built chunk by chunk, with the thumbnail plain or scrambled.
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

using namespace pixkit_test;

void Put32(Bytes &out, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

void PutChunk(Bytes &out, const char *magic, const Bytes &data)
{
    out.insert(out.end(), magic, magic + 4);
    const size_t padded = (data.size() + 3) & ~size_t{3};
    Put32(out, static_cast<uint32_t>(padded));
    out.insert(out.end(), data.begin(), data.end());
    out.resize(out.size() + padded - data.size(), 0);
}

Bytes NativeHeader(int32_t width, int32_t height, uint16_t dpi)
{
    Bytes d;
    Put32(d, width);
    Put32(d, height);
    Put32(d, 1);                // revision
    Put32(d, 3 | (5 << 16));    // version 3.5
    Put32(d, 0x0004);           // flags: a thumbnail follows
    Put32(d, 0xFFFFFF);         // paper colour
    Put32(d, 0);
    Put32(d, dpi);
    d.resize(48, 0);
    return d;
}

Bytes StreamHeader(int32_t width, int32_t height)
{
    Bytes d;
    Put32(d, width);
    Put32(d, height);
    Put32(d, 18 | (0 << 16));
    Put32(d, 3 | (5 << 16));
    d.resize(48, 0);
    return d;
}

void *Grow(void *buffer, size_t size)
{
    return std::realloc(buffer, size);
}

Bytes CompressBytes(const std::vector<uint32_t> &pixels)
{
    uint32_t capacity = 1;
    void *buffer = std::malloc(1);
    PixkitCompressRecord record{nullptr, nullptr, &Grow, 0};
    EXPECT_EQ(pixkitCompress(pixels.data(), static_cast<uint32_t>(pixels.size() * 4), &buffer, &capacity, &record), 0);
    Bytes out(static_cast<uint8_t *>(buffer), static_cast<uint8_t *>(buffer) + record.compressedSize);
    std::free(buffer);
    return out;
}

// The writer's scrambling: in 16,384-byte pieces, groups reversed, then every
// (stride + 1)-th byte XORed with the complement of the mask.
void Scramble(Bytes &data, uint8_t group, uint8_t mask, uint8_t stride)
{
    for (size_t start = 0; start < data.size(); start += 16384) {
        const size_t length = std::min<size_t>(16384, data.size() - start);
        for (size_t g = 0; g + group <= length; g += group)
            std::reverse(data.begin() + start + g, data.begin() + start + g + group);
        for (size_t i = 0; i < length; i += stride + 1)
            data[start + i] ^= static_cast<uint8_t>(~mask);
    }
}

struct Thumbnail {
    int32_t width = 5, height = 3;
    std::vector<uint32_t> pixels;       // top-down
    uint16_t form = 1;

    Thumbnail(int32_t w, int32_t h, uint16_t f) : width(w), height(h), form(f)
    {
        for (uint32_t i = 0; i < static_cast<uint32_t>(w * h); ++i)
            pixels.push_back(0xFF000000u | (i * 0x030507u));
    }

    Bytes Chunk() const
    {
        Bytes stored = CompressBytes(pixels);
        const uint32_t compressed = static_cast<uint32_t>(stored.size());
        if (form == 2)
            Scramble(stored, 4, 0x5A, 3);
        Bytes d;
        d.push_back(static_cast<uint8_t>(form));
        d.push_back(0);
        d.push_back(0);
        d.push_back(0);
        d.push_back(form == 2 ? 4 : 0);
        d.push_back(form == 2 ? 0x5A : 0);
        d.push_back(form == 2 ? 3 : 0);
        d.push_back(0);
        Put32(d, 640);
        Put32(d, 480);
        Put32(d, width);
        Put32(d, height);
        Put32(d, compressed);
        Put32(d, width * height * 4);
        d.resize(40, 0);
        d.insert(d.end(), stored.begin(), stored.end());
        Bytes chunk;
        PutChunk(chunk, "PTNL", d);
        return chunk;
    }
};

Bytes Join(std::initializer_list<Bytes> parts)
{
    Bytes out;
    for (const Bytes &p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

Bytes ChunkOf(const char *magic, const Bytes &data)
{
    Bytes out;
    PutChunk(out, magic, data);
    return out;
}

class ProgramFiles : public ::testing::Test {
protected:
    std::string Write(const std::string &name, const Bytes &bytes)
    {
        const std::string path = folder_.File(name);
        WriteWholeFile(path, bytes);
        return path;
    }
    ScratchFolder folder_;
};

TEST_F(ProgramFiles, ThumbnailsOfNativeAndEventFiles)
{
    const Thumbnail plain(7, 4, 1), scrambled(256, 192, 2);
    const Bytes pevp = ChunkOf("PEVP", StreamHeader(640, 480));
    const struct {
        const char *name;
        Bytes file;
        const Thumbnail &thumbnail;
    } cases[] = {
        {"picture.pci", Join({ChunkOf("PPIM", NativeHeader(640, 480, 72)), scrambled.Chunk(), ChunkOf("PLYR", Bytes(80))}), scrambled},
        {"upper.PCI", Join({ChunkOf("PPIM", NativeHeader(640, 480, 72)), plain.Chunk()}), plain},
        {"events.pe3", Join({plain.Chunk(), pevp, ChunkOf("PBEV", Bytes(24))}), plain},
        {"unknown-first.pe3", Join({ChunkOf("XTRA", Bytes(5)), scrambled.Chunk(), pevp}), scrambled},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        DibPair dib;
        ASSERT_EQ(pvGetThumbnail(Write(c.name, c.file).c_str(), &dib.header, &dib.pixels), 0);
        EXPECT_EQ(dib.info().bitCount, 32);
        EXPECT_EQ(dib.info().width, c.thumbnail.width);
        EXPECT_EQ(dib.info().height, c.thumbnail.height);
        EXPECT_EQ(dib.Pixels32(), c.thumbnail.pixels);
    }
}

TEST_F(ProgramFiles, BrokenThumbnailsAreReportedInTheErrorRecord)
{
    const Thumbnail plain(4, 4, 1);
    Bytes otherForm = plain.Chunk();
    otherForm[8] = 3;
    Bytes damagedData = plain.Chunk();
    damagedData[8 + 40] ^= 0xFF;
    damagedData.resize(8 + 40 + 3);
    damagedData[4] = 40 + 3;
    damagedData[8 + 24] = 3;    // stored size
    Bytes overrun = plain.Chunk();
    overrun[4] = 0xF0;
    const struct {
        const char *name;
        Bytes file;
        int code;
    } cases[] = {
        {"form3.pe3", otherForm, 14},
        {"damaged.pe3", damagedData, 9},
        {"overrun.pe3", overrun, 11},
        {"none.pe3", ChunkOf("PEVP", StreamHeader(10, 10)), 10},
        {"notnative.pci", plain.Chunk(), 16},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        DibPair dib;
        EXPECT_EQ(pvGetThumbnail(Write(c.name, c.file).c_str(), &dib.header, &dib.pixels), 1);
        EXPECT_EQ(dib.header, nullptr);
        EXPECT_EQ(gdllGetExtInfo(0)->code, c.code);
        EXPECT_NE(std::strstr(gdllGetExtInfo(0)->message, c.name), nullptr);
    }
    DibPair dib;
    EXPECT_EQ(pvGetThumbnail(folder_.File("missing.pe3").c_str(), &dib.header, &dib.pixels), 16);
}

TEST_F(ProgramFiles, ProbesReportKindAndSize)
{
    const Bytes pevs = Join({ChunkOf("PEVS", [] {
        Bytes d = StreamHeader(300, 200);
        d.resize(32);
        d.insert(d.end(), {1, 2, 3, 4});
        return d;
    }())});
    const struct {
        const char *name;
        int (*probe)(const char *, PixkitImageType *);
        Bytes file;
        int result;
        PixkitImageType expected;
    } cases[] = {
        {"native.pci", &pviGetType, ChunkOf("PPIM", NativeHeader(800, 600, 350)), 0, {32, 0, 800, 600, 350, 350}},
        {"not-native.pci", &pviGetType, ChunkOf("PPIX", NativeHeader(800, 600, 350)), 1, {}},
        {"too-wide.pci", &pviGetType, ChunkOf("PPIM", NativeHeader(10001, 600, 0)), 1, {}},
        {"compressed.pe3", &pesGetType, Join({Thumbnail(2, 2, 1).Chunk(), ChunkOf("PEVP", StreamHeader(640, 480))}), 0,
         {32, 0, 640, 480, 0, 0}},
        {"plain.pe3", &pesGetType, pevs, 0, {32, 0, 300, 200, 0, 0}},
        {"wrong-size.pe3", &pesGetType, ChunkOf("PEVP", Bytes(40)), 1, {}},
        {"no-stream.pe3", &pesGetType, Thumbnail(2, 2, 1).Chunk(), 1, {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        PixkitImageType type{};
        ASSERT_EQ(c.probe(Write(c.name, c.file).c_str(), &type), c.result);
        if (c.result == 0) {
            EXPECT_EQ(std::memcmp(&type, &c.expected, sizeof type), 0);
        }
        EXPECT_EQ(c.probe(folder_.File("missing").c_str(), &type), 16);
    }
}

} // namespace
