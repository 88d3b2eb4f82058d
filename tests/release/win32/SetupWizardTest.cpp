// The setup program's wizard as a technician on a German system works it,
// under Wine with a German locale: German pages and shortcut names, no
// install system's name, no licence page; a first setup cancelled half way
// leaving nothing; an install into a new folder with blanks and umlauts and
// another start-menu folder; the setup run again over it, offering the same
// folders, cancelled half way (the copy still works), stopped by the running
// program, then run to its end, replacing the copy in place; the uninstaller
// started from the start-menu folder, leaving nothing. The steps build on
// each other and run in this order. With TRELOX_SCREENSHOT_DIR set, the
// pages are saved as pictures (scripts/wine/setup-screenshots.sh).
#include <gtest/gtest.h>

#include <windows.h>

#include <shellapi.h>

#include <string>

#include "InstalledFiles.h"
#include "ProgramRuns.h"
#include "SetupWizard.h"
#include "TreloxProcess.h"
#include "TreloxVersion.h"
#include "WindowProbe.h"
#include "WindowScreenshot.h"
#include "app/ExitStatus.h"

namespace {
using namespace InstalledFiles;

const char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Trelox";
const std::string kSetupCaption = "Installation von Trelox " TRELOX_VERSION_TEXT;
const std::string kUninstallCaption = "Deinstallation von Trelox " TRELOX_VERSION_TEXT;
// NSIS ends with 1 when the technician cancelled, 2 when the setup gave up.
constexpr long kCancelled = 1;
constexpr long kAborted = 2;

// The folders a technician chooses: a new folder, with blanks and umlauts,
// in a new folder; and a start-menu folder of the workshop's own.
const std::string kMadeFolder = "C:\\Pr\xFC" "fplatz Werkzeuge";
const std::string kInstallFolder = kMadeFolder + "\\Trelox \xC4" "nderung 2";
const std::string kStartMenuName = "Werkzeuge";

std::string StartMenuFolder()
{
    return CommonStartMenuFolder() + "\\" + kStartMenuName;
}

std::string Contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos ? "" : "\"" + part + "\" not in:\n" + text;
}

// Clicks Cancel and answers the question whether to cancel with Yes.
void CancelSetup(const SetupWizard& wizard)
{
    wizard.Click(SetupWizard::kCancel);
    const HWND question = wizard.WaitForMessageBox(kStepMs);
    ASSERT_NE(question, nullptr);
    EXPECT_EQ(Contains(WindowProbe::MessageBoxText(question), "abbrechen"), "");
    WindowProbe::PressButton(question, IDYES);
}

// Everything of the copy installed by the wizard is in place.
void ExpectTheInstalledCopy()
{
    EXPECT_EQ(FileBytes(kInstallFolder + "\\Trelox.exe"), FileBytes(TreloxExecutable()));
    EXPECT_TRUE(Exists(kInstallFolder + "\\README.txt"));
    EXPECT_TRUE(Exists(kInstallFolder + "\\Uninstall.exe"));
    EXPECT_EQ(ShortcutTarget(StartMenuFolder() + "\\Trelox.lnk"), kInstallFolder + "\\Trelox.exe");
    EXPECT_EQ(ShortcutTarget(StartMenuFolder() + "\\Liesmich.lnk"), kInstallFolder + "\\README.txt");
    EXPECT_EQ(ShortcutTarget(StartMenuFolder() + "\\Trelox deinstallieren.lnk"), kInstallFolder + "\\Uninstall.exe");
    EXPECT_EQ(MachineRegistryText(kUninstallKey, "InstallLocation"), kInstallFolder);
    EXPECT_EQ(MachineRegistryText(kUninstallKey, "UninstallString"), "\"" + kInstallFolder + "\\Uninstall.exe\"");
}

TEST(SetupWizardGerman, WineShowsAGermanSystem)
{
    ASSERT_EQ(PRIMARYLANGID(::GetUserDefaultUILanguage()), LANG_GERMAN)
        << "run with a German locale (LC_ALL=de_DE.UTF-8)";
}

TEST(SetupWizardGerman, AFirstSetupCancelledHalfWayLeavesNothing)
{
    ASSERT_FALSE(Exists(ProgramFilesFolder() + "\\Trelox")) << "a fresh system";
    TreloxProcess setup(SetupProgram(), "");
    const SetupWizard wizard(kSetupCaption, kProgramMs);
    ASSERT_TRUE(wizard.IsOpen());
    EXPECT_EQ(Contains(wizard.PageText(), "Dieser Assistent installiert Trelox " TRELOX_VERSION_TEXT), "");
    EXPECT_EQ(wizard.ButtonText(SetupWizard::kNext), "&Weiter >");
    EXPECT_EQ(wizard.ButtonText(SetupWizard::kCancel), "Abbrechen");
    EXPECT_EQ(wizard.BrandingText(), "Trelox " TRELOX_VERSION_TEXT);
    Screenshot(wizard.Frame(), "setup-welcome");

    // No licence page to accept: the folder page follows.
    ASSERT_TRUE(wizard.Next(kStepMs));
    EXPECT_EQ(wizard.PageItemText(SetupWizard::kInstallFolderField), ProgramFilesFolder() + "\\Trelox");
    CancelSetup(wizard);
    ASSERT_TRUE(setup.WaitForExit(kProgramMs));
    EXPECT_EQ(static_cast<long>(setup.ExitCode()), kCancelled);
    EXPECT_FALSE(Exists(ProgramFilesFolder() + "\\Trelox"));
    EXPECT_FALSE(MachineRegistryKeyExists(kUninstallKey));
}

TEST(SetupWizardGerman, InstallsIntoTheChosenFoldersWithGermanNames)
{
    TreloxProcess setup(SetupProgram(), "");
    const SetupWizard wizard(kSetupCaption, kProgramMs);
    ASSERT_TRUE(wizard.IsOpen());
    ASSERT_TRUE(wizard.Next(kStepMs));
    wizard.Type(SetupWizard::kInstallFolderField, kInstallFolder);
    Screenshot(wizard.Frame(), "setup-folder");
    ASSERT_TRUE(wizard.Next(kStepMs));

    EXPECT_EQ(wizard.PageItemText(SetupWizard::kStartMenuFolderField), "Trelox");
    wizard.Type(SetupWizard::kStartMenuFolderField, kStartMenuName);
    EXPECT_EQ(wizard.ButtonText(SetupWizard::kNext), "&Installieren");
    Screenshot(wizard.Frame(), "setup-start-menu");
    ASSERT_TRUE(wizard.Next(kStepMs));

    // The files go in; then the finish page, with its own texts.
    ASSERT_TRUE(wizard.WaitForButton(SetupWizard::kNext, "&Fertigstellen", kProgramMs));
    const std::string finish = wizard.PageText();
    EXPECT_EQ(Contains(finish, "Trelox " TRELOX_VERSION_TEXT " ist installiert."), "");
    EXPECT_EQ(Contains(finish, "Ordner \x84" + kStartMenuName + "\x93"), "");
    EXPECT_EQ(Contains(finish, "Windows-Treiber"), "");
    const HWND showReadme = wizard.CheckBox("Liesmich-Datei anzeigen");
    ASSERT_NE(showReadme, nullptr) << finish;
    EXPECT_EQ(::SendMessageA(showReadme, BM_GETCHECK, 0, 0), BST_CHECKED);
    Screenshot(wizard.Frame(), "setup-finish");

    // Finishing with the box ticked opens the readme the setup installed.
    wizard.Click(SetupWizard::kNext);
    ASSERT_TRUE(setup.WaitForExit(kStepMs));
    EXPECT_EQ(setup.ExitCode(), 0u);
    const HWND readme = WindowProbe::WaitForAnyWindow(
        [](HWND w) { return WindowProbe::StoredTextOf(w).find("README") != std::string::npos; }, kProgramMs);
    ASSERT_NE(readme, nullptr);
    ::PostMessageA(readme, WM_CLOSE, 0, 0);

    ExpectTheInstalledCopy();
    EXPECT_FALSE(Exists(ProgramFilesFolder() + "\\Trelox"));
    EXPECT_FALSE(Exists(CommonStartMenuFolder() + "\\Trelox"));
}

TEST(SetupWizardGerman, TheUninstallEntryDescribesTheCopy)
{
    EXPECT_EQ(MachineRegistryText(kUninstallKey, "DisplayName"), "Trelox");
    EXPECT_EQ(MachineRegistryText(kUninstallKey, "DisplayVersion"), TRELOX_VERSION_TEXT);
    EXPECT_EQ(MachineRegistryText(kUninstallKey, "Publisher"), "Trelox-Entwicklerteam");
    EXPECT_EQ(MachineRegistryText(kUninstallKey, "DisplayIcon"), kInstallFolder + "\\Trelox.exe");
    EXPECT_EQ(MachineRegistryText(kUninstallKey, "HelpLink"), kInstallFolder + "\\README.txt");
    EXPECT_EQ(MachineRegistryText(kUninstallKey, "QuietUninstallString"),
              "\"" + kInstallFolder + "\\Uninstall.exe\" /S");
    // Numbers, as the control panel reads them; the size in KiB.
    EXPECT_EQ(MachineRegistryNumber(kUninstallKey, "NoModify"), 1);
    EXPECT_EQ(MachineRegistryNumber(kUninstallKey, "NoRepair"), 1);
    EXPECT_NEAR(MachineRegistryNumber(kUninstallKey, "EstimatedSize"), FolderKiB(kInstallFolder), 1);
    EXPECT_GT(MachineRegistryNumber(kUninstallKey, "EstimatedSize"), 100);
}

TEST(SetupWizardGerman, ASecondSetupOffersTheChosenFoldersAndCancelledLeavesTheCopyWorking)
{
    TreloxProcess setup(SetupProgram(), "");
    const SetupWizard wizard(kSetupCaption, kProgramMs);
    ASSERT_TRUE(wizard.IsOpen());
    // Straight to the wizard, no question whether to uninstall first.
    EXPECT_EQ(Contains(wizard.PageText(), "bereits in \x84" + kInstallFolder + "\x93 installiert"), "");
    Screenshot(wizard.Frame(), "setup-welcome-again");
    ASSERT_TRUE(wizard.Next(kStepMs));
    // The page shows a folder that exists with a closing backslash.
    EXPECT_EQ(wizard.PageItemText(SetupWizard::kInstallFolderField), kInstallFolder + "\\");
    ASSERT_TRUE(wizard.Next(kStepMs));
    EXPECT_EQ(wizard.PageItemText(SetupWizard::kStartMenuFolderField), kStartMenuName);
    CancelSetup(wizard);
    ASSERT_TRUE(setup.WaitForExit(kProgramMs));
    EXPECT_EQ(static_cast<long>(setup.ExitCode()), kCancelled);

    ExpectTheInstalledCopy();
    EXPECT_EQ(RunToNoDeviceMessage(kInstallFolder + "\\Trelox.exe", ""), exitDeviceNotFound);
}

TEST(SetupWizardGerman, ARunningProgramStopsTheSetupBeforeItChangesAnything)
{
    TreloxProcess running(kInstallFolder + "\\Trelox.exe", "");
    ASSERT_NE(WindowProbe::WaitForWindow(
                  running.Id(), [](HWND w) { return WindowProbe::IsMessageBox(w, "Trelox"); }, kProgramMs),
              nullptr);
    TreloxProcess setup(SetupProgram(), "");
    const SetupWizard wizard(kSetupCaption, kProgramMs);
    ASSERT_TRUE(wizard.Next(kStepMs));
    ASSERT_TRUE(wizard.Next(kStepMs));
    wizard.Click(SetupWizard::kNext);
    const HWND question = wizard.WaitForMessageBox(kStepMs);
    ASSERT_NE(question, nullptr);
    EXPECT_EQ(Contains(WindowProbe::MessageBoxText(question), "Trelox l\xE4uft noch"), "");
    WindowProbe::PressButton(question, IDCANCEL);
    ASSERT_TRUE(wizard.WaitForButton(SetupWizard::kCancel, "Abbrechen", kStepMs));
    wizard.Click(SetupWizard::kCancel);
    ASSERT_TRUE(setup.WaitForExit(kProgramMs));
    EXPECT_EQ(static_cast<long>(setup.ExitCode()), kAborted);
    ExpectTheInstalledCopy();
}

TEST(SetupWizardGerman, ASecondSetupRunToItsEndReplacesTheCopyInPlace)
{
    TreloxProcess setup(SetupProgram(), "");
    const SetupWizard wizard(kSetupCaption, kProgramMs);
    ASSERT_TRUE(wizard.Next(kStepMs));
    ASSERT_TRUE(wizard.Next(kStepMs));
    ASSERT_TRUE(wizard.Next(kStepMs));
    ASSERT_TRUE(wizard.WaitForButton(SetupWizard::kNext, "&Fertigstellen", kProgramMs));
    ::SendMessageA(wizard.CheckBox("Liesmich-Datei anzeigen"), BM_CLICK, 0, 0);
    wizard.Click(SetupWizard::kNext);
    ASSERT_TRUE(setup.WaitForExit(kProgramMs));
    EXPECT_EQ(setup.ExitCode(), 0u);

    ExpectTheInstalledCopy();
    EXPECT_FALSE(Exists(ProgramFilesFolder() + "\\Trelox"));
    EXPECT_FALSE(Exists(CommonStartMenuFolder() + "\\Trelox"));
}

TEST(SetupWizardGerman, TheUninstallerFromTheStartMenuFolderLeavesNothing)
{
    const std::string shortcut = StartMenuFolder() + "\\Trelox deinstallieren.lnk";
    ASSERT_GT(reinterpret_cast<INT_PTR>(::ShellExecuteA(nullptr, "open", shortcut.c_str(), nullptr, nullptr, SW_SHOW)),
              32);
    const SetupWizard wizard(kUninstallCaption, kProgramMs);
    ASSERT_TRUE(wizard.IsOpen());
    EXPECT_EQ(Contains(wizard.PageText(), kInstallFolder), "");
    EXPECT_EQ(wizard.ButtonText(SetupWizard::kNext), "&Deinstallieren");
    Screenshot(wizard.Frame(), "uninstall-confirm");
    ASSERT_TRUE(wizard.Next(kStepMs));
    ASSERT_TRUE(wizard.Next(kProgramMs));
    ASSERT_TRUE(wizard.WaitUntilClosed(kStepMs));

    const auto nothingLeft = [] {
        return !Exists(kMadeFolder) && !Exists(StartMenuFolder()) && !MachineRegistryKeyExists(kUninstallKey);
    };
    WindowProbe::WaitUntil(nothingLeft, kProgramMs);
    EXPECT_FALSE(Exists(kInstallFolder)) << kInstallFolder;
    EXPECT_FALSE(Exists(kMadeFolder)) << kMadeFolder;
    EXPECT_FALSE(Exists(StartMenuFolder())) << StartMenuFolder();
    EXPECT_FALSE(MachineRegistryKeyExists(kUninstallKey));
}

}  // namespace
