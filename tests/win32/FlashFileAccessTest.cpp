// The Win32 backend's flash file access: opened for nobody else, read to its
// end, its size as the system reports it.
#include <gtest/gtest.h>

#include <string>

#include "platform/win32/CWin32Platform.h"

namespace {

class FlashFileAccessTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char folder[MAX_PATH];
        char file[MAX_PATH];
        ASSERT_GT(::GetTempPathA(MAX_PATH, folder), 0u);
        ASSERT_NE(::GetTempFileNameA(folder, "trx", 0, file), 0u);
        m_path = file;
        HANDLE out = ::CreateFileA(file, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(out, INVALID_HANDLE_VALUE);
        DWORD written = 0;
        ::WriteFile(out, m_content.data(), static_cast<DWORD>(m_content.size()), &written, nullptr);
        ::CloseHandle(out);
        ASSERT_EQ(written, m_content.size());
    }

    void TearDown() override { ::DeleteFileA(m_path.c_str()); }

    CWin32Platform m_platform;
    std::string m_path;
    const std::string m_content = "S00600004844521B\r\nS9030000FC\r\n\xE4\xF6\xFC";
};

TEST_F(FlashFileAccessTest, ReadsEveryByteThenReportsTheEndWithZero)
{
    HANDLE file = m_platform.OpenFileExclusive(m_path.c_str());
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    std::uint64_t size = 0;
    ASSERT_TRUE(m_platform.GetFileSize(file, &size));
    EXPECT_EQ(size, m_content.size());

    std::string read;
    char chunk[7];
    DWORD count = 0;
    while (m_platform.ReadFileBytes(file, chunk, sizeof chunk, &count) && count > 0) {
        read.append(chunk, count);
    }
    EXPECT_EQ(count, 0u);
    EXPECT_EQ(read, m_content);
    m_platform.CloseHandle(file);
}

TEST_F(FlashFileAccessTest, FileOpenElsewhereCannotBeOpenedAndOursShutsOthersOut)
{
    HANDLE other = ::CreateFileA(m_path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(other, INVALID_HANDLE_VALUE);
    EXPECT_EQ(m_platform.OpenFileExclusive(m_path.c_str()), INVALID_HANDLE_VALUE);
    EXPECT_EQ(m_platform.GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    ::CloseHandle(other);

    HANDLE ours = m_platform.OpenFileExclusive(m_path.c_str());
    ASSERT_NE(ours, INVALID_HANDLE_VALUE);
    EXPECT_EQ(::CreateFileA(m_path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                            0, nullptr),
              INVALID_HANDLE_VALUE);
    m_platform.CloseHandle(ours);
}

TEST_F(FlashFileAccessTest, MissingFileFailsWithTheSystemsReason)
{
    EXPECT_EQ(m_platform.OpenFileExclusive((m_path + ".missing").c_str()), INVALID_HANDLE_VALUE);
    EXPECT_EQ(m_platform.GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

TEST(PipeSizeTest, PipeReportsSizeZero)
{
    CWin32Platform platform;
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    ASSERT_TRUE(::CreatePipe(&readEnd, &writeEnd, nullptr, 0));
    std::uint64_t size = 77;
    EXPECT_TRUE(platform.GetFileSize(readEnd, &size));
    EXPECT_EQ(size, 0u);
    ::CloseHandle(readEnd);
    ::CloseHandle(writeEnd);
}

}  // namespace
