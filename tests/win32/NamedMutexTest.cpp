// The Win32 backend's named mutexes as the interlock uses them: created or
// opened by name, taken without waiting, shared with another process.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "MutexHolderProcess.h"
#include "platform/win32/CWin32Platform.h"

namespace {

std::string UniqueName(const char* prefix, const char* purpose)
{
    static int serial = 0;
    return std::string(prefix) + "TRELOXTEST_" + purpose + "_" + std::to_string(::GetCurrentProcessId()) + "_" +
           std::to_string(++serial);
}

class NamedMutexTest : public ::testing::TestWithParam<const char*> {
protected:
    HANDLE Create(const std::string& name)
    {
        HANDLE mutex = m_platform.CreateMutex(name.c_str());
        if (mutex != nullptr) {
            m_handles.push_back(mutex);
        }
        return mutex;
    }

    void TearDown() override
    {
        for (HANDLE handle : m_handles) {
            m_platform.CloseHandle(handle);
        }
    }

    CWin32Platform m_platform;
    std::vector<HANDLE> m_handles;
};

// Unprefixed, "Local\" and "Global\" names, as the interlock's four slots use.
INSTANTIATE_TEST_SUITE_P(Namespaces, NamedMutexTest, ::testing::Values("", "Local\\", "Global\\"));

TEST_P(NamedMutexTest, HeldByAnotherProcessCannotBeTakenUntilItIsReleased)
{
    const std::string name = UniqueName(GetParam(), "held");
    MutexHolderProcess holder(name, MutexHolderProcess::Ending::Release);
    ASSERT_TRUE(holder.Holds());

    HANDLE mutex = Create(name);
    ASSERT_NE(mutex, nullptr) << "error " << m_platform.GetLastError();
    EXPECT_EQ(m_platform.GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS)) << "the same mutex is opened";
    EXPECT_EQ(m_platform.WaitForSingleObject(mutex, 0), static_cast<DWORD>(WAIT_TIMEOUT));
    EXPECT_FALSE(m_platform.ReleaseMutex(mutex)) << "a mutex held elsewhere cannot be released here";

    ASSERT_EQ(holder.Finish(), 0);
    EXPECT_EQ(m_platform.WaitForSingleObject(mutex, 0), static_cast<DWORD>(WAIT_OBJECT_0));
    EXPECT_TRUE(m_platform.ReleaseMutex(mutex));
}

TEST_P(NamedMutexTest, HolderEndingWithoutReleaseLeavesItAbandonedAndTakable)
{
    const std::string name = UniqueName(GetParam(), "abandoned");
    HANDLE mutex = nullptr;
    {
        MutexHolderProcess holder(name, MutexHolderProcess::Ending::Abandon);
        ASSERT_TRUE(holder.Holds());
        mutex = Create(name);
        ASSERT_NE(mutex, nullptr);
        EXPECT_EQ(m_platform.WaitForSingleObject(mutex, 0), static_cast<DWORD>(WAIT_TIMEOUT));
        ASSERT_EQ(holder.Finish(), 0);
    }
    EXPECT_EQ(m_platform.WaitForSingleObject(mutex, 0), static_cast<DWORD>(WAIT_ABANDONED));
    EXPECT_TRUE(m_platform.ReleaseMutex(mutex)) << "an abandoned mutex is now held by the taker";
}

TEST_P(NamedMutexTest, NewMutexIsFreeAndReleasingItUnheldFails)
{
    HANDLE mutex = Create(UniqueName(GetParam(), "free"));
    ASSERT_NE(mutex, nullptr);
    EXPECT_FALSE(m_platform.ReleaseMutex(mutex));
    EXPECT_EQ(m_platform.GetLastError(), static_cast<DWORD>(ERROR_NOT_OWNER));
    EXPECT_EQ(m_platform.WaitForSingleObject(mutex, 0), static_cast<DWORD>(WAIT_OBJECT_0));
    EXPECT_TRUE(m_platform.ReleaseMutex(mutex));
}

TEST(NamedMutexNamesTest, UnprefixedNameLiesInTheLocalNamespace)
{
    CWin32Platform platform;
    const std::string name = UniqueName("", "local");
    MutexHolderProcess holder("Local\\" + name, MutexHolderProcess::Ending::Release);
    ASSERT_TRUE(holder.Holds());

    HANDLE mutex = platform.CreateMutex(name.c_str());
    ASSERT_NE(mutex, nullptr);
    EXPECT_EQ(platform.WaitForSingleObject(mutex, 0), static_cast<DWORD>(WAIT_TIMEOUT));
    platform.CloseHandle(mutex);
}

TEST(NamedMutexNamesTest, NameTakenByAnotherKindOfObjectIsRefusedWithTheReason)
{
    CWin32Platform platform;
    const std::string name = UniqueName("", "event");
    HANDLE event = ::CreateEventA(nullptr, TRUE, FALSE, name.c_str());
    ASSERT_NE(event, nullptr);

    EXPECT_EQ(platform.CreateMutex(name.c_str()), nullptr);
    EXPECT_EQ(platform.GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    ::CloseHandle(event);
}

}  // namespace
