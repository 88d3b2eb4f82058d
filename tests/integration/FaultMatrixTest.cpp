// The fault matrix: every fault trelox-devsim can script into a record's
// exchange, at the first, a middle and the last record of the sample firmware,
// run through the program in direct mode. Each ending shows the exact
// messages, ends with its exit status within the transfer time-outs, sends
// nothing after the failed record, and leaves no pipe, lock file or flash file
// open.
#include <gtest/gtest.h>
#include <gmock/gmock.h>

#include <string>
#include <vector>

#include "LockHolderProcess.h"
#include "MatrixFixture.h"

using ::testing::HasSubstr;
using ::testing::Not;

namespace {

const int kRunMs = 30000;
const long kTimeoutMs = 5000;       // the transfer time-out the program keeps
const long kQuickEndMs = 8000;      // start, download, and the device's programming phase
const long kTimedOutEndMs = 12000;  // the same with one transfer time-out

struct RecordFault {
    const char* name;
    const char* rule;     // the fault rule's action
    const char* message;  // the error's text; "{L}" the record's length, "{N}" any error code; "" none
    int exitStatus;
    bool timesOut;
};

const RecordFault kRecordFaults[] = {
    {"RefusedOnce", "refuse", "", 0, false},
    {"RefusedThreeTimes", "refuse=3", "Kein Acknowledge (3 Versuche)", 5, false},
    {"GarbageReply", "reply=4142", "Fehlerhafte Antwortdaten (2 Byte {41 42})", 5, false},
    {"EmptyReply", "reply=", "Keine Antwortdaten erhalten", 5, false},
    {"OverlongReply", "long=20", "Fehlerhafte Antwortdaten (10 Byte {10 {ACK} 2E 2E 2E 2E 2E 2E 2E 2E})", 5, false},
    {"SlowWrite", "stall-write=1000", "", 0, false},
    {"SlowRead", "stall-read=1000", "", 0, false},
    {"StalledWrite", "stall-write", "Timeout beim Schreiben", 5, true},
    {"StalledRead", "stall-read", "Timeout beim Lesen", 5, true},
    {"ShortWrite", "short=3", "Fehler {N} beim Schreiben (3 von {L} Bytes geschrieben)", 5, false},
    {"WriteError", "write-error=31", "Fehler 31 beim Schreiben (0 von {L} Bytes geschrieben)", 5, false},
    {"ReadError", "read-error=995", "Fehler 995 beim Lesen (0 von 10 Bytes gelesen)", 5, false},
    {"DeviceLeaves", "leave", "Fehler 19 beim Schreiben (0 von {L} Bytes geschrieben)", 5, false},
    {"DeviceLeavesAndReturns", "leave=300", "Fehler 19 beim Schreiben (0 von {L} Bytes geschrieben)", 5, false},
};

struct MatrixCase {
    RecordFault fault;
    int record;
};

void PrintTo(const MatrixCase& matrixCase, std::ostream* out)
{
    *out << matrixCase.fault.rule << " at record " << matrixCase.record;
}

std::string Replace(std::string text, const std::string& placeholder, const std::string& value)
{
    const std::size_t at = text.find(placeholder);
    return at == std::string::npos ? text : text.replace(at, placeholder.size(), value);
}

// Whether `text` holds `expected`, where "{N}" in it stands for any number.
bool ContainsWithAnyNumber(const std::string& text, const std::string& expected)
{
    const std::size_t hole = expected.find("{N}");
    if (hole == std::string::npos) return text.find(expected) != std::string::npos;
    const std::string before = expected.substr(0, hole);
    const std::string after = expected.substr(hole + 3);
    for (std::size_t at = text.find(before); at != std::string::npos; at = text.find(before, at + 1)) {
        std::size_t digits = at + before.size();
        while (digits < text.size() && text[digits] >= '0' && text[digits] <= '9') ++digits;
        if (digits > at + before.size() && text.compare(digits, after.size(), after) == 0) return true;
    }
    return false;
}

class FaultMatrix : public MatrixFixture, public ::testing::WithParamInterface<MatrixCase> {};

TEST_P(FaultMatrix, EndsWithItsMessageAndStatusInTimeWithNothingLeftOpen)
{
    const std::string flash = SampleCopy();
    const RecordFault& fault = GetParam().fault;
    const int record = GetParam().record;
    const bool last = record == SampleRecordCount();
    StartDevice({"--fault=record=" + std::to_string(record) + "," + fault.rule});

    EXPECT_EQ(m_trelox.Run({flash}, kRunMs), fault.exitStatus) << m_trelox.Output();
    const std::string output = m_trelox.Output();
    const std::string recordText = SampleRecord(record);
    if (fault.message[0] != '\0') {
        std::string message = Replace(fault.message, "{L}", std::to_string(recordText.size()));
        message = Replace(message, "{ACK}", last ? "04" : "06");
        const std::string shown = kTransferError + std::to_string(record) + "\n(\"" + recordText + "\")\n" + message;
        EXPECT_TRUE(ContainsWithAnyNumber(output, shown)) << "expected:\n" << shown << "\nin:\n" << output;
        EXPECT_THAT(output, HasSubstr(kNotProgrammed));
        EXPECT_LT(output.find(kTransferError), output.find(kNotProgrammed));
        EXPECT_THAT(output, Not(HasSubstr(kWaiting)));
        // Nothing is retried after an error, and the rest of the file is not sent.
        EXPECT_EQ(RecordsReceived(), static_cast<std::size_t>(record));
    } else {
        EXPECT_THAT(output, HasSubstr(kFinished));
        EXPECT_THAT(output, Not(HasSubstr(kTransferError)));
        EXPECT_THAT(output, Not(HasSubstr(kNotProgrammed)));
        EXPECT_EQ(RecordsReceived(), static_cast<std::size_t>(SampleRecordCount()));
    }
    if (fault.timesOut) {
        EXPECT_GE(m_trelox.ElapsedMs(), kTimeoutMs);
        EXPECT_LE(m_trelox.ElapsedMs(), kTimedOutEndMs);
    } else {
        EXPECT_LE(m_trelox.ElapsedMs(), kQuickEndMs);
    }
    ExpectNothingLeftOpen(flash);
}

std::vector<MatrixCase> AllCases()
{
    std::vector<MatrixCase> cases;
    for (const RecordFault& fault : kRecordFaults) {
        for (int record : {1, 20, 42}) cases.push_back({fault, record});
    }
    return cases;
}

std::string CaseName(const ::testing::TestParamInfo<MatrixCase>& info)
{
    return std::string(info.param.fault.name) + "AtRecord" + std::to_string(info.param.record);
}

INSTANTIATE_TEST_SUITE_P(RecordFaults, FaultMatrix, ::testing::ValuesIn(AllCases()), CaseName);

// ---- Outside the records: the pipes at opening, and the programming phase.

using FaultMatrixPhases = MatrixFixture;

TEST_F(FaultMatrixPhases, ARefusedPipeMeansNoDeviceWhicheverPipeItIs)
{
    const std::string flash = SampleCopy();
    for (const char* pipe : {"02", "03"}) {
        SCOPED_TRACE(pipe);
        StartDevice({std::string("--refuse-pipe=") + pipe});
        EXPECT_EQ(m_trelox.Run({flash}, kRunMs), 2);
        EXPECT_THAT(m_trelox.Output(), HasSubstr(kNoDevice));
        EXPECT_THAT(m_trelox.Output(), Not(HasSubstr("Download")));
        EXPECT_LE(m_trelox.ElapsedMs(), kQuickEndMs);
        ExpectNothingLeftOpen(flash);
        m_devsim.Stop();
    }
}

TEST_F(FaultMatrixPhases, TheDeviceLeavingAndReturningEndsTheStatusWindowWithStatus0)
{
    const std::string flash = SampleCopy();
    StartDevice();
    EXPECT_EQ(m_trelox.Run({flash}, kRunMs), 0) << m_trelox.Output();
    const std::string output = m_trelox.Output();
    EXPECT_LT(output.find(kWaiting), output.find(kRunning));
    EXPECT_LT(output.find(kRunning), output.find(kFinished));
    EXPECT_LE(m_trelox.ElapsedMs(), kQuickEndMs);
    ExpectNothingLeftOpen(flash);
}

TEST_F(FaultMatrixPhases, AnArrivalWithoutARemovalAlsoEndsTheStatusWindow)
{
    const std::string flash = SampleCopy();
    StartDevice({"--after-report=rearrive"});
    EXPECT_EQ(m_trelox.Run({flash}, kRunMs), 0) << m_trelox.Output();
    EXPECT_THAT(m_trelox.Output(), HasSubstr(kFinished));
    EXPECT_THAT(m_trelox.Output(), Not(HasSubstr(kRunning)));
    EXPECT_LE(m_trelox.ElapsedMs(), kQuickEndMs);
    ExpectNothingLeftOpen(flash);
}

TEST_F(FaultMatrixPhases, ADeviceThatNeverReturnsKeepsTheLockUntilTheWaitIsGivenUp)
{
    const std::string flash = SampleCopy();
    StartDevice({"--after-report=gone"});
    ASSERT_TRUE(m_trelox.Start({flash}));
    ASSERT_TRUE(m_devsim.WaitForLine({"leave reason=programming"}, kWaitMs));
    // The status window has no time-out of its own: it waits for the user.
    EXPECT_TRUE(BusEmptiesWithin(kWaitMs));
    for (const std::string& lockFile : LockFiles()) {
        EXPECT_FALSE(LockHolderProcess::IsFree(lockFile)) << lockFile << " is not held through the programming phase";
    }
    EXPECT_TRUE(m_trelox.Running());
    m_trelox.Interrupt();
    EXPECT_EQ(m_trelox.Wait(kRunMs), 6);
    EXPECT_THAT(m_trelox.Output(), HasSubstr(kRunning));
    EXPECT_THAT(m_trelox.Output(), HasSubstr(kGiveUpQuestion));
    ExpectNothingLeftOpen(flash);
}

}  // namespace
