// The application object: the entry runs start-up on the given backends,
// with the title and command line from the arguments, and returns its status.
#include <gtest/gtest.h>

#include <vector>

#include "framework/AfxMessageBox.h"
#include "framework/CCommandLineInfo.h"
#include "framework/CWinApp.h"
#include "support/FakePlatform.h"
#include "support/MemoryWindowSystem.h"

namespace {
class RecordingInfo : public CCommandLineInfo {
public:
    std::vector<std::string> seen;
    void ParseParam(const char* param, BOOL flag, BOOL last) override
    {
        seen.push_back(std::string(flag ? "/" : "") + param + (last ? "!" : ""));
    }
};

class ProbeApp : public CWinApp {
public:
    RecordingInfo info;
    DWORD tickSeen = 0;

    BOOL InitInstance() override
    {
        ParseCommandLine(info);
        tickSeen = Platform().GetTickCount();
        AfxMessageBox("Start");
        SetExitCode(3);
        return FALSE;
    }
};

TEST(WinAppTest, TheEntryRunsStartUpOnTheGivenBackendsAndReturnsItsStatus)
{
    FakePlatform platform;
    platform.SetTickCount(4242);
    MemoryWindowSystem windows(false);
    ProbeApp app;
    char program[] = "/usr/local/bin/trelox";
    char flag[] = "/i";
    char file[] = "a b.s19";
    char* argv[] = {program, flag, file, nullptr};

    const int status = AfxRunApplicationWith(windows, platform, 3, argv);
    SetWindowSystem(nullptr);
    SetPlatform(nullptr);

    EXPECT_EQ(status, 3);
    EXPECT_EQ(app.tickSeen, 4242u);
    ASSERT_EQ(windows.MessageBoxes().size(), 1u);
    EXPECT_EQ(windows.MessageBoxes()[0].caption, "trelox");
    EXPECT_EQ(app.info.seen, (std::vector<std::string>{"/i", "a b.s19!"}));
}

TEST(WinAppTest, AnApplicationNameGivenAtConstructionIsKept)
{
    CWinApp app("Eigener Name");
    char program[] = "trelox.exe";
    char* argv[] = {program, nullptr};
    app.SetCommandLine(1, argv);
    EXPECT_EQ(AfxGetAppTitle(), "Eigener Name");
    EXPECT_EQ(AfxGetApp(), &app);
}

TEST(WinAppTest, TheTitleIsTheExecutablesFileWhereThePlatformTellsIt)
{
    FakePlatform platform;
    platform.SetModuleFileName("C:\\Programme\\Werkzeug\\Trelox.exe");
    MemoryWindowSystem windows(false);
    CWinApp app;
    char typed[] = "trelox";
    char* argv[] = {typed, nullptr};

    AfxRunApplicationWith(windows, platform, 1, argv);
    SetWindowSystem(nullptr);
    SetPlatform(nullptr);

    EXPECT_EQ(AfxGetAppTitle(), "Trelox");
}

TEST(WinAppTest, TheTitleFallsBackOnTheStartedNameWhereTheFileGivesNone)
{
    FakePlatform platform;
    platform.Install();
    char typed[] = "C:\\Werkzeug\\trelox";
    char* argv[] = {typed, nullptr};
    {
        CWinApp cannotTell;
        cannotTell.SetCommandLine(1, argv);
        EXPECT_EQ(AfxGetAppTitle(), "trelox");
    }
    platform.SetModuleFileName("C:\\Werkzeug\\");
    {
        CWinApp noFileName;
        noFileName.SetCommandLine(1, argv);
        EXPECT_EQ(AfxGetAppTitle(), "trelox");
    }
    {
        CWinApp neither;
        neither.SetCommandLine(0, nullptr);
        EXPECT_EQ(AfxGetAppTitle(), "Trelox");  // the fallback before any title
    }
    platform.SetModuleFileName("/opt/Trelox.exe");
    {
        CWinApp named("Eigener Name");
        named.SetCommandLine(1, argv);
        EXPECT_EQ(AfxGetAppTitle(), "Eigener Name");
    }
}

TEST(WinAppTest, CommonControlsAreRegisteredWithTheWindowSystem)
{
    MemoryWindowSystem windows;
    AfxInitCommonControls(ICC_WIN95_CLASSES);
    EXPECT_EQ(windows.CommonControlClasses(), static_cast<DWORD>(ICC_WIN95_CLASSES));
}
}  // namespace
