// Dialog mode at start-up: the flags that fill the identity slots, and the
// hand-over of the file name and identity strings to the main dialog, which
// programs nothing until the user asks.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/CTreloxApp.h"
#include "app/CTreloxCommandLineInfo.h"
#include "app/ExitStatus.h"
#include "app/StartMode.h"
#include "support/FakePlatform.h"
#include "support/MemoryWindowSystem.h"
#include "ui/res/resource.h"

namespace {
const char kDevicePath[] = "\\\\?\\usb#vid_1234&pid_5678#ABC123#{c0558574-212d-4625-8877-fe9c2e8ed396}";

std::vector<char*> Argv(std::vector<std::string>& arguments)
{
    std::vector<char*> argv;
    for (std::string& argument : arguments) {
        argv.push_back(&argument[0]);
    }
    argv.push_back(nullptr);
    return argv;
}

CTreloxCommandLineInfo Parse(std::vector<std::string> arguments)
{
    arguments.insert(arguments.begin(), "trelox");
    std::vector<char*> argv = Argv(arguments);
    CTreloxCommandLineInfo info;
    AfxParseCommandLine(info, static_cast<int>(arguments.size()), argv.data());
    return info;
}
}  // namespace

TEST(IdentitySlotFlags, SPAndMFillTheirStringsWithTheNextPlainArgument)
{
    const CTreloxCommandLineInfo info =
        Parse({"/I", "/S", "SN 0815", "-p", "Pr\xFC" "fger\xE4t", "/m", "Hersteller", "fw.s19"});
    EXPECT_EQ("SN 0815", info.m_strSerialNumber.Bytes());
    EXPECT_EQ("Pr\xFC" "fger\xE4t", info.m_strProductName.Bytes());
    EXPECT_EQ("Hersteller", info.m_strManufacturer.Bytes());
    EXPECT_EQ("fw.s19", info.m_strFileName.Bytes());
    EXPECT_EQ(StartMode::Dialog, ChooseStartMode(info));
}

TEST(IdentitySlotFlags, TheOrdinaryRulesApply)
{
    // A flag between the slot flag and its value closes the slot again.
    const CTreloxCommandLineInfo reset = Parse({"/S", "/I", "SN1"});
    EXPECT_TRUE(reset.m_strSerialNumber.IsEmpty());
    EXPECT_EQ("SN1", reset.m_strFileName.Bytes());
    // A filled slot takes no second value: it becomes the file name.
    const CTreloxCommandLineInfo twice = Parse({"/I", "/S", "A", "B"});
    EXPECT_EQ("A", twice.m_strSerialNumber.Bytes());
    EXPECT_EQ("B", twice.m_strFileName.Bytes());
    // With a file and without /I the file is programmed: direct mode.
    EXPECT_EQ(StartMode::Direct, ChooseStartMode(Parse({"/S", "SN1", "fw.s19"})));
    // Identity strings alone, without /I: neither mode.
    EXPECT_EQ(StartMode::None, ChooseStartMode(Parse({"/S", "SN1"})));
    // Longer flags are no slot flags.
    EXPECT_EQ(0, Parse({"/SN"}).m_nParamSlot);
}

class DialogModeStart : public ::testing::Test {
protected:
    DialogModeStart()
    {
        m_platform.Install();
        m_platform.AddDevice(kDevicePath);
        m_platform.AddFile("fw.s19", "S1 a\n");
    }

    int Run(std::vector<std::string> arguments)
    {
        arguments.insert(arguments.begin(), "/opt/trelox/trelox");
        std::vector<char*> argv = Argv(arguments);
        return AfxRunApplicationWith(m_windows, m_platform, static_cast<int>(arguments.size()), argv.data());
    }

    std::string Text(WindowHandle dialog, int id) const { return m_windows.Text(dialog, id).Bytes(); }

    FakePlatform m_platform;
    MemoryWindowSystem m_windows;
    CTreloxApp m_app;
};

TEST_F(DialogModeStart, TheDialogOpensWithTheHandedOverTextsAndProgramsNothing)
{
    bool seen = false;
    m_windows.SetIdleHook([&]() -> bool {
        const WindowHandle main = m_windows.FindDialog(IDD_TRELOX_DIALOG);
        if (main == nullptr || seen) {
            return false;
        }
        seen = true;
        EXPECT_EQ("fw.s19", Text(main, IDC_FLASH_FILE));
        EXPECT_EQ("SN1", Text(main, IDC_SERIAL_NUMBER));
        EXPECT_EQ("Pr1", Text(main, IDC_PRODUCT_NAME));
        EXPECT_EQ("Ma1", Text(main, IDC_MANUFACTURER));
        EXPECT_EQ("", Text(main, IDC_VERSION));
        EXPECT_EQ("", Text(main, IDC_ERROR_INFO));
        EXPECT_TRUE(m_windows.IsEnabled(main, IDOK));
        // The dialog is the application's main window while it runs.
        EXPECT_EQ(main, AfxGetMainWnd() != nullptr ? AfxGetMainWnd()->GetSafeHwnd() : nullptr);
        m_windows.Click(main, IDCANCEL);
        return true;
    });
    EXPECT_EQ(exitProgrammed, Run({"fw.s19", "-i", "/S", "SN1", "/P", "Pr1", "/M", "Ma1"}));
    EXPECT_TRUE(seen);
    EXPECT_TRUE(m_platform.Writes(kDevicePath).empty());
    EXPECT_TRUE(m_windows.MessageBoxes().empty());
    EXPECT_EQ(nullptr, AfxGetMainWnd());
}

TEST_F(DialogModeStart, IdentityStringsWithoutTheSwitchShowNothing)
{
    EXPECT_EQ(exitProgrammed, Run({"/S", "SN1"}));
    EXPECT_TRUE(m_windows.AllDialogs().empty());
    EXPECT_TRUE(m_platform.Writes(kDevicePath).empty());
}
