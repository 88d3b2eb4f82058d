// The fault matrix of the identity query: every fault trelox-devsim can script
// into a query, through the device object over the real POSIX platform. Each
// shows its exact message (or none), returns what it must, ends within the
// transfer time-outs, keeps the link in step for the next query, and leaves no
// descriptor open once the link is closed.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <vector>

#include <dirent.h>

#include "BusEnvironment.h"
#include "DevsimFixture.h"
#include "support/MemoryWindowSystem.h"
#include "usb/CUsbDevice.h"

namespace {

struct QueryFault {
    const char* name;
    const char* rule;
    bool received;          // QueryInfo's result
    std::string value;      // the value when received
    const char* message;    // the one message box; "" none; "{N}" any error code
    bool timesOut;
    bool linkStaysInStep;   // the next query gets its own reply
};

const std::string kPadded = "SIM0001" + std::string(57, '.');

const QueryFault kQueryFaults[] = {
    {"NoValue", "reply=", false, "", "", false, true},
    {"OtherBytes", "reply=41000D", true, std::string("A\0\r", 3), "", false, true},
    {"RefusalBytesAreAValue", "refuse", true, "\x10\x15", "", false, true},
    {"OverlongReplyKeeps64Bytes", "long=100", true, kPadded, "", false, true},
    {"SlowWrite", "stall-write=1000", true, "SIM0001", "", false, true},
    {"SlowRead", "stall-read=1000", true, "SIM0001", "", false, true},
    {"StalledWrite", "stall-write", false, "", "Timeout beim Schreiben", true, true},
    {"StalledRead", "stall-read", false, "", "Timeout beim Lesen", true, true},
    {"ShortWrite", "short=1", false, "", "Fehler {N} beim Schreiben (1 von 2 Bytes geschrieben)", false, true},
    {"WriteError", "write-error=31", false, "", "Fehler 31 beim Schreiben (0 von 2 Bytes geschrieben)", false, true},
    {"ReadError", "read-error=995", false, "", "Fehler 995 beim Lesen (0 von 64 Bytes gelesen)", false, true},
    {"DeviceLeaves", "leave", false, "", "Fehler 19 beim Schreiben (0 von 2 Bytes geschrieben)", false, false},
};

void PrintTo(const QueryFault& fault, std::ostream* out)
{
    *out << fault.rule;
}

int OpenDescriptors()
{
    int count = 0;
    DIR* directory = opendir("/proc/self/fd");
    while (directory != nullptr && readdir(directory) != nullptr) ++count;
    if (directory != nullptr) closedir(directory);
    return count;
}

bool MatchesWithAnyNumber(const std::string& text, const std::string& expected)
{
    const std::size_t hole = expected.find("{N}");
    if (hole == std::string::npos) return text == expected;
    const std::string after = expected.substr(hole + 3);
    if (text.compare(0, hole, expected, 0, hole) != 0 || text.size() < hole + after.size() + 1) return false;
    const std::size_t tail = text.size() - after.size();
    if (text.compare(tail, after.size(), after) != 0) return false;
    for (std::size_t at = hole; at < tail; ++at) {
        if (text[at] < '0' || text[at] > '9') return false;
    }
    return tail > hole;
}

class QueryFaultMatrix : public DevsimFixture, public ::testing::WithParamInterface<QueryFault> {
protected:
    QueryFaultMatrix() : m_locks(m_temp.File("locks")), m_environment(m_bus, m_locks) {}

    std::string m_locks;
    BusEnvironment m_environment;
    MemoryWindowSystem m_windows;
};

TEST_P(QueryFaultMatrix, ShowsItsMessageReturnsInTimeAndLeavesNothingOpen)
{
    const QueryFault& fault = GetParam();
    StartDevsim({std::string("--fault=query=S,") + fault.rule});
    const int descriptorsBefore = OpenDescriptors();
    {
        CUsbDevice device;
        ASSERT_EQ(0, device.Open());
        CString value("before");
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(device.QueryInfo('S', value), fault.received);
        const auto elapsedMs =
            std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
        EXPECT_EQ(value.Bytes(), fault.received ? fault.value : std::string("before"));

        const std::vector<MessageBoxRecord>& boxes = m_windows.MessageBoxes();
        if (fault.message[0] == '\0') {
            EXPECT_TRUE(boxes.empty());
        } else {
            ASSERT_EQ(boxes.size(), 1u);
            EXPECT_TRUE(MatchesWithAnyNumber(boxes[0].text.Bytes(), fault.message)) << boxes[0].text.GetString();
            EXPECT_EQ(boxes[0].type & 0x0F, 0u);  // OK only
        }
        if (fault.timesOut) {
            EXPECT_GE(elapsedMs, 5000);
            EXPECT_LE(elapsedMs, 7000);
        } else {
            EXPECT_LE(elapsedMs, 2500);
        }
        if (fault.linkStaysInStep) {
            CString product;
            EXPECT_TRUE(device.QueryInfo('P', product));
            EXPECT_EQ(product.Bytes(), "DEVSIM-1");
        }
        device.Close();
    }
    EXPECT_EQ(OpenDescriptors(), descriptorsBefore);
}

std::string FaultName(const ::testing::TestParamInfo<QueryFault>& fault)
{
    return fault.param.name;
}

INSTANTIATE_TEST_SUITE_P(QueryFaults, QueryFaultMatrix, ::testing::ValuesIn(kQueryFaults), FaultName);

}  // namespace
