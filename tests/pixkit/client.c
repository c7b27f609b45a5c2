/* A C client of the installed library: it only sees pixkit.h and links with pkg-config. */
#include <pixkit.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static void *grow(void *buffer, size_t size)
{
    return realloc(buffer, size);
}

int main(void)
{
    typedef int (*Compress)(const void *, uint32_t, void **, uint32_t *, PixkitCompressRecord *);
    typedef int (*Decompress)(const void *, void *, uint32_t);
    static const char text[] = "pixkit pixkit pixkit pixkit pixkit";
    char back[sizeof text];
    uint32_t capacity = 16;
    void *buffer = malloc(capacity);
    PixkitCompressRecord record = {NULL, NULL, grow, 0};
    PixkitMapDD map = NULL;
    uint32_t value = 0;

    if (gdllGetVersion() != 0x000A0001u || gdllGetExtInfo(0) == NULL) {
        fprintf(stderr, "wrong version or error record\n");
        return 1;
    }
    if (((Compress)pixkitOrdinal(8))(text, sizeof text, &buffer, &capacity, &record) != 0 ||
        ((Decompress)pixkitOrdinal(9))(buffer, back, sizeof back) != 0 || memcmp(back, text, sizeof text) != 0) {
        fprintf(stderr, "compression round trip failed\n");
        return 1;
    }
    free(buffer);
    if (mapDDCreate(&map, 8) != 0 || mapDDSetAt(map, 7, 49) != 0 || mapDDLookup(map, 7, &value) != 1 ||
        value != 49 || mapDDDestroy(map) != 0) {
        fprintf(stderr, "map failed\n");
        return 1;
    }
    return 0;
}
