// The log sink: decided once per process from PICTAVELLA_DEBUG.
#include "platform/Log.h"

#include <cstdio>
#include <cstdlib>

namespace pv {

bool LogEnabled()
{
    static const bool enabled = std::getenv("PICTAVELLA_DEBUG") != nullptr;
    return enabled;
}

void LogText(std::string_view text)
{
    if (!LogEnabled())
        return;
    std::fwrite(text.data(), 1, text.size(), stderr);
    std::fflush(stderr);
}

} // namespace pv
