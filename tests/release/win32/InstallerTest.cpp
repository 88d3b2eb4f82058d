// The setup program as a technician meets it, under Wine: its own version
// and icon; a silent install into Program Files with a start-menu entry and
// an uninstall entry; the installed Trelox.exe up to its message that there
// is no device; a silent uninstall that leaves nothing behind. The steps
// build on each other and run in this order.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "InstalledFiles.h"
#include "TestPaths.h"
#include "TreloxProcess.h"
#include "TreloxVersion.h"
#include "WindowProbe.h"
#include "app/ExitStatus.h"

namespace {
using namespace InstalledFiles;

const char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Trelox";
const char kVendorKey[] = "Software\\Trelox-Entwicklerteam";
// A fresh prefix starts the first program slowly.
constexpr DWORD kProgramMs = 60000;
constexpr DWORD kStepMs = 10000;

std::string SetupProgram()
{
    const char* path = std::getenv("TRELOX_SETUP_EXE");
    return SystemPathOf(path != nullptr ? path : "");
}

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

// Runs `program` with `arguments` to its end; its exit status, or -1.
long RunToEnd(const std::string& program, const std::string& arguments)
{
    TreloxProcess process(program, arguments);
    if (!process.Started() || !process.WaitForExit(kProgramMs)) {
        return -1;
    }
    return static_cast<long>(process.ExitCode());
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

TEST(Installer, SilentInstallPutsTheProgramTheStartMenuEntryAndTheUninstallEntryInPlace)
{
    ASSERT_FALSE(Exists(InstallFolder())) << "a fresh system";
    ASSERT_EQ(RunToEnd(SetupProgram(), "/S"), 0);

    EXPECT_EQ(VersionItem(InstalledProgram(), "FileVersion"), TRELOX_FILE_VERSION_TEXT);
    EXPECT_TRUE(Exists(InstallFolder() + "\\README.txt"));
    EXPECT_EQ(ShortcutTarget(StartMenuFolder() + "\\Trelox.lnk"), InstalledProgram());

    EXPECT_EQ(MachineRegistryText(kUninstallKey, "DisplayName"), "Trelox");
    EXPECT_EQ(MachineRegistryText(kUninstallKey, "DisplayVersion"), TRELOX_VERSION_TEXT);
    EXPECT_EQ(MachineRegistryText(kUninstallKey, "DisplayIcon"), InstalledProgram());
    EXPECT_EQ(MachineRegistryText(kUninstallKey, "UninstallString"), "\"" + InstallFolder() + "\\Uninstall.exe\"");
}

TEST(Installer, TheInstalledProgramSaysThereIsNoDeviceAndEndsAfterOk)
{
    TreloxProcess trelox(InstalledProgram(), "");
    ASSERT_TRUE(trelox.Started());
    const HWND box = WindowProbe::WaitForWindow(
        trelox.Id(), [](HWND w) { return WindowProbe::IsMessageBox(w, "Trelox"); }, kProgramMs);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(WindowProbe::MessageBoxText(box), "USB-Schnittstelle konnte nicht ge\xF6" "ffnet werden!");
    WindowProbe::PressButton(box, IDOK);
    ASSERT_TRUE(trelox.WaitForExit(kStepMs));
    EXPECT_EQ(trelox.ExitCode(), static_cast<DWORD>(exitDeviceNotFound));
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
