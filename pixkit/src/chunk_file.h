// The chunk convention of the program's own files: a 4-byte ASCII magic, a little-endian
// 32-bit size of what follows, the data padded with zero bytes to a multiple of 4. The
// walker steps from chunk to chunk and never past the end of the file.
#pragma once

#include "file_util.h"

#include <cstring>

namespace pixkit {

struct Chunk {
    char magic[4];
    uint32_t size;
    uint64_t dataStart;     // file position of the data
    bool Is(const char *wanted) const { return std::memcmp(magic, wanted, 4) == 0; }
};

enum class ChunkStep {
    Found,
    End,        // no further chunk header in the file
    Overrun,    // a chunk's size runs past the end of the file
};

class ChunkWalker {
public:
    explicit ChunkWalker(InputFile &file, uint64_t start = 0) : file_(file), next_(start) {}

    ChunkStep Next(Chunk &chunk)
    {
        uint8_t header[8];
        if (next_ + sizeof header > file_.length() || !file_.Seek(next_) || !file_.Read(header, sizeof header))
            return ChunkStep::End;
        std::memcpy(chunk.magic, header, 4);
        chunk.size = LoadLE32(header + 4);
        chunk.dataStart = next_ + sizeof header;
        if (chunk.dataStart + chunk.size > file_.length())
            return ChunkStep::Overrun;
        next_ = chunk.dataStart + ((static_cast<uint64_t>(chunk.size) + 3) & ~uint64_t{3});
        return ChunkStep::Found;
    }

    // The chunk's first `size` data bytes (the file is left after them).
    bool ReadData(const Chunk &chunk, void *buffer, size_t size)
    {
        return size <= chunk.size && file_.Seek(chunk.dataStart) && file_.Read(buffer, size);
    }

private:
    InputFile &file_;
    uint64_t next_;
};

} // namespace pixkit
