// Where the program's data files live. The data folder is found relative to the running
// executable (<prefix>/bin/prog → <prefix>/share/pictavella3), so an install into any prefix,
// or a run straight from the build tree, works without environment variables.
#pragma once

#include <filesystem>

namespace pv {

// The folder that holds the running executable (empty when it cannot be determined).
std::filesystem::path ExecutableFolder();

// The data folder that belongs to an executable in exeFolder.
std::filesystem::path DataFolderFor(const std::filesystem::path &exeFolder);

// DataFolderFor(ExecutableFolder()).
std::filesystem::path DataFolder();

} // namespace pv
