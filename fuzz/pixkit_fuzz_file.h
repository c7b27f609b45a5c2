// Shared by the pixkit fuzz targets: the readers take file names, so each input is written
// to one temporary file per process first.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>

namespace pixkit_fuzz {

// Writes the input to a file with the given extension and returns its name.
inline const std::string &InputFile(const uint8_t *data, size_t size, const char *extension)
{
    static std::string name;
    name = "/tmp/pixkit-fuzz-" + std::to_string(getpid()) + extension;
    FILE *file = std::fopen(name.c_str(), "wb");
    if (file != nullptr) {
        if (size != 0)
            std::fwrite(data, 1, size, file);
        std::fclose(file);
    }
    return name;
}

} // namespace pixkit_fuzz
