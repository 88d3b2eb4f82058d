// --help and --version of the Linux program: answered at once with exit
// status 0, before the device is opened, a lock is taken or the terminal is
// changed; a two-dash word that is neither still means what it meant.
#include <gtest/gtest.h>
#include <gmock/gmock.h>

#include <algorithm>
#include <string>
#include <vector>

#include "ChildProcess.h"
#include "DevsimDownloadFixture.h"
#include "TempDirectory.h"
#include "TmuxTerminal.h"
#include "TreloxProcess.h"
#include "TreloxVersion.h"

#ifdef TRELOX_PATH

using ::testing::HasSubstr;
using ::testing::Not;
using ::testing::StartsWith;

namespace {
const int kAnswerMs = 5000;
const int kRunMs = 30000;

class InformationWords : public DevsimDownloadFixture {
protected:
    // The program's output and exit status for `arguments`, with the device
    // on the bus.
    int Run(const std::vector<std::string>& arguments, std::string* output)
    {
        TreloxProcess trelox(m_bus, m_locks, m_temp.Path());
        const int status = trelox.Run(arguments, kAnswerMs);
        *output = trelox.Output();
        return status;
    }

    void ExpectDeviceUntouched()
    {
        EXPECT_TRUE(m_devsim.LinesWith({"connect"}).empty()) << m_devsim.Log();
        EXPECT_TRUE(TempDirectory::List(m_locks).empty()) << "no lock taken";
    }
};

TEST_F(InformationWords, HelpPrintsTheSynopsisAndFlagsPointingAtTheManual)
{
    StartDevice();
    // Also after a flash file or /I, which without it would program or open the dialog.
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{"--help"}, {SampleCopy(), "--help"}, {"/I", "--help", "--version"}}) {
        std::string output;
        EXPECT_EQ(0, Run(arguments, &output)) << output;
        EXPECT_THAT(output, StartsWith("Usage: trelox [/I] [/S SERIAL] [/P PRODUCT] [/M MANUFACTURER] [FLASHFILE]\n"));
        EXPECT_THAT(output, HasSubstr("man trelox"));
        EXPECT_LE(std::count(output.begin(), output.end(), '\n'), 15) << "a few lines";
    }
    ExpectDeviceUntouched();
}

TEST_F(InformationWords, VersionPrintsTheReleaseVersion)
{
    StartDevice();
    std::string output;
    EXPECT_EQ(0, Run({"--version", SampleCopy()}, &output));
    EXPECT_EQ(output, std::string("trelox ") + TRELOX_VERSION_TEXT + "\n");
    ExpectDeviceUntouched();
}

TEST_F(InformationWords, WithoutTheSimulatedBusTheWordsReadNoDeviceTable)
{
    // Real USB devices: the program would report the malformed table first.
    ChildProcess trelox(TRELOX_PATH, {{"TRELOX_USB_BUS", ""}, {"TRELOX_USB_DEVICES", "junk"}},
                        m_temp.File("trelox.out"));
    for (const char* word : {"--help", "--version"}) {
        EXPECT_EQ(0, trelox.Run({word}, kAnswerMs));
        EXPECT_THAT(trelox.Output(), Not(HasSubstr("TRELOX_USB_DEVICES"))) << word;
    }
}

TEST_F(InformationWords, AnAbbreviationIsNoWordSoTheFileIsProgrammedAsBefore)
{
    StartDevice();
    TreloxProcess trelox(m_bus, m_locks, m_temp.Path());
    EXPECT_EQ(0, trelox.Run({"--hel", "--vers", SampleCopy()}, kRunMs)) << trelox.Output();
    EXPECT_EQ(static_cast<std::size_t>(SampleRecordCount()), RecordsReceived());
}

TEST_F(InformationWords, OnATerminalHelpLeavesTheTerminalModeAsItWas)
{
    StartDevice();
    TmuxTerminal terminal(m_temp.File("tmux"));
    const std::string command = "stty -g > " + m_temp.File("before") + "; " + TRELOX_PATH + " --help; s=$?; stty -g > " +
                                m_temp.File("after") + "; echo \"EXIT=$s\"; sleep 600";
    ASSERT_TRUE(terminal.Start(command, {"TRELOX_USB_BUS=" + m_bus, "TRELOX_LOCK_DIR=" + m_locks}, 80, 30));
    ASSERT_TRUE(terminal.WaitFor("EXIT=0", kAnswerMs)) << terminal.Screen();
    EXPECT_THAT(terminal.Screen(), HasSubstr("Usage: trelox"));
    EXPECT_EQ(TempDirectory::Read(m_temp.File("before")), TempDirectory::Read(m_temp.File("after")));
    EXPECT_FALSE(TempDirectory::Read(m_temp.File("after")).empty());
    ExpectDeviceUntouched();
}

}  // namespace

#endif
