// Fuzzes the probes of the program's own files and the thumbnail reader, through both the
// native and the event-file extension (the first input byte chooses).
#include "pixkit.h"

#include "pixkit_fuzz_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const std::string &name = pixkit_fuzz::InputFile(data + 1, size - 1, data[0] & 1 ? ".pci" : ".pe3");
    PixkitImageType type;
    pviGetType(name.c_str(), &type);
    pesGetType(name.c_str(), &type);
    void *header = nullptr;
    void *pixels = nullptr;
    pvGetThumbnail(name.c_str(), &header, &pixels);
    pixkitLocalFree(header);
    pixkitLocalFree(pixels);
    return 0;
}
