// The kinds of file the program opens and saves, told by the file name's extension.
#pragma once

#include <filesystem>

namespace pv {

enum class FileClass {
    Unsupported = 0,
    OldLayered = 1, // ".wpb"
    OldEvents = 2,  // ".wpe", played by the version-1.1 player
    Native = 3,     // ".pci"
    EventsV2 = 4,   // ".pes"
    Events = 5,     // ".pe3", ".va3"
    Bmp = 6,
    Jpeg = 7,
    Png = 8,
    Psd = 9,
};

// The class of a file name's extension, compared without regard to case.
FileClass ExtensionClass(const std::filesystem::path &name);

} // namespace pv
