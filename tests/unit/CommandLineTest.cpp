// Splitting the command line, the program's parameter rules and the choice
// between direct mode and dialog mode.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/CTreloxCommandLineInfo.h"
#include "app/StartMode.h"

namespace {

struct Call {
    std::string param;
    BOOL flag;
    BOOL last;
};

class RecordingInfo : public CCommandLineInfo {
public:
    void ParseParam(const char* pszParam, BOOL bFlag, BOOL bLast) override
    {
        calls.push_back({pszParam, bFlag, bLast});
    }
    std::vector<Call> calls;
};

// Parses `args` as the arguments after the program's name.
CTreloxCommandLineInfo Parse(std::vector<std::string> args)
{
    std::vector<char*> argv{const_cast<char*>("Trelox.exe")};
    for (std::string& arg : args) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
    CTreloxCommandLineInfo info;
    AfxParseCommandLine(info, static_cast<int>(argv.size() - 1), argv.data());
    return info;
}

}  // namespace

TEST(CommandLineSplitting, FlagsLoseTheirFirstCharacterAndOnlyTheLastIsLast)
{
    std::vector<std::string> args = {"Trelox", "/I", "-x", "file with blanks.s19", "-", "-/y", ""};
    std::vector<char*> argv;
    for (std::string& arg : args) {
        argv.push_back(arg.data());
    }
    RecordingInfo info;
    AfxParseCommandLine(info, static_cast<int>(argv.size()), argv.data());
    ASSERT_EQ(6u, info.calls.size());
    EXPECT_EQ("I", info.calls[0].param);
    EXPECT_EQ(TRUE, info.calls[0].flag);
    EXPECT_EQ("x", info.calls[1].param);
    EXPECT_EQ("file with blanks.s19", info.calls[2].param);
    EXPECT_EQ(FALSE, info.calls[2].flag);
    EXPECT_EQ("", info.calls[3].param);
    EXPECT_EQ(TRUE, info.calls[3].flag);
    EXPECT_EQ("/y", info.calls[4].param);
    EXPECT_EQ("", info.calls[5].param);
    EXPECT_EQ(FALSE, info.calls[5].flag);
    for (std::size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(FALSE, info.calls[i].last) << i;
    }
    EXPECT_EQ(TRUE, info.calls[5].last);
}

#if !defined(_WIN32)
// Absolute paths begin with "/" here: such a path is the file, "/I" a switch.
TEST(CommandLineSplitting, AnAbsolutePathIsAFileAndASlashWordAFlag)
{
    std::vector<std::string> args = {"trelox", "/tmp/fw/a.s19", "/I", "/Ix", "/"};
    std::vector<char*> argv;
    for (std::string& arg : args) {
        argv.push_back(arg.data());
    }
    RecordingInfo info;
    AfxParseCommandLine(info, static_cast<int>(argv.size()), argv.data());
    ASSERT_EQ(4u, info.calls.size());
    EXPECT_EQ("/tmp/fw/a.s19", info.calls[0].param);
    EXPECT_EQ(FALSE, info.calls[0].flag);
    EXPECT_EQ("I", info.calls[1].param);
    EXPECT_EQ(TRUE, info.calls[1].flag);
    EXPECT_EQ("Ix", info.calls[2].param);
    EXPECT_EQ(TRUE, info.calls[2].flag);
    EXPECT_EQ(TRUE, info.calls[3].flag);
}
#endif

TEST(CommandLineSplitting, NothingToSplit)
{
    RecordingInfo info;
    char name[] = "Trelox";
    char* argv[] = {name, nullptr};
    AfxParseCommandLine(info, 1, argv);
    AfxParseCommandLine(info, 0, argv);
    AfxParseCommandLine(info, 5, argv);  // an argument count beyond the vector's end
    AfxParseCommandLine(info, 3, nullptr);
    EXPECT_TRUE(info.calls.empty());
}

TEST(CommandLine, PlainFileNameMeansDirectMode)
{
    const CTreloxCommandLineInfo info = Parse({"fw.s19"});
    EXPECT_EQ("fw.s19", info.m_strFileName.Bytes());
    EXPECT_EQ(StartMode::Direct, ChooseStartMode(info));
}

TEST(CommandLine, NoArgumentsMeansDialogMode)
{
    EXPECT_EQ(StartMode::Dialog, ChooseStartMode(Parse({})));
    EXPECT_EQ(StartMode::Dialog, ChooseStartMode(Parse({"/I"})));
}

TEST(CommandLine, SwitchIInEitherCaseAndPlaceKeepsTheFileForTheDialog)
{
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"/I", "fw.s19"}, {"fw.s19", "/I"}, {"-i", "fw.s19"}, {"fw.s19", "-I"}}) {
        const CTreloxCommandLineInfo info = Parse(args);
        EXPECT_TRUE(info.m_bInteractive);
        EXPECT_EQ("fw.s19", info.m_strFileName.Bytes());
        EXPECT_EQ(StartMode::Dialog, ChooseStartMode(info));
    }
}

TEST(CommandLine, OtherFlagsAreIgnored)
{
    for (const char* flag : {"/X", "/Ix", "-II", "/", "/\xCC"}) {
        const CTreloxCommandLineInfo info = Parse({flag, "fw.s19"});
        EXPECT_FALSE(info.m_bInteractive) << flag;
        EXPECT_EQ(StartMode::Direct, ChooseStartMode(info)) << flag;
    }
}

TEST(CommandLine, FirstNonEmptyPlainArgumentIsTheFile)
{
    EXPECT_EQ("a.s19", Parse({"a.s19", "b.s19"}).m_strFileName.Bytes());
    EXPECT_EQ("b.s19", Parse({"", "b.s19"}).m_strFileName.Bytes());
    EXPECT_EQ("\xE4rger.s19", Parse({"\xE4rger.s19"}).m_strFileName.Bytes());
}

TEST(CommandLine, IdentitySlotFillsItsStringOnceAndAnyFlagClearsIt)
{
    CTreloxCommandLineInfo info;
    info.m_nParamSlot = 2;
    info.ParseParam("PRODUCT", FALSE, FALSE);
    info.ParseParam("file", FALSE, FALSE);  // product already set: the file name takes it
    info.ParseParam("more", FALSE, FALSE);  // both set: dropped
    EXPECT_EQ("PRODUCT", info.m_strProductName.Bytes());
    EXPECT_EQ("file", info.m_strFileName.Bytes());
    EXPECT_EQ(2, info.m_nParamSlot);
    info.ParseParam("X", TRUE, FALSE);
    EXPECT_EQ(0, info.m_nParamSlot);

    CTreloxCommandLineInfo serial;
    serial.m_nParamSlot = 1;
    serial.ParseParam("SN1", FALSE, TRUE);
    EXPECT_EQ("SN1", serial.m_strSerialNumber.Bytes());
    EXPECT_TRUE(serial.m_strFileName.IsEmpty());
    // An identity string without a file or the switch starts neither mode.
    EXPECT_EQ(StartMode::None, ChooseStartMode(serial));

    CTreloxCommandLineInfo maker;
    maker.m_nParamSlot = 3;
    maker.ParseParam("ACME", FALSE, FALSE);
    EXPECT_EQ("ACME", maker.m_strManufacturer.Bytes());
    maker.m_bInteractive = true;
    EXPECT_EQ(StartMode::Dialog, ChooseStartMode(maker));
}
