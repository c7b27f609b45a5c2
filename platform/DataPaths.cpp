// Locating the executable (through /proc/self/exe) and its data folder.
#include "platform/DataPaths.h"

#include <system_error>

namespace pv {

std::filesystem::path ExecutableFolder()
{
    std::error_code ec;
    std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec)
        return {};
    return exe.parent_path();
}

std::filesystem::path DataFolderFor(const std::filesystem::path &exeFolder)
{
    return (exeFolder.parent_path() / PV_DATA_SUBDIR).lexically_normal();
}

std::filesystem::path DataFolder()
{
    return DataFolderFor(ExecutableFolder());
}

} // namespace pv
