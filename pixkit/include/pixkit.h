/* pixkit: the graphics utility library of Pictavella3 — the public C interface.
 *
 * Every function has C linkage and the default calling convention. Blocks that the
 * library hands to the caller are released with pixkitLocalFree. File names are UTF-8.
 *
 * Images cross the interface as packed DIBs in two parts: a header block (the 40-byte
 * PixkitBitmapInfoHeader, then the colour table of 4-byte entries blue, green, red, 0 when
 * the bit count is 8 or less, or three 32-bit colour masks red, green, blue when the
 * compression is PIXKIT_BI_BITFIELDS) and a pixel block (rows padded to 4 bytes, bottom-up
 * when the height is positive, top-down when it is negative). Bit counts 1, 4, 8, 16, 24, 32. */
#ifndef PIXKIT_H
#define PIXKIT_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#if defined(PIXKIT_BUILDING)
#define PIXKIT_API __attribute__((visibility("default")))
#else
#define PIXKIT_API
#endif

/* ---- records ---------------------------------------------------------------------------- */

#define PIXKIT_BI_RGB 0u
#define PIXKIT_BI_BITFIELDS 3u

typedef struct PixkitBitmapInfoHeader {
    uint32_t size;          /* 40 */
    int32_t width;
    int32_t height;         /* positive: bottom-up rows; negative: top-down */
    uint16_t planes;        /* 1 */
    uint16_t bitCount;      /* 1, 4, 8, 16, 24, 32 */
    uint32_t compression;   /* PIXKIT_BI_RGB or PIXKIT_BI_BITFIELDS */
    uint32_t sizeImage;     /* bytes of the pixel block */
    int32_t xPelsPerMeter;
    int32_t yPelsPerMeter;
    uint32_t clrUsed;       /* colour table entries; 0 = 2^bitCount for bit counts up to 8 */
    uint32_t clrImportant;
} PixkitBitmapInfoHeader;

/* Filled by the probes. The second field: 0 for BMP, native and event files; the PNG colour
 * type for PNG; the number of components for JPEG. Resolutions are dots per inch (0 = not
 * stated); the JPEG probe leaves them untouched. */
typedef struct PixkitImageType {
    int32_t bitCount;
    int32_t kind;
    int32_t width;
    int32_t height;
    int32_t xDpi;
    int32_t yDpi;
} PixkitImageType;

/* The process-wide error record, filled by pvGetThumbnail and mapDDCreate when they fail. */
typedef struct PixkitErrorRecord {
    int32_t code;
    char *message;          /* points into text */
    char text[512];
} PixkitErrorRecord;

/* JPEG save options; non-zero means true (the program passes -1). */
typedef struct PixkitJpegOptions {
    int32_t progressive;
    int32_t monochrome;
    int32_t useSmoothing;
    int32_t quality;        /* 10..100 */
    int32_t smoothing;      /* 0..100, applied when useSmoothing is set */
} PixkitJpegOptions;

/* The call record of the block compressor. A non-null stream selects stream output: the
 * buffer is a staging area handed to write(buffer, byteCount, 1, stream) whenever it is full
 * and once more at the end (write returns the number of items written, 1). A null stream
 * selects memory output: the buffer receives the whole result and grow(buffer, newSize)
 * enlarges it by 4096 bytes at a time, returning the (possibly moved) buffer or null. */
typedef struct PixkitCompressRecord {
    void *stream;
    size_t (*write)(const void *buffer, size_t byteCount, size_t itemCount, void *stream);
    void *(*grow)(void *buffer, size_t newSize);
    uint32_t compressedSize;
} PixkitCompressRecord;

/* ---- results ---------------------------------------------------------------------------- */

/* Image exports: 0 success, 1 failure, 2 unsupported kind, 3 no memory for the image,
 * 6 unsupported header, 16 the file cannot be opened. Compressor: 0, 4 missing callback,
 * 8 failure. Map exports: 0, 5 not a map, 8 and 9 exceptions. */
enum {
    PIXKIT_OK = 0,
    PIXKIT_FAILED = 1,
    PIXKIT_UNSUPPORTED_KIND = 2,
    PIXKIT_NO_MEMORY = 3,
    PIXKIT_MISSING_CALLBACK = 4,
    PIXKIT_NOT_A_MAP = 5,
    PIXKIT_UNSUPPORTED_HEADER = 6,
    PIXKIT_EXCEPTION = 8,
    PIXKIT_LIBRARY_EXCEPTION = 9,
    PIXKIT_CANNOT_OPEN = 16
};

/* Results of pixkitDecompress. */
enum {
    PIXKIT_DECODE_OK = 0,
    PIXKIT_DECODE_TRUNCATED = 1,     /* the input ended before the requested bytes */
    PIXKIT_DECODE_BAD_TABLE = 2,     /* a code table that cannot be a valid prefix code */
    PIXKIT_DECODE_BAD_SYMBOL = 3,    /* a code that no symbol of the table owns */
    PIXKIT_DECODE_BAD_ARGUMENT = 4
};

/* ---- library ---------------------------------------------------------------------------- */

/* The library's interface version: 0x000A0001. */
PIXKIT_API uint32_t gdllGetVersion(void);
/* The error record for selector 0, NULL for any other selector. */
PIXKIT_API PixkitErrorRecord *gdllGetExtInfo(int selector);
/* The allocator of every block the library returns. */
PIXKIT_API void *pixkitLocalAlloc(size_t size);
PIXKIT_API void pixkitLocalFree(void *block);
/* The function behind an ordinal (8, 9, 16, 30, 31, 32, 68), NULL for an unused one. */
PIXKIT_API void *pixkitOrdinal(int ordinal);

/* ---- images ----------------------------------------------------------------------------- */

PIXKIT_API int bmpGetType(const char *fileName, PixkitImageType *type);
PIXKIT_API int bmpGetImage(const char *fileName, void **header, void **pixels);
PIXKIT_API int bmpSaveImage(const char *fileName, const void *header, const void *pixels);
/* Converts a DIB into top-down 32-bit pixels (blue, green, red, alpha) of dstWidth x
 * dstHeight, cropping to the smaller of the two sizes; the rest of dst is left untouched. */
PIXKIT_API int bmpConv32(const void *header, const void *pixels, int dstWidth, int dstHeight,
                         void *dst32);

PIXKIT_API int pngGetType(const char *fileName, PixkitImageType *type);
PIXKIT_API int pngGetImage(const char *fileName, void **header, void **pixels);
PIXKIT_API int pngSaveImage(const char *fileName, const void *header, const void *pixels,
                            int interlaced);

PIXKIT_API int jpegGetType(const char *fileName, PixkitImageType *type);
PIXKIT_API int jpegGetImage(const char *fileName, void **header, void **pixels);
PIXKIT_API int jpegSaveImage(const char *fileName, const void *header, const void *pixels,
                             const PixkitJpegOptions *options);

/* Probes of the program's own files, and their thumbnail (a 32-bit bottom-up DIB). */
PIXKIT_API int pviGetType(const char *fileName, PixkitImageType *type);
PIXKIT_API int pesGetType(const char *fileName, PixkitImageType *type);
PIXKIT_API int pvGetThumbnail(const char *fileName, void **header, void **pixels);

/* ---- functions also reached by ordinal -------------------------------------------------- */

/* Ordinal 8: compresses srcLen bytes; *buffer and *capacity are updated as the output grows. */
PIXKIT_API int pixkitCompress(const void *src, uint32_t srcLen, void **buffer, uint32_t *capacity,
                              PixkitCompressRecord *record);
/* Ordinal 9: produces outLen bytes from a compressed stream whose length the caller does not
 * state; 0 on success, a PIXKIT_DECODE_ result otherwise. Prefer pixkitDecompress. */
PIXKIT_API int pixkitDecompressUnbounded(const void *src, void *dst, uint32_t outLen);
/* Produces exactly dstLen bytes from srcLen bytes of compressed stream, never reading or
 * writing outside the two ranges: a PIXKIT_DECODE_ result. */
PIXKIT_API int pixkitDecompress(const void *src, size_t srcLen, void *dst, size_t dstLen);
/* Ordinal 16: the text of the "Software" chunk of every PNG saved afterwards (NULL clears). */
PIXKIT_API int pixkitSetPngSoftware(const char *text);
/* Ordinal 30: bgr points to blue, green, red; hls receives hue (0..360), lightness x 255 and
 * saturation x 255. */
PIXKIT_API void pixkitRgbToHls(const uint8_t *bgr, float *hls);
/* Ordinal 31: the inverse of ordinal 30. */
PIXKIT_API void pixkitHlsToRgb(const float *hls, uint8_t *bgr);
/* Ordinal 32: (max(R, G, B) + min(R, G, B)) >> 1. */
PIXKIT_API int pixkitLightness(const uint8_t *bgr);
/* Ordinal 68: measures the time-stamp counter over ms milliseconds; *rate is cycles per
 * second (0 when nothing could be measured). */
PIXKIT_API void pixkitMeasureClock(int ms, double *rate);

/* ---- dword-to-dword maps ---------------------------------------------------------------- */

typedef void *PixkitMapDD;

PIXKIT_API int mapDDCreate(PixkitMapDD *map, int blockSize);
PIXKIT_API int mapDDIsValid(PixkitMapDD map);
PIXKIT_API int mapDDDestroy(PixkitMapDD map);
PIXKIT_API int mapDDLookup(PixkitMapDD map, uint32_t key, uint32_t *value);
PIXKIT_API int mapDDSetAt(PixkitMapDD map, uint32_t key, uint32_t value);
PIXKIT_API int mapDDRemoveKey(PixkitMapDD map, uint32_t key);
PIXKIT_API int mapDDRemoveAll(PixkitMapDD map);
PIXKIT_API int mapDDGetCount(PixkitMapDD map, int32_t *count);
/* -1 when the map has entries, 0 when it is empty or not a map. */
PIXKIT_API intptr_t mapDDGetStartPosition(PixkitMapDD map);
/* Returns the entry at *position and moves it on; *position becomes 0 after the last one. */
PIXKIT_API int mapDDGetNextAssoc(PixkitMapDD map, intptr_t *position, uint32_t *key,
                                 uint32_t *value);

#ifdef __cplusplus
}
#endif

#endif
