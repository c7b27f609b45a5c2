// Writing a file so that it is either wholly replaced or left as it was: the bytes go to a
// temporary file in the target's folder, which is flushed and then renamed over the target.
#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>

namespace pv {

// Calls write(fd) with an open temporary file beside path; when write returns true and the
// file is flushed, renames it over path. On any failure the temporary file is removed, the
// old file is untouched, false is returned and *problem (if given) says why.
bool ReplaceFileAtomically(const std::filesystem::path &path, const std::function<bool(int fd)> &write,
                           std::string *problem = nullptr);

// The same for a block of bytes.
bool WriteFileAtomically(const std::filesystem::path &path, const void *data, size_t size,
                         std::string *problem = nullptr);

// Writes all bytes to fd, retrying short writes and interruptions.
bool WriteAll(int fd, const void *data, size_t size);

} // namespace pv
