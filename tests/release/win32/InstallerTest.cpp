// The setup program as a technician meets it, under Wine on a system in
// English: its own version and icon; a silent install into Program Files
// with English shortcut names and an uninstall entry; the installed
// Trelox.exe, the build's byte for byte, up to its message that there is no
// device, also started by a script with start /wait; a silent uninstall that
// leaves nothing behind. The steps build on each other and run in this order.
#include <gtest/gtest.h>

#include <string>

#include "InstalledFiles.h"
#include "ProgramRuns.h"
#include "TreloxProcess.h"
#include "TreloxVersion.h"
#include "WindowProbe.h"
#include "app/ExitStatus.h"

namespace {
using namespace InstalledFiles;

const char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Trelox";
// Where an earlier setup program kept the start-menu folder.
const char kVendorKey[] = "Software\\Trelox-Entwicklerteam";

std::string InstallFolder()
{
    return ProgramFilesFolder() + "\\Trelox";
}

std::string InstalledProgram()
{
    return InstallFolder() + "\\Trelox.exe";
}

std::string StartMenuFolder()
{
    return CommonStartMenuFolder() + "\\Trelox";
}

TEST(Installer, CarriesTheProgramsVersionAndIcon)
{
    ASSERT_TRUE(Exists(SetupProgram())) << SetupProgram();
    EXPECT_EQ(VersionItem(SetupProgram(), "ProductName"), "Trelox");
    EXPECT_EQ(VersionItem(SetupProgram(), "ProductVersion"), TRELOX_FILE_VERSION_TEXT);
    const auto programIcon = IconImages(TreloxExecutable());
    ASSERT_EQ(programIcon.size(), 2u);
    EXPECT_EQ(IconImages(SetupProgram()), programIcon);
}

TEST(Installer, WineShowsASystemInEnglish)
{
    ASSERT_EQ(PRIMARYLANGID(::GetUserDefaultUILanguage()), LANG_ENGLISH) << "run with LC_ALL=C.UTF-8";
}

TEST(Installer, SilentInstallPutsTheProgramTheStartMenuEntryAndTheUninstallEntryInPlace)
{
    ASSERT_FALSE(Exists(InstallFolder())) << "a fresh system";
    ASSERT_EQ(RunToEnd(SetupProgram(), "/S"), 0);

    EXPECT_EQ(VersionItem(InstalledProgram(), "FileVersion"), TRELOX_FILE_VERSION_TEXT);
    EXPECT_EQ(FileBytes(InstalledProgram()), FileBytes(TreloxExecutable())) << "one Trelox.exe, the build's";
    // The readme written for the installed copy, not the zip's.
    const std::string readme = FileBytes(InstallFolder() + "\\README.txt");
    EXPECT_NE(readme.find("installed by the setup program"), std::string::npos) << readme;
    EXPECT_EQ(readme.find("needs no installation"), std::string::npos);
    EXPECT_EQ(ShortcutTarget(StartMenuFolder() + "\\Trelox.lnk"), InstalledProgram());
    EXPECT_EQ(ShortcutTarget(StartMenuFolder() + "\\Readme.lnk"), InstallFolder() + "\\README.txt");
    EXPECT_EQ(ShortcutTarget(StartMenuFolder() + "\\Uninstall Trelox.lnk"), InstallFolder() + "\\Uninstall.exe");

    EXPECT_EQ(MachineRegistryText(kUninstallKey, "DisplayName"), "Trelox");
    EXPECT_EQ(MachineRegistryText(kUninstallKey, "DisplayVersion"), TRELOX_VERSION_TEXT);
    EXPECT_EQ(MachineRegistryText(kUninstallKey, "DisplayIcon"), InstalledProgram());
    EXPECT_EQ(MachineRegistryText(kUninstallKey, "UninstallString"), "\"" + InstallFolder() + "\\Uninstall.exe\"");
}

TEST(Installer, TheInstalledProgramSaysThereIsNoDeviceAndEndsAfterOk)
{
    EXPECT_EQ(RunToNoDeviceMessage(InstalledProgram(), ""), exitDeviceNotFound);
}

// The readme tells scripts to start the window program so, to wait for its
// exit status.
TEST(Installer, AScriptGetsTheExitStatusThroughStartWait)
{
    EXPECT_EQ(RunToNoDeviceMessage("C:\\windows\\system32\\cmd.exe",
                                   "/c start \"\" /wait \"" + InstalledProgram() + "\""),
              exitDeviceNotFound);
}

TEST(Installer, SilentUninstallLeavesNothingBehind)
{
    ASSERT_EQ(RunToEnd(InstallFolder() + "\\Uninstall.exe", "/S"), 0);
    // The uninstaller runs on from a copy of itself, so that it can remove
    // its own file: what it removes goes a little later.
    const auto nothingLeft = [] {
        return !Exists(InstallFolder()) && !Exists(StartMenuFolder()) && !MachineRegistryKeyExists(kUninstallKey) &&
               !MachineRegistryKeyExists(kVendorKey);
    };
    WindowProbe::WaitUntil(nothingLeft, kProgramMs);
    EXPECT_FALSE(Exists(InstallFolder())) << InstallFolder();
    EXPECT_FALSE(Exists(StartMenuFolder())) << StartMenuFolder();
    EXPECT_FALSE(MachineRegistryKeyExists(kUninstallKey));
    EXPECT_FALSE(MachineRegistryKeyExists(kVendorKey));
}

}  // namespace
