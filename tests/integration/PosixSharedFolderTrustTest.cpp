// Which bus and lock folders the POSIX platform trusts: in the default place,
// a folder shared with other users, only one that nobody else can have made
// or change (the bus: the user's private folder; the lock folders: the
// user's, root's or sticky ones that others cannot empty); a folder named in
// the environment only has to be a directory.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <vector>

#include "TempDirectory.h"
#include "platform/posix/CBusDirectory.h"
#include "platform/posix/CLockDirectory.h"

namespace {

const char kMarker[] = "m#{c0558574-212d-4625-8877-fe9c2e8ed396}";
// A user id that is nobody's here.
constexpr uid_t kStranger = 54321;

bool RunningAsRoot()
{
    return ::geteuid() == 0;
}

// A folder at `path` with exactly `mode`, whatever the umask.
void MakeFolder(const std::string& path, mode_t mode)
{
    ASSERT_EQ(0, ::mkdir(path.c_str(), 0700)) << path;
    ASSERT_EQ(0, ::chmod(path.c_str(), mode)) << path;
}

class PosixBusFolderTrustTest : public ::testing::Test {
protected:
    // The default bus of this test, in a private stand-in for /tmp.
    CBusDirectory DefaultBus() const { return CBusDirectory(m_busPath, true); }
    void PutMarker() const { ::close(::creat((m_busPath + "/" + kMarker).c_str(), 0600)); }

    // What the list and an open of a pipe report.
    void ExpectRefused(const CBusDirectory& bus, int error, const char* why) const
    {
        std::vector<std::string> names{"stale"};
        EXPECT_EQ(error, bus.ListMarkers(&names)) << why;
        EXPECT_TRUE(names.empty()) << why;
        int socketFd = 7;
        EXPECT_EQ(error, bus.ConnectPipe(std::string(kMarker) + "\\PIPE02", &socketFd)) << why;
        EXPECT_EQ(-1, socketFd) << why;
        EXPECT_EQ(error, bus.Create()) << why;
    }

    TempDirectory m_temp;
    const std::string m_busPath = m_temp.File("trelox-usb-" + std::to_string(::getuid()));
};

TEST_F(PosixBusFolderTrustTest, TheUsersPrivateFolderServesAndAMissingOneIsMadeSo)
{
    std::vector<std::string> names;
    EXPECT_EQ(0, DefaultBus().ListMarkers(&names)) << "a missing bus is an empty one";
    EXPECT_TRUE(names.empty());
    int socketFd = -1;
    EXPECT_EQ(ENOENT, DefaultBus().ConnectPipe(std::string(kMarker) + "\\PIPE02", &socketFd));

    const mode_t saved = ::umask(0);
    EXPECT_EQ(0, DefaultBus().Create());
    ::umask(saved);
    struct stat info;
    ASSERT_EQ(0, ::lstat(m_busPath.c_str(), &info));
    EXPECT_EQ(0700u, info.st_mode & 07777);
    PutMarker();
    EXPECT_EQ(0, DefaultBus().ListMarkers(&names));
    EXPECT_EQ(std::vector<std::string>{kMarker}, names);
    EXPECT_EQ(0, DefaultBus().Create()) << "found again, still trusted";
}

TEST_F(PosixBusFolderTrustTest, AFolderOthersMayEnterOrWriteIsRefused)
{
    for (const mode_t mode : {0777, 0770, 0750, 0705, 0701}) {
        MakeFolder(m_busPath, mode);
        PutMarker();
        ExpectRefused(DefaultBus(), EACCES, ("mode " + std::to_string(mode)).c_str());
        ::unlink((m_busPath + "/" + kMarker).c_str());
        ASSERT_EQ(0, ::rmdir(m_busPath.c_str()));
    }
}

TEST_F(PosixBusFolderTrustTest, AFolderOfAnotherUserIsRefused)
{
    if (!RunningAsRoot()) {
        GTEST_SKIP() << "only root can give a folder to another user";
    }
    MakeFolder(m_busPath, 0700);
    PutMarker();
    ASSERT_EQ(0, ::chown(m_busPath.c_str(), kStranger, kStranger));
    ExpectRefused(DefaultBus(), EACCES, "another user's folder");
}

TEST_F(PosixBusFolderTrustTest, ALinkOrAFileInItsPlaceIsRefused)
{
    const std::string elsewhere = m_temp.MakeSubdirectory("elsewhere");
    ASSERT_EQ(0, ::symlink(elsewhere.c_str(), m_busPath.c_str()));
    ExpectRefused(DefaultBus(), EACCES, "a link to a private folder");
    ASSERT_EQ(0, ::unlink(m_busPath.c_str()));

    ::close(::creat(m_busPath.c_str(), 0600));
    ExpectRefused(DefaultBus(), EACCES, "a file");
}

TEST_F(PosixBusFolderTrustTest, AFolderTheUserNamedOnlyHasToBeADirectory)
{
    MakeFolder(m_busPath, 0777);
    PutMarker();
    const std::string link = m_temp.File("named");
    ASSERT_EQ(0, ::symlink(m_busPath.c_str(), link.c_str()));
    std::vector<std::string> names;
    EXPECT_EQ(0, CBusDirectory(link, false).ListMarkers(&names));
    EXPECT_EQ(std::vector<std::string>{kMarker}, names);
    EXPECT_EQ(0, CBusDirectory(link, false).Create());

    const std::string file = m_temp.File("file");
    ::close(::creat(file.c_str(), 0600));
    ExpectRefused(CBusDirectory(file, false), ENOTDIR, "a file named as the bus");
}

class PosixLockFolderTrustTest : public ::testing::Test {
protected:
    CLockDirectory DefaultLocks() const { return CLockDirectory(m_root, true); }

    // The result of preparing a global and a local lock file.
    int PrepareGlobal(const CLockDirectory& locks) const
    {
        std::string path;
        return locks.PrepareLockFile("Global\\ORB812MUTEX", &path);
    }
    int PrepareLocal(const CLockDirectory& locks) const
    {
        std::string path;
        return locks.PrepareLockFile("ORB812SynchronizerMutex", &path);
    }

    TempDirectory m_temp;
    const std::string m_root = m_temp.File("trelox-locks");
    const std::string m_global = m_root + "/global";
};

TEST_F(PosixLockFolderTrustTest, FoldersMadeHereAreStickyAndFoundOnesOfTheUserServe)
{
    EXPECT_EQ(0, PrepareGlobal(DefaultLocks()));
    struct stat info;
    ASSERT_EQ(0, ::lstat(m_global.c_str(), &info));
    EXPECT_EQ(01777u, info.st_mode & 07777);
    EXPECT_EQ(0, PrepareGlobal(DefaultLocks())) << "found again";
    EXPECT_EQ(0, PrepareLocal(DefaultLocks()));

    // Closed to others, a sticky bit is not needed.
    ASSERT_EQ(0, ::chmod(m_root.c_str(), 0755));
    EXPECT_EQ(0, PrepareGlobal(DefaultLocks()));
}

TEST_F(PosixLockFolderTrustTest, AFolderOthersMayEmptyIsRefused)
{
    MakeFolder(m_root, 0777);
    EXPECT_EQ(EACCES, PrepareGlobal(DefaultLocks())) << "root without the sticky bit";
    EXPECT_EQ(EACCES, PrepareLocal(DefaultLocks()));
    ASSERT_EQ(0, ::chmod(m_root.c_str(), 01777));
    MakeFolder(m_global, 0775);
    EXPECT_EQ(EACCES, PrepareGlobal(DefaultLocks())) << "global/ without the sticky bit";
    EXPECT_EQ(0, PrepareLocal(DefaultLocks())) << "the user's own namespace is not in global/";
}

TEST_F(PosixLockFolderTrustTest, AnotherUsersFolderServesOnlyWhenSticky)
{
    if (!RunningAsRoot()) {
        GTEST_SKIP() << "only root can give a folder to another user";
    }
    MakeFolder(m_root, 0755);
    ASSERT_EQ(0, ::chown(m_root.c_str(), kStranger, kStranger));
    EXPECT_EQ(EACCES, PrepareGlobal(DefaultLocks()));
    // Made first by another user of the program, as it makes it: shared as /tmp is.
    ASSERT_EQ(0, ::chmod(m_root.c_str(), 01777));
    EXPECT_EQ(0, PrepareGlobal(DefaultLocks()));
    ASSERT_EQ(0, ::chown(m_global.c_str(), kStranger, kStranger));
    ASSERT_EQ(0, ::chmod(m_global.c_str(), 0755));
    EXPECT_EQ(EACCES, PrepareGlobal(DefaultLocks()));
}

TEST_F(PosixLockFolderTrustTest, LinksInTheirPlaceAreRefused)
{
    const std::string elsewhere = m_temp.MakeSubdirectory("elsewhere");
    ASSERT_EQ(0, ::chmod(elsewhere.c_str(), 01777));
    ASSERT_EQ(0, ::symlink(elsewhere.c_str(), m_root.c_str()));
    EXPECT_EQ(EACCES, PrepareGlobal(DefaultLocks())) << "a link as the root";
    ASSERT_EQ(0, ::unlink(m_root.c_str()));
    MakeFolder(m_root, 01777);
    ASSERT_EQ(0, ::symlink(elsewhere.c_str(), m_global.c_str()));
    EXPECT_EQ(EACCES, PrepareGlobal(DefaultLocks())) << "a link as global/";
}

TEST_F(PosixLockFolderTrustTest, ARootTheUserNamedOnlyHasToBeADirectory)
{
    MakeFolder(m_root, 0777);
    EXPECT_EQ(0, PrepareGlobal(CLockDirectory(m_root, false)));
    const std::string file = m_temp.File("file");
    ::close(::creat(file.c_str(), 0600));
    EXPECT_EQ(ENOTDIR, PrepareGlobal(CLockDirectory(file, false)));
}

}  // namespace
