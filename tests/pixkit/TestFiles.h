// Small helpers of the pixkit tests: a scratch folder, whole-file reads and writes, and the
// 32-bit pixels of a DIB block pair.
#pragma once

#include "pixkit.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace pixkit_test {

using Bytes = std::vector<uint8_t>;

// A fresh folder, removed with everything in it at the end of the test.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    std::string File(const std::string &name) const { return (path_ / name).string(); }
    const std::filesystem::path &path() const { return path_; }

private:
    std::filesystem::path path_;
};

Bytes ReadWholeFile(const std::string &name);
void WriteWholeFile(const std::string &name, const Bytes &bytes);

// The blocks a reader returned, freed at the end of the scope.
struct DibPair {
    void *header = nullptr;
    void *pixels = nullptr;
    DibPair() = default;
    DibPair(const DibPair &) = delete;
    ~DibPair()
    {
        pixkitLocalFree(header);
        pixkitLocalFree(pixels);
    }
    const PixkitBitmapInfoHeader &info() const { return *static_cast<const PixkitBitmapInfoHeader *>(header); }
    // Top-down blue, green, red, alpha pixels through bmpConv32.
    std::vector<uint32_t> Pixels32() const;
};

// A header block (40 bytes and a table or masks) for writing tests.
Bytes MakeHeader(int32_t width, int32_t height, int bitCount, std::vector<uint32_t> tableOrMasks = {},
                 bool bitFields = false);

// Pixel rows of a DIB (rows padded to 4 bytes) filled with a repeating byte pattern.
Bytes PatternPixels(int32_t width, int32_t rows, int bitCount, int step);

std::string SharedTestData(const std::string &relative);

} // namespace pixkit_test
