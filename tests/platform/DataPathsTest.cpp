// The data folder is found from the executable's folder, whatever the prefix.
#include "platform/DataPaths.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

TEST(DataPaths, DataFolderSitsBesideTheProgramsFolder)
{
    EXPECT_EQ(pv::DataFolderFor("/opt/pv/bin"), std::filesystem::path("/opt/pv/share/pictavella3"));
    EXPECT_EQ(pv::DataFolderFor("/usr/bin"), std::filesystem::path("/usr/share/pictavella3"));
}

TEST(DataPaths, RunningTestFindsItsOwnFolder)
{
    const auto folder = pv::ExecutableFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_TRUE(std::filesystem::is_directory(folder));
    // The build tree mirrors an install, so the copied resources are there too.
    EXPECT_TRUE(std::filesystem::exists(pv::DataFolder() / "pictavella3.desktop"));
}

} // namespace
