// Reading and safely replacing files.
#include "file_util.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pixkit {

InputFile::InputFile(const char *name)
{
    if (name == nullptr)
        return;
    file_ = std::fopen(name, "rb");
    if (file_ == nullptr)
        return;
    struct stat info {};
    if (fstat(fileno(file_), &info) != 0 || !S_ISREG(info.st_mode)) {
        std::fclose(file_);
        file_ = nullptr;
        return;
    }
    length_ = static_cast<uint64_t>(info.st_size);
}

InputFile::~InputFile()
{
    if (file_ != nullptr)
        std::fclose(file_);
}

uint64_t InputFile::Position() const
{
    const off_t position = ftello(file_);
    return position < 0 ? length_ : static_cast<uint64_t>(position);
}

bool InputFile::Seek(uint64_t position)
{
    return position <= length_ && fseeko(file_, static_cast<off_t>(position), SEEK_SET) == 0;
}

bool InputFile::Read(void *buffer, size_t size)
{
    return std::fread(buffer, 1, size, file_) == size;
}

namespace {

mode_t NewFileMode()
{
    static const mode_t mode = [] {
        const mode_t mask = umask(0);
        umask(mask);
        return static_cast<mode_t>(0666 & ~mask);
    }();
    return mode;
}

} // namespace

SaveFile::SaveFile(const char *target)
{
    if (target == nullptr || *target == '\0')
        return;
    target_ = target;
    std::string pattern = target_ + ".XXXXXX";
    const int fd = mkstemp(pattern.data());
    if (fd < 0)
        return;
    temporary_ = pattern;
    struct stat existing {};
    fchmod(fd, stat(target, &existing) == 0 ? (existing.st_mode & 07777) : NewFileMode());
    file_ = fdopen(fd, "wb");
    if (file_ == nullptr) {
        close(fd);
        unlink(temporary_.c_str());
    }
}

SaveFile::~SaveFile()
{
    if (file_ != nullptr) {
        std::fclose(file_);
        unlink(temporary_.c_str());
    }
}

bool SaveFile::Write(const void *data, size_t size)
{
    if (file_ == nullptr || failed_)
        return false;
    if (size != 0 && std::fwrite(data, 1, size, file_) != size)
        failed_ = true;
    return !failed_;
}

bool SaveFile::Commit()
{
    if (file_ == nullptr)
        return false;
    const bool written = !failed_ && std::ferror(file_) == 0;
    const bool closed = std::fclose(file_) == 0;
    file_ = nullptr;
    if (!written || !closed || std::rename(temporary_.c_str(), target_.c_str()) != 0) {
        unlink(temporary_.c_str());
        return false;
    }
    return true;
}

bool HasExtension(const char *name, const char *extension)
{
    const size_t length = std::strlen(name);
    const size_t wanted = std::strlen(extension);
    return length >= wanted && strcasecmp(name + length - wanted, extension) == 0;
}

} // namespace pixkit
