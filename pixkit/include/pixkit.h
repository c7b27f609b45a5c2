/* pixkit: the graphics utility library of Pictavella3 — the public C interface.
 *
 * Every function has C linkage and the default calling convention. Blocks that the
 * library hands to the caller are released with pixkitLocalFree. File names are UTF-8. */
#ifndef PIXKIT_H
#define PIXKIT_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#if defined(PIXKIT_BUILDING)
#define PIXKIT_API __attribute__((visibility("default")))
#else
#define PIXKIT_API
#endif

/* The library's interface version: 0x000A0001. */
PIXKIT_API uint32_t gdllGetVersion(void);

#ifdef __cplusplus
}
#endif

#endif
