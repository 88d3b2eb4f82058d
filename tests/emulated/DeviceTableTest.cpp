// The device table: where it is read from and in which order, what an entry
// may say, and how a malformed entry is reported without costing the rest.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "TempDirectory.h"
#include "platform/libusb/CDeviceTableLoader.h"

namespace {

class DeviceTableTest : public ::testing::Test {
protected:
    std::string Write(const std::string& name, const std::string& text)
    {
        const std::string path = m_temp.File(name);
        std::ofstream(path) << text;
        return path;
    }

    CDeviceTable Load(std::optional<std::string> variable, const std::string& user, const std::string& system)
    {
        return CDeviceTableLoader(std::move(variable), user, system).Load(m_report);
    }

    TempDirectory m_temp;
    std::ostringstream m_report;
};

TEST_F(DeviceTableTest, TheVariableComesFirstThenTheUsersFileThenTheSystemsFile)
{
    const std::string user = Write("user", "1111:0001\n");
    const std::string system = Write("system", "2222:0002\n");
    CDeviceTable table = Load(std::string("3333:0003;4444:0004"), user, system);
    EXPECT_EQ("TRELOX_USB_DEVICES", table.Source());
    EXPECT_EQ(2u, table.Entries().size());
    EXPECT_NE(nullptr, table.Find(0x4444, 0x0004));
    EXPECT_EQ(nullptr, table.Find(0x1111, 0x0001)) << "the files are not read then";

    table = Load(std::string(""), user, system);
    EXPECT_EQ(user, table.Source()) << "an empty variable counts as not set";
    table = Load(std::nullopt, m_temp.File("missing"), system);
    EXPECT_EQ(system, table.Source());
    EXPECT_NE(nullptr, table.Find(0x2222, 0x0002));
    table = Load(std::nullopt, m_temp.File("missing"), m_temp.File("missing too"));
    EXPECT_FALSE(table.Exists());
    EXPECT_TRUE(m_report.str().empty()) << m_report.str();
}

TEST_F(DeviceTableTest, MalformedEntriesAreReportedWithTheirPlaceAndTheRestStillCount)
{
    const std::string path = Write("devices",
                                   "# the test station's programmer\n"
                                   "\n"
                                   "  1234:5678 interface=1 out=0x02 in=0x83   # its pipes\n"
                                   "1234:56789\n"
                                   "abcd:EF01 out=0x81\n"
                                   "1234:0001 in=0x83 in=0x84\n"
                                   "1234:0002 speed=high\n"
                                   "0x1234:0x5678\n"
                                   "FEDC:ba98\n");
    const CDeviceTable table = Load(std::nullopt, path, "");
    ASSERT_EQ(2u, table.Entries().size());
    const DeviceTableEntry* first = table.Find(0x1234, 0x5678);
    ASSERT_NE(nullptr, first);
    EXPECT_EQ(1, first->interfaceNumber);
    EXPECT_EQ(0x02, first->outEndpoint);
    EXPECT_EQ(0x83, first->inEndpoint);
    const DeviceTableEntry* last = table.Find(0xFEDC, 0xBA98);
    ASSERT_NE(nullptr, last);
    EXPECT_EQ(0, last->interfaceNumber);
    EXPECT_EQ(-1, last->outEndpoint);
    EXPECT_EQ(-1, last->inEndpoint);
    EXPECT_EQ("trelox: " + path + ":4: \"1234:56789\" is not VID:PID (four hex digits each, as lsusb shows them); "
              "entry skipped\n"
              "trelox: " + path + ":5: out=0x81: not an OUT endpoint address (0x01 to 0x0f); entry skipped\n"
              "trelox: " + path + ":6: in= is given twice; entry skipped\n"
              "trelox: " + path +
                  ":7: \"speed=high\" is not one of serial=TEXT, interface=N, out=0xEP, in=0xEP; entry skipped\n"
              "trelox: " + path + ":8: \"0x1234:0x5678\" is not VID:PID (four hex digits each, as lsusb shows "
              "them); entry skipped\n",
              m_report.str());
}

TEST_F(DeviceTableTest, EntriesOfTheVariableAreCountedForTheirReports)
{
    const CDeviceTable table = Load(std::string(" 1234:5678 ;; 1234:zzzz; 1234:0001 interface=256;"), "", "");
    EXPECT_EQ(1u, table.Entries().size());
    EXPECT_EQ("trelox: TRELOX_USB_DEVICES, entry 3: \"1234:zzzz\" is not VID:PID (four hex digits each, as lsusb "
              "shows them); entry skipped\n"
              "trelox: TRELOX_USB_DEVICES, entry 4: interface=256: not an interface number from 0 to 255; entry "
              "skipped\n",
              m_report.str());
}

TEST_F(DeviceTableTest, AFileThatCannotBeReadIsReportedAndTheNextPlaceCounts)
{
    const std::string folder = m_temp.File("devices");
    ASSERT_EQ(0, ::mkdir(folder.c_str(), 0700));
    const CDeviceTable table = Load(std::nullopt, folder, Write("system", "1234:5678\n"));
    EXPECT_EQ(m_temp.File("system"), table.Source());
    EXPECT_EQ("trelox: " + folder + ": cannot be read (Is a directory); not used\n", m_report.str());
}

TEST_F(DeviceTableTest, TheUsersFileFollowsXdgConfigHomeWhenItIsAnAbsolutePath)
{
    const char* savedConfig = std::getenv("XDG_CONFIG_HOME");
    const char* savedHome = std::getenv("HOME");
    const std::string config = savedConfig != nullptr ? savedConfig : "";
    const std::string home = savedHome != nullptr ? savedHome : "";
    ::setenv("HOME", "/home/service", 1);
    ::setenv("XDG_CONFIG_HOME", "/srv/config", 1);
    EXPECT_EQ("/srv/config/trelox/devices", CDeviceTableLoader::UserFileFromEnvironment());
    ::setenv("XDG_CONFIG_HOME", "relative/config", 1);
    EXPECT_EQ("/home/service/.config/trelox/devices", CDeviceTableLoader::UserFileFromEnvironment());
    ::unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ("/home/service/.config/trelox/devices", CDeviceTableLoader::UserFileFromEnvironment());
    savedConfig != nullptr ? ::setenv("XDG_CONFIG_HOME", config.c_str(), 1) : ::unsetenv("XDG_CONFIG_HOME");
    savedHome != nullptr ? ::setenv("HOME", home.c_str(), 1) : ::unsetenv("HOME");
}

}  // namespace
