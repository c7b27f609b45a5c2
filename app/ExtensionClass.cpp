// The extension table.
#include "app/ExtensionClass.h"

#include <algorithm>
#include <cctype>
#include <string>

namespace pv {
namespace {

constexpr struct {
    const char *extension;
    FileClass kind;
} kExtensions[] = {
    {".wpb", FileClass::OldLayered}, {".wpe", FileClass::OldEvents}, {".pci", FileClass::Native},
    {".pes", FileClass::EventsV2},   {".pe3", FileClass::Events},    {".va3", FileClass::Events},
    {".bmp", FileClass::Bmp},        {".jpg", FileClass::Jpeg},      {".png", FileClass::Png},
    {".psd", FileClass::Psd},
};

} // namespace

FileClass ExtensionClass(const std::filesystem::path &name)
{
    std::string extension = name.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    for (const auto &row : kExtensions)
        if (extension == row.extension)
            return row.kind;
    return FileClass::Unsupported;
}

} // namespace pv
