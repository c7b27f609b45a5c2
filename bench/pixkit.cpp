// pixkit against the libraries it wraps, on the same data and settings: PNG decode and encode
// (24 and 32 bits, interlaced and not) against libpng, JPEG decode and encode at quality 90
// against libjpeg, and the block compressor against zlib levels 1 and 6 on 64 KiB blocks of
// an event stream and on 32 x 32 colour tiles. The picture is the shared test photograph
// tiled to 1024 x 768; the event stream is made of the shared 30-second pen recording.
#include "pixkit.h"

#include "common/BenchRate.h"

#include <benchmark/benchmark.h>
#include <jpeglib.h>
#include <png.h>
#include <zlib.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kWidth = 1024;
constexpr int kHeight = 768;

struct Dib {
    std::vector<uint8_t> header;
    std::vector<uint8_t> pixels;    // bottom-up rows
    int bitCount = 0;
    size_t stride() const { return ((static_cast<size_t>(kWidth) * bitCount + 31) / 32) * 4; }
};

struct Fixture {
    Dib dib24, dib32;
    std::string folder;
    std::vector<uint8_t> events;
    std::vector<uint8_t> tiles;     // 32 x 32 tiles of the 32-bit picture, one after another

    std::string File(const char *name) const { return folder + "/" + name; }
    ~Fixture()
    {
        std::error_code ignored;
        if (!folder.empty())
            std::filesystem::remove_all(folder, ignored);
    }
};

Dib MakeDib(const std::vector<uint32_t> &topDown, int bitCount)
{
    Dib dib;
    dib.bitCount = bitCount;
    PixkitBitmapInfoHeader h{};
    h.size = 40;
    h.width = kWidth;
    h.height = kHeight;
    h.planes = 1;
    h.bitCount = static_cast<uint16_t>(bitCount);
    dib.header.resize(40);
    std::memcpy(dib.header.data(), &h, 40);
    dib.pixels.resize(dib.stride() * kHeight);
    for (int y = 0; y < kHeight; ++y) {
        uint8_t *row = &dib.pixels[(kHeight - 1 - y) * dib.stride()];
        for (int x = 0; x < kWidth; ++x) {
            const uint32_t p = topDown[static_cast<size_t>(y) * kWidth + x];
            std::memcpy(row + x * (bitCount / 8), &p, bitCount / 8);
        }
    }
    return dib;
}

// The shared photograph, mirrored in tiles up to the picture size, with an alpha ramp.
std::vector<uint32_t> MakePicture()
{
    void *header = nullptr, *pixels = nullptr;
    const std::string photo = std::string(PV_SHARED_TESTDATA) + "/jpeg/testorig.jpg";
    if (jpegGetImage(photo.c_str(), &header, &pixels) != 0) {
        std::fprintf(stderr, "bench_pixkit: cannot read %s\n", photo.c_str());
        std::exit(1);
    }
    const auto *h = static_cast<const PixkitBitmapInfoHeader *>(header);
    const int w = h->width, ph = h->height;
    std::vector<uint32_t> source(static_cast<size_t>(w) * ph);
    bmpConv32(header, pixels, w, ph, source.data());
    pixkitLocalFree(header);
    pixkitLocalFree(pixels);
    std::vector<uint32_t> picture(static_cast<size_t>(kWidth) * kHeight);
    for (int y = 0; y < kHeight; ++y) {
        const int sy = (y / ph) % 2 ? ph - 1 - y % ph : y % ph;
        for (int x = 0; x < kWidth; ++x) {
            const int sx = (x / w) % 2 ? w - 1 - x % w : x % w;
            const uint32_t alpha = 128 + (x + y) * 127 / (kWidth + kHeight);
            picture[static_cast<size_t>(y) * kWidth + x] = (source[sy * w + sx] & 0xFFFFFF) | (alpha << 24);
        }
    }
    return picture;
}

// Stroke packets from the pen recording: a 2-byte header, then x, y in 1/16 pixel, pressure
// and time for batches of 16 samples, with a stroke begin and end around every 100 samples.
std::vector<uint8_t> MakeEventStream()
{
    std::ifstream in(std::string(PV_SHARED_TESTDATA) + "/strokes/painting30sec.dat");
    std::vector<uint8_t> out;
    double t, x, y, pressure;
    int sample = 0;
    int pass = 0;   // each pass over the recording is shifted, so the stream never repeats
    auto put16 = [&](int v) {
        out.push_back(static_cast<uint8_t>(v));
        out.push_back(static_cast<uint8_t>(v >> 8));
    };
    while (out.size() < (1u << 20)) {
        if (!(in >> t >> x >> y >> pressure)) {
            in.clear();
            in.seekg(0);
            ++pass;
            continue;
        }
        if (sample % 100 == 0) {
            out.insert(out.end(), {16, 1, 3, 0, 0, 0, 255, 3});
        }
        if (sample % 16 == 0)
            out.insert(out.end(), {17, 2, 16, 0});
        put16(static_cast<int>((x + pass * 37.3) * 16));
        put16(static_cast<int>((y + pass * 11.9) * 16));
        put16(static_cast<int>(pressure * 65535));
        put16(static_cast<int>((t + pass * 30.0) * 1000) & 0xFFFF);
        if (++sample % 100 == 0)
            out.insert(out.end(), {18, 1});
    }
    return out;
}

// The peers' own writers make the files that both sides decode.
void WritePngDirect(const std::string &name, const Dib &dib, bool interlaced);
void WriteJpegDirect(const std::string &name, const Dib &dib, int quality);

Fixture &Data()
{
    static Fixture fixture = [] {
        Fixture f;
        const std::vector<uint32_t> picture = MakePicture();
        f.dib24 = MakeDib(picture, 24);
        f.dib32 = MakeDib(picture, 32);
        f.folder = "/tmp/pixkit-bench-" + std::to_string(getpid());
        std::filesystem::create_directories(f.folder);
        WritePngDirect(f.File("24.png"), f.dib24, false);
        WritePngDirect(f.File("24i.png"), f.dib24, true);
        WritePngDirect(f.File("32.png"), f.dib32, false);
        WritePngDirect(f.File("32i.png"), f.dib32, true);
        WriteJpegDirect(f.File("q90.jpg"), f.dib24, 90);
        f.events = MakeEventStream();
        for (int ty = 0; ty + 32 <= kHeight; ty += 32)
            for (int tx = 0; tx + 32 <= kWidth; tx += 32)
                for (int y = 0; y < 32; ++y) {
                    const auto *row = &picture[static_cast<size_t>(ty + y) * kWidth + tx];
                    const auto *bytes = reinterpret_cast<const uint8_t *>(row);
                    f.tiles.insert(f.tiles.end(), bytes, bytes + 32 * 4);
                }
        return f;
    }();
    return fixture;
}

// ---- PNG ---------------------------------------------------------------------------------

void WritePngDirect(const std::string &name, const Dib &dib, bool interlaced)
{
    FILE *file = std::fopen(name.c_str(), "wb");
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png)) != 0)
        std::abort();
    png_init_io(png, file);
    png_set_IHDR(png, info, kWidth, kHeight, 8, dib.bitCount == 32 ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB,
                 interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    png_set_bgr(png);
    std::vector<png_bytep> rows(kHeight);
    for (int y = 0; y < kHeight; ++y)
        rows[y] = const_cast<png_bytep>(&dib.pixels[(kHeight - 1 - y) * dib.stride()]);
    png_write_image(png, rows.data());
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    std::fclose(file);
}

// Decodes into a fresh uninitialised block, as a reader that returns its image does.
std::unique_ptr<uint8_t[]> ReadPngDirect(const std::string &name, size_t stride)
{
    FILE *file = std::fopen(name.c_str(), "rb");
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png)) != 0)
        std::abort();
    png_init_io(png, file);
    png_read_info(png, info);
    png_set_bgr(png);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    auto pixels = std::make_unique_for_overwrite<uint8_t[]>(stride * kHeight);
    std::vector<png_bytep> rows(kHeight);
    for (int y = 0; y < kHeight; ++y)
        rows[y] = &pixels[(kHeight - 1 - y) * stride];
    png_read_image(png, rows.data());
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    std::fclose(file);
    return pixels;
}

const Dib &DibOf(int bitCount)
{
    return bitCount == 24 ? Data().dib24 : Data().dib32;
}

std::string PngName(int bitCount, bool interlaced)
{
    return Data().File(bitCount == 24 ? (interlaced ? "24i.png" : "24.png") : (interlaced ? "32i.png" : "32.png"));
}

void PngDecodeOurs(benchmark::State &state, int bitCount, bool interlaced)
{
    const std::string name = PngName(bitCount, interlaced);
    for (auto _ : state) {
        void *header = nullptr, *pixels = nullptr;
        if (pngGetImage(name.c_str(), &header, &pixels) != 0)
            state.SkipWithError("pngGetImage failed");
        benchmark::DoNotOptimize(pixels);
        pixkitLocalFree(header);
        pixkitLocalFree(pixels);
    }
    pv::bench::SetRate(state, kWidth * kHeight / 1e6, "Mpix/s");
}

void PngDecodePeer(benchmark::State &state, int bitCount, bool interlaced)
{
    const std::string name = PngName(bitCount, interlaced);
    for (auto _ : state) {
        auto pixels = ReadPngDirect(name, DibOf(bitCount).stride());
        benchmark::DoNotOptimize(pixels.get());
    }
    pv::bench::SetRate(state, kWidth * kHeight / 1e6, "Mpix/s");
}

void PngEncodeOurs(benchmark::State &state, int bitCount, bool interlaced)
{
    const Dib &dib = DibOf(bitCount);
    const std::string name = Data().File("out-ours.png");
    for (auto _ : state)
        if (pngSaveImage(name.c_str(), dib.header.data(), dib.pixels.data(), interlaced ? -1 : 0) != 0)
            state.SkipWithError("pngSaveImage failed");
    pv::bench::SetRate(state, kWidth * kHeight / 1e6, "Mpix/s");
}

void PngEncodePeer(benchmark::State &state, int bitCount, bool interlaced)
{
    const Dib &dib = DibOf(bitCount);
    const std::string name = Data().File("out-peer.png");
    for (auto _ : state)
        WritePngDirect(name, dib, interlaced);
    pv::bench::SetRate(state, kWidth * kHeight / 1e6, "Mpix/s");
}

const bool pngCasesRegistered = [] {
    for (const int bits : {24, 32}) {
        for (const bool interlaced : {false, true}) {
            const std::string suffix = std::to_string(bits) + (interlaced ? "_interlaced" : "");
            benchmark::RegisterBenchmark(("png_decode_" + suffix + "/ours").c_str(), PngDecodeOurs, bits, interlaced)
                ->Unit(benchmark::kMillisecond);
            benchmark::RegisterBenchmark(("png_decode_" + suffix + "/peer").c_str(), PngDecodePeer, bits, interlaced)
                ->Unit(benchmark::kMillisecond);
            benchmark::RegisterBenchmark(("png_encode_" + suffix + "/ours").c_str(), PngEncodeOurs, bits, interlaced)
                ->Unit(benchmark::kMillisecond);
            benchmark::RegisterBenchmark(("png_encode_" + suffix + "/peer").c_str(), PngEncodePeer, bits, interlaced)
                ->Unit(benchmark::kMillisecond);
        }
    }
    return true;
}();

// ---- JPEG --------------------------------------------------------------------------------

void WriteJpegDirect(const std::string &name, const Dib &dib, int quality)
{
    FILE *file = std::fopen(name.c_str(), "wb");
    jpeg_compress_struct info{};
    jpeg_error_mgr error;
    info.err = jpeg_std_error(&error);
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, file);
    info.image_width = kWidth;
    info.image_height = kHeight;
    info.input_components = 3;
    info.in_color_space = JCS_EXT_BGR;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(&dib.pixels[(kHeight - 1 - info.next_scanline) * dib.stride()]);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::fclose(file);
}

void JpegDecodeOurs(benchmark::State &state)
{
    const std::string name = Data().File("q90.jpg");
    for (auto _ : state) {
        void *header = nullptr, *pixels = nullptr;
        if (jpegGetImage(name.c_str(), &header, &pixels) != 0)
            state.SkipWithError("jpegGetImage failed");
        benchmark::DoNotOptimize(pixels);
        pixkitLocalFree(header);
        pixkitLocalFree(pixels);
    }
    pv::bench::SetRate(state, kWidth * kHeight / 1e6, "Mpix/s");
}

void JpegDecodePeer(benchmark::State &state)
{
    const std::string name = Data().File("q90.jpg");
    const size_t stride = Data().dib24.stride();
    for (auto _ : state) {
        FILE *file = std::fopen(name.c_str(), "rb");
        jpeg_decompress_struct info{};
        jpeg_error_mgr error;
        info.err = jpeg_std_error(&error);
        jpeg_create_decompress(&info);
        jpeg_stdio_src(&info, file);
        jpeg_read_header(&info, TRUE);
        info.out_color_space = JCS_EXT_BGR;
        jpeg_start_decompress(&info);
        auto pixels = std::make_unique_for_overwrite<uint8_t[]>(stride * kHeight);
        std::vector<JSAMPROW> rows(kHeight);
        for (int y = 0; y < kHeight; ++y)
            rows[y] = &pixels[(kHeight - 1 - y) * stride];
        while (info.output_scanline < info.output_height)
            jpeg_read_scanlines(&info, rows.data() + info.output_scanline, info.output_height - info.output_scanline);
        jpeg_finish_decompress(&info);
        jpeg_destroy_decompress(&info);
        std::fclose(file);
        benchmark::DoNotOptimize(pixels.get());
    }
    pv::bench::SetRate(state, kWidth * kHeight / 1e6, "Mpix/s");
}

void JpegEncodeOurs(benchmark::State &state)
{
    const Dib &dib = Data().dib24;
    const std::string name = Data().File("out-ours.jpg");
    const PixkitJpegOptions options{0, 0, 0, 90, 0};
    for (auto _ : state)
        if (jpegSaveImage(name.c_str(), dib.header.data(), dib.pixels.data(), &options) != 0)
            state.SkipWithError("jpegSaveImage failed");
    pv::bench::SetRate(state, kWidth * kHeight / 1e6, "Mpix/s");
}

void JpegEncodePeer(benchmark::State &state)
{
    const std::string name = Data().File("out-peer.jpg");
    for (auto _ : state)
        WriteJpegDirect(name, Data().dib24, 90);
    pv::bench::SetRate(state, kWidth * kHeight / 1e6, "Mpix/s");
}

BENCHMARK(JpegDecodeOurs)->Name("jpeg_decode_q90/ours")->Unit(benchmark::kMillisecond);
BENCHMARK(JpegDecodePeer)->Name("jpeg_decode_q90/peer")->Unit(benchmark::kMillisecond);
BENCHMARK(JpegEncodeOurs)->Name("jpeg_encode_q90/ours")->Unit(benchmark::kMillisecond);
BENCHMARK(JpegEncodePeer)->Name("jpeg_encode_q90/peer")->Unit(benchmark::kMillisecond);

// ---- block compression -------------------------------------------------------------------

void *Grow(void *buffer, size_t size)
{
    return std::realloc(buffer, size);
}

const std::vector<uint8_t> &Blocks(bool events)
{
    return events ? Data().events : Data().tiles;
}

// Compresses every block of the data separately; returns the compressed bytes in all.
size_t CompressOurs(const std::vector<uint8_t> &data, size_t blockSize)
{
    size_t total = 0;
    uint32_t capacity = 65536;
    void *buffer = std::malloc(capacity);
    for (size_t start = 0; start < data.size(); start += blockSize) {
        PixkitCompressRecord record{nullptr, nullptr, &Grow, 0};
        const auto length = static_cast<uint32_t>(std::min(blockSize, data.size() - start));
        if (pixkitCompress(&data[start], length, &buffer, &capacity, &record) != 0)
            std::abort();
        total += record.compressedSize;
    }
    std::free(buffer);
    return total;
}

size_t CompressZlib(const std::vector<uint8_t> &data, size_t blockSize, int level)
{
    size_t total = 0;
    std::vector<uint8_t> out(compressBound(static_cast<uLong>(blockSize)));
    for (size_t start = 0; start < data.size(); start += blockSize) {
        uLongf size = static_cast<uLongf>(out.size());
        const auto length = static_cast<uLong>(std::min(blockSize, data.size() - start));
        if (compress2(out.data(), &size, &data[start], length, level) != Z_OK)
            std::abort();
        total += size;
    }
    return total;
}

void ReportRatio(const char *name, bool events, size_t blockSize, int level, size_t ours)
{
    static std::vector<std::string> printed;
    const std::string key = std::string(name) + std::to_string(level);
    for (const std::string &p : printed)
        if (p == key)
            return;
    printed.push_back(key);
    const double original = static_cast<double>(Blocks(events).size());
    std::printf("RATIO %s compressed/original ours=%.4f zlib%d=%.4f\n", name, ours / original, level,
                CompressZlib(Blocks(events), blockSize, level) / original);
}

void CompressBlocksOurs(benchmark::State &state, bool events, size_t blockSize, int level, const char *name)
{
    Data();
    size_t compressed = 0;
    for (auto _ : state)
        compressed = CompressOurs(Blocks(events), blockSize);
    ReportRatio(name, events, blockSize, level, compressed);
    pv::bench::SetRate(state, Blocks(events).size() / 1e6, "MB/s");
}

void CompressBlocksZlib(benchmark::State &state, bool events, size_t blockSize, int level, const char *)
{
    Data();
    for (auto _ : state)
        benchmark::DoNotOptimize(CompressZlib(Blocks(events), blockSize, level));
    pv::bench::SetRate(state, Blocks(events).size() / 1e6, "MB/s");
}

const bool compressCasesRegistered = [] {
    const struct {
        const char *name;
        bool events;
        size_t blockSize;
    } sets[] = {{"compress_events_64k", true, 65536}, {"compress_tiles_32x32", false, 4096}};
    for (const auto &set : sets) {
        for (const int level : {1, 6}) {
            const std::string name = std::string(set.name) + "_vs_zlib" + std::to_string(level);
            benchmark::RegisterBenchmark((name + "/ours").c_str(), CompressBlocksOurs, set.events, set.blockSize,
                                         level, set.name)
                ->Unit(benchmark::kMillisecond);
            benchmark::RegisterBenchmark((name + "/peer").c_str(), CompressBlocksZlib, set.events, set.blockSize,
                                         level, set.name)
                ->Unit(benchmark::kMillisecond);
        }
    }
    return true;
}();

// The decompressor against inflate on the same blocks.
void DecompressOurs(benchmark::State &state)
{
    const std::vector<uint8_t> &data = Data().events;
    std::vector<std::vector<uint8_t>> streams;
    for (size_t start = 0; start < data.size(); start += 65536) {
        uint32_t capacity = 1;
        void *buffer = std::malloc(1);
        PixkitCompressRecord record{nullptr, nullptr, &Grow, 0};
        pixkitCompress(&data[start], 65536, &buffer, &capacity, &record);
        const auto *bytes = static_cast<const uint8_t *>(buffer);
        streams.emplace_back(bytes, bytes + record.compressedSize);
        std::free(buffer);
    }
    std::vector<uint8_t> out(65536);
    for (auto _ : state)
        for (const auto &stream : streams)
            if (pixkitDecompress(stream.data(), stream.size(), out.data(), out.size()) != 0)
                state.SkipWithError("pixkitDecompress failed");
    pv::bench::SetRate(state, data.size() / 1e6, "MB/s");
}

void DecompressZlib(benchmark::State &state)
{
    const std::vector<uint8_t> &data = Data().events;
    std::vector<std::vector<uint8_t>> streams;
    for (size_t start = 0; start < data.size(); start += 65536) {
        std::vector<uint8_t> out(compressBound(65536));
        uLongf size = static_cast<uLongf>(out.size());
        compress2(out.data(), &size, &data[start], 65536, 6);
        out.resize(size);
        streams.push_back(out);
    }
    std::vector<uint8_t> out(65536);
    for (auto _ : state)
        for (const auto &stream : streams) {
            uLongf size = 65536;
            uncompress(out.data(), &size, stream.data(), static_cast<uLong>(stream.size()));
        }
    pv::bench::SetRate(state, data.size() / 1e6, "MB/s");
}

BENCHMARK(DecompressOurs)->Name("decompress_events_64k_vs_zlib6/ours")->Unit(benchmark::kMillisecond);
BENCHMARK(DecompressZlib)->Name("decompress_events_64k_vs_zlib6/peer")->Unit(benchmark::kMillisecond);

} // namespace
