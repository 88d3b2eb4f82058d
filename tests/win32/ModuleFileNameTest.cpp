// The Win32 backend names the running program's own file, whatever name it
// was started by.
#include <gtest/gtest.h>

#include <string>

#include "platform/win32/CWin32Platform.h"

namespace {

TEST(ModuleFileNameTest, IsTheFullPathOfTheRunningProgramsFile)
{
    CWin32Platform platform;
    std::string path = "untouched";
    ASSERT_TRUE(platform.GetModuleFileName(&path));

    const std::string name = "\\trelox_win32_tests.exe";
    ASSERT_GT(path.size(), name.size());
    EXPECT_EQ(path.substr(path.size() - name.size()), name);
    EXPECT_EQ(path[1], ':') << path;  // a drive, not a relative name
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES) << path;
    EXPECT_EQ(attributes & FILE_ATTRIBUTE_DIRECTORY, 0u);
}

}  // namespace
