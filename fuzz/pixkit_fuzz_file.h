// Shared by the pixkit fuzz targets: the readers take file names, so each input is written
// to one temporary file per process first.
#pragma once

#include "pixkit.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>
#include <vector>

namespace pixkit_fuzz {

// Writes the input to a file with the given extension and returns its name.
inline const std::string &InputFile(const uint8_t *data, size_t size, const char *extension)
{
    // Memory-backed when the system has it: a file on disk costs milliseconds a write.
    static const std::string folder = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    // The file is removed when the process ends.
    static struct Name {
        std::string path;
        ~Name()
        {
            if (!path.empty())
                unlink(path.c_str());
        }
    } name;
    const std::string wanted = folder + "/pixkit-fuzz-" + std::to_string(getpid()) + extension;
    if (wanted != name.path && !name.path.empty())
        unlink(name.path.c_str());     // one file per process, whatever its extension
    name.path = wanted;
    const std::string &path = name.path;
    FILE *file = std::fopen(path.c_str(), "wb");
    if (file != nullptr) {
        if (size != 0)
            std::fwrite(data, 1, size, file);
        std::fclose(file);
    }
    return path;
}

// Runs an image reader and its probe over the input; a decoded image also goes through
// bmpConv32 (at most 64 x 64 of it).
inline void RunImageReader(int (*getType)(const char *, PixkitImageType *),
                           int (*getImage)(const char *, void **, void **), const uint8_t *data, size_t size,
                           const char *extension)
{
    const std::string &name = InputFile(data, size, extension);
    PixkitImageType type;
    getType(name.c_str(), &type);
    void *header = nullptr;
    void *pixels = nullptr;
    if (getImage(name.c_str(), &header, &pixels) == 0) {
        const auto *info = static_cast<const PixkitBitmapInfoHeader *>(header);
        const int width = info->width < 64 ? info->width : 64;
        const int height = std::abs(info->height) < 64 ? std::abs(info->height) : 64;
        std::vector<uint32_t> dst(static_cast<size_t>(width) * height);
        bmpConv32(header, pixels, width, height, dst.data());
    }
    pixkitLocalFree(header);
    pixkitLocalFree(pixels);
}

} // namespace pixkit_fuzz
