// The text of the "Software" chunk that every PNG saved afterwards carries (ordinal 16).
#include "pixkit.h"

#include "png_software.h"

#include <mutex>

namespace {

std::mutex softwareMutex;
std::string softwareText;

} // namespace

namespace pixkit {

std::string PngSoftwareText()
{
    std::lock_guard lock(softwareMutex);
    return softwareText;
}

} // namespace pixkit

extern "C" int pixkitSetPngSoftware(const char *text)
{
    std::lock_guard lock(softwareMutex);
    softwareText = text != nullptr ? text : "";
    return 0;
}
