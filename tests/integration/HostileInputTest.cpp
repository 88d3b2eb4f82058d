// Hostile input: instance ids that try to leave the lock folder or break its
// names, and flash files of zero bytes, 0xFF bytes, no line end, only white
// space and a 100 MiB line. Lock files stay inside their folders under safe
// names; each file behaves as the file format says, with the program's memory
// bounded by its longest record.
#include <gtest/gtest.h>
#include <gmock/gmock.h>

#include <algorithm>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include <unistd.h>

#include "InstrumentedTrelox.h"
#include "MatrixFixture.h"
#include "PosixScriptedPipe.h"
#include "PosixTestBus.h"
#include "TempDirectory.h"
#include "flash/CDeviceLock.h"
#include "framework/CResourceException.h"

using ::testing::HasSubstr;
using ::testing::Not;

namespace {

const int kRunMs = 60000;
const std::size_t kHugeLine = 100u << 20;
const std::size_t kLongestFileName = 255;

bool IsSafeName(const std::string& name)
{
    return name != "." && name != ".." &&
           name.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789._%-") ==
               std::string::npos;
}

// ---- Lock-file names of hostile instance ids, through the device lock on the
// real platform.

TEST(HostileInstanceIds, LockFilesStayInTheirFoldersUnderSafeDistinctNames)
{
    PosixTestBus bus;
    const std::vector<std::string> ids = {
        "..", "../../escaped", "/etc/passwd", "a/b", "%41", "%2F", "\xC4\xD6\xDC\xE9", "Local\\x", "Global\\y",
        std::string(60, '/'), std::string(255, 'A'), std::string(255, '%'), std::string(255, '\xFF'),
    };
    std::size_t created = 0;
    for (const std::string& id : ids) {
        SCOPED_TRACE(id);
        // Escaping triples a byte at most; a name the folder cannot hold is
        // refused by the system, never cut short into another device's name.
        const std::size_t longestEscaped = std::string("ORB812MUTEX_").size() + 3 * id.size();
        CDeviceLock lock;
        try {
            lock.Create(CString(id));
            EXPECT_TRUE(lock.TryLockAll());
            ++created;
        } catch (const CResourceException&) {
            EXPECT_GT(longestEscaped, kLongestFileName) << "only an overlong name may be refused";
        }
    }
    EXPECT_GE(created, 9u);

    // Nothing beside the lock root; in it only the two namespace folders.
    const std::string local = "local-" + std::to_string(getuid());
    EXPECT_EQ(TempDirectory::List(bus.LockPath()), (std::vector<std::string>{"global", local}));
    std::set<std::string> names;
    for (const std::string& folder : {std::string("global"), local}) {
        for (const std::string& name : TempDirectory::List(bus.LockPath() + "/" + folder)) {
            EXPECT_TRUE(IsSafeName(name)) << folder << "/" << name;
            names.insert(folder + "/" + name);
        }
    }
    // Two device-independent names, and two per accepted id: none shared.
    EXPECT_EQ(names.size(), 2 + 2 * created);
}

// ---- End to end: devices with hostile instance ids on the bus.

using HostileDevices = MatrixFixture;

TEST_F(HostileDevices, ProgramWithTheirLockFilesEscapedInTheirFolders)
{
    const std::string local = "local-" + std::to_string(getuid());
    const struct {
        std::string id;
        std::string escaped;
    } devices[] = {
        {"..", ".."},  // "ORB812MUTEX_.." names no folder
        {"%41", "%2541"},
        {"\xC4\xD6\xDC", "%C4%D6%DC"},
        {"a\\b c", "a%5Cb%20c"},
    };
    for (const auto& device : devices) {
        SCOPED_TRACE(device.escaped);
        const std::string flash = SampleCopy();
        StartDevice({"--device-id=" + device.id});
        EXPECT_EQ(m_trelox.Run({flash}, kRunMs), 0) << m_trelox.Output();
        EXPECT_EQ(TempDirectory::List(m_locks), (std::vector<std::string>{"global", local}));
        EXPECT_EQ(TempDirectory::List(m_locks + "/global"), std::vector<std::string>{"ORB812MUTEX_" + device.escaped});
        const std::vector<std::string> localNames = TempDirectory::List(m_locks + "/" + local);
        EXPECT_NE(std::find(localNames.begin(), localNames.end(), "ORB812MUTEX_" + device.escaped), localNames.end());
        ExpectNothingLeftOpen(flash);
        m_devsim.Stop();
        // The next device's names are checked on their own.
        for (const std::string& folder : {std::string("global"), local}) {
            for (const std::string& name : TempDirectory::List(m_locks + "/" + folder)) {
                unlink((m_locks + "/" + folder + "/" + name).c_str());
            }
        }
    }
}

// ---- Flash files of hostile content against trelox-devsim.

using HostileFlashFiles = MatrixFixture;

TEST_F(HostileFlashFiles, ZeroAnd0xFFBytesAreSentAsTheyAre)
{
    StartDevice();
    const std::string zeros("S1\0\0AB\r\n", 8);
    const std::string flash = FlashFile(zeros + "\xFF\xFF" "S1\xFF\n" + "S9030000FC\r\n");
    EXPECT_EQ(m_trelox.Run({flash}, kRunMs), 0) << m_trelox.Output();
    EXPECT_EQ(m_devsim.LinesWith({"write len=6 hex=533100004142 "}).size(), 1u);
    EXPECT_EQ(m_devsim.LinesWith({"write len=5 hex=FFFF5331FF "}).size(), 1u);
    ExpectNothingLeftOpen(flash);
}

TEST_F(HostileFlashFiles, ALastLineWithoutLineEndIsARecord)
{
    StartDevice();
    const std::string flash = FlashFile("S9030000FC");
    EXPECT_EQ(m_trelox.Run({flash}, kRunMs), 0) << m_trelox.Output();
    EXPECT_EQ(RecordsReceived(), 1u);
    ExpectNothingLeftOpen(flash);
}

TEST_F(HostileFlashFiles, OnlyWhiteSpaceSendsNothingAndIsNotProgrammed)
{
    StartDevice();
    const std::string flash = FlashFile(" \t\r\n\x0B\x0C \n\n\r");
    EXPECT_EQ(m_trelox.Run({flash}, kRunMs), 5);
    EXPECT_THAT(m_trelox.Output(), HasSubstr(kNotProgrammed));
    EXPECT_THAT(m_trelox.Output(), Not(HasSubstr(kTransferError)));
    EXPECT_EQ(RecordsReceived(), 0u);
    ExpectNothingLeftOpen(flash);
}

// ---- A 100 MiB line, against a device of the test's own that takes any
// record without keeping a log of it.

class HugeLine : public ::testing::Test {
protected:
    HugeLine()
        : m_interface(std::string("\\\\?\\usb#vid_1234&pid_5678#HUGE") + PosixTestBus::kClassSuffix),
          m_trelox(m_bus.BusPath(), m_bus.LockPath(), m_bus.Root())
    {
        m_bus.CreateBus();
    }

    std::string WriteFile(const std::string& name, std::size_t fill, char byte, const std::string& tail) const
    {
        const std::string path = m_bus.Root() + "/" + name;
        std::ofstream file(path, std::ios::binary);
        const std::string block(1u << 20, byte);
        for (std::size_t written = 0; written < fill; written += block.size()) {
            file.write(block.data(), static_cast<std::streamsize>(std::min(block.size(), fill - written)));
        }
        file << tail;
        return path;
    }

    // Serves `records` records: each write taken whole, each answered 0x10 0x06.
    void ServeRecords(int records)
    {
        m_output = std::make_unique<PosixScriptedPipe>(m_bus.BusPath(), m_interface + "\\PIPE02");
        m_input = std::make_unique<PosixScriptedPipe>(m_bus.BusPath(), m_interface + "\\PIPE03");
        m_output->Serve([this, records](PosixScriptedPipe& pipe) {
            for (int i = 0; i < records; ++i) {
                const std::uint32_t length = pipe.ReadWord();
                const std::string record = pipe.ReadBytes(length);
                m_recordSizes.push_back(record.size());
                m_recordsAllX = m_recordsAllX && record.find_first_not_of('X') == std::string::npos;
                pipe.WriteWord(0);
                pipe.WriteWord(length);
            }
        });
        m_input->Serve([records](PosixScriptedPipe& pipe) {
            for (int i = 0; i < records; ++i) {
                EXPECT_EQ(pipe.ReadWord(), 10u);
                pipe.WriteWord(0);
                pipe.WriteWord(2);
                pipe.WriteBytes("\x10\x06");
            }
        });
        m_bus.PutMarker(m_interface);
    }

    PosixTestBus m_bus;
    std::string m_interface;
    InstrumentedTrelox m_trelox;
    std::unique_ptr<PosixScriptedPipe> m_output;
    std::unique_ptr<PosixScriptedPipe> m_input;
    std::vector<std::size_t> m_recordSizes;
    bool m_recordsAllX = true;
};

#if defined(__SANITIZE_ADDRESS__)
const bool kMemoryIsMeasurable = false;  // the sanitizer's own memory swamps the figures
#else
const bool kMemoryIsMeasurable = true;
#endif

TEST_F(HugeLine, IsOneRecordInOneWriteWithMemoryBoundedByIt)
{
    ServeRecords(1);
    const std::string flash = WriteFile("huge.s19", kHugeLine, 'X', "\r\n  \n");
    EXPECT_EQ(m_trelox.Run({flash}, kRunMs), 5) << m_trelox.Output();
    m_output->Join();
    m_input->Join();
    EXPECT_EQ(m_recordSizes, std::vector<std::size_t>{kHugeLine});
    EXPECT_TRUE(m_recordsAllX);
    EXPECT_THAT(m_trelox.Output(), HasSubstr("Keine Programmierung erfolgt!"));
    EXPECT_TRUE(m_trelox.LeftOpen(flash).empty());
    std::printf("100 MiB record: peak resident memory %ld KiB, %ld ms\n", m_trelox.MaxResidentKiB(),
                m_trelox.ElapsedMs());
    if (kMemoryIsMeasurable) {
        EXPECT_LT(m_trelox.MaxResidentKiB(), static_cast<long>(4 * kHugeLine / 1024 + 64 * 1024));
    }
}

TEST_F(HugeLine, OfWhiteSpaceAloneCostsNoMemory)
{
    ServeRecords(0);
    const std::string flash = WriteFile("blank.s19", kHugeLine, ' ', "\n\t\n");
    EXPECT_EQ(m_trelox.Run({flash}, kRunMs), 5) << m_trelox.Output();
    EXPECT_THAT(m_trelox.Output(), HasSubstr("Keine Programmierung erfolgt!"));
    std::printf("100 MiB of white space: peak resident memory %ld KiB\n", m_trelox.MaxResidentKiB());
    if (kMemoryIsMeasurable) {
        EXPECT_LT(m_trelox.MaxResidentKiB(), 64L * 1024);
    }
}

}  // namespace
