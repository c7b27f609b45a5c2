// Temporary file, fsync, rename — and cleaning up after every failure on the way.
#include "platform/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace pv {

bool WriteAll(int fd, const void *data, size_t size)
{
    const char *p = static_cast<const char *>(data);
    while (size > 0) {
        const ssize_t n = ::write(fd, p, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        p += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

bool ReplaceFileAtomically(const std::filesystem::path &path, const std::function<bool(int fd)> &write,
                           std::string *problem)
{
    auto fail = [&](const std::string &why) {
        if (problem)
            *problem = why;
        return false;
    };
    const std::filesystem::path folder = path.has_parent_path() ? path.parent_path() : ".";
    std::string leaf = path.filename().string();
    leaf.insert(leaf.begin(), '.');
    leaf.append(".XXXXXX");
    const std::string pattern = (folder / leaf).string();
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const int fd = ::mkstemp(name.data());
    if (fd < 0)
        return fail("cannot create a file in " + folder.string() + ": " + std::strerror(errno));
    // Keep the permissions of the file being replaced; a new file gets the usual 0666 & ~umask.
    struct stat old {};
    if (::stat(path.c_str(), &old) == 0) {
        ::fchmod(fd, old.st_mode & 07777);
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(fd, 0666 & ~mask);
    }
    bool ok = write(fd);
    std::string why = ok ? "" : "writing failed";
    if (ok && ::fsync(fd) != 0) {
        ok = false;
        why = std::string("flushing failed: ") + std::strerror(errno);
    }
    if (::close(fd) != 0 && ok) {
        ok = false;
        why = std::string("closing failed: ") + std::strerror(errno);
    }
    if (ok && ::rename(name.data(), path.c_str()) != 0) {
        ok = false;
        why = std::string("renaming failed: ") + std::strerror(errno);
    }
    if (!ok) {
        ::unlink(name.data());
        return fail(why + " (" + path.string() + ")");
    }
    return true;
}

bool WriteFileAtomically(const std::filesystem::path &path, const void *data, size_t size, std::string *problem)
{
    return ReplaceFileAtomically(path, [&](int fd) { return WriteAll(fd, data, size); }, problem);
}

} // namespace pv
