// The library's version export.
#include "pixkit.h"

extern "C" uint32_t gdllGetVersion(void)
{
    return 0x000A0001u;
}
