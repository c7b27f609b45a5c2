// Files as the codecs use them: opening for reading with the file's length, little-endian
// fields, and saving through a temporary file beside the target that replaces it only when
// everything was written.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace pixkit {

class InputFile {
public:
    explicit InputFile(const char *name);
    InputFile(const InputFile &) = delete;
    InputFile &operator=(const InputFile &) = delete;
    ~InputFile();

    bool IsOpen() const { return file_ != nullptr; }
    FILE *get() const { return file_; }
    uint64_t length() const { return length_; }
    uint64_t Position() const;
    bool Seek(uint64_t position);
    // Reads exactly size bytes.
    bool Read(void *buffer, size_t size);

private:
    FILE *file_ = nullptr;
    uint64_t length_ = 0;
};

class SaveFile {
public:
    explicit SaveFile(const char *target);
    SaveFile(const SaveFile &) = delete;
    SaveFile &operator=(const SaveFile &) = delete;
    // Without Commit the temporary file is removed and the target stays as it was.
    ~SaveFile();

    bool IsOpen() const { return file_ != nullptr; }
    FILE *get() const { return file_; }
    bool Write(const void *data, size_t size);
    // Closes the temporary file and renames it over the target.
    bool Commit();

private:
    std::string target_;
    std::string temporary_;
    FILE *file_ = nullptr;
    bool failed_ = false;
};

inline uint16_t LoadLE16(const uint8_t *p)
{
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}
inline uint32_t LoadLE32(const uint8_t *p)
{
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
inline void StoreLE16(uint8_t *p, uint32_t v)
{
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}
inline void StoreLE32(uint8_t *p, uint32_t v)
{
    StoreLE16(p, v);
    StoreLE16(p + 2, v >> 16);
}

// True when the file name ends in `extension` (".pci"), compared case-insensitively.
bool HasExtension(const char *name, const char *extension);

} // namespace pixkit
