// The flash file read record by record: line ends, white space, blank
// lines, the file position of each record, lines across read chunks, and a
// file that fails to be read.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "flash/CFlashFileReader.h"
#include "support/FakePlatform.h"

namespace {
const char kPath[] = "/flash/file.s19";

class FlashFileReader : public ::testing::Test {
protected:
    FlashFileReader() { m_platform.Install(); }

    // Every record with the file position after it.
    std::vector<std::pair<std::string, std::uint64_t>> ReadAll(const std::string& bytes)
    {
        m_platform.AddFile(kPath, bytes);
        EXPECT_TRUE(m_reader.Open(kPath));
        std::vector<std::pair<std::string, std::uint64_t>> records;
        CString record;
        while (m_reader.NextRecord(&record) == CFlashFileReader::Result::Record) {
            records.emplace_back(record.Bytes(), m_reader.Position());
        }
        return records;
    }

    std::vector<std::string> Records(const std::string& bytes)
    {
        std::vector<std::string> texts;
        for (const auto& record : ReadAll(bytes)) {
            texts.push_back(record.first);
        }
        return texts;
    }

    FakePlatform m_platform;
    CFlashFileReader m_reader;
};

TEST_F(FlashFileReader, CrLfAndLfGiveTheSameRecordsAndTheLastLineNeedsNoEnd)
{
    const std::vector<std::string> expected{"S0 head", "S1 data", "S9 end"};
    EXPECT_EQ(Records("S0 head\r\nS1 data\r\nS9 end\r\n"), expected);
    EXPECT_EQ(Records("S0 head\nS1 data\nS9 end\n"), expected);
    EXPECT_EQ(Records("S0 head\nS1 data\r\nS9 end"), expected);
}

TEST_F(FlashFileReader, WhiteSpaceIsStrippedAtBothEndsAndKeptInside)
{
    EXPECT_EQ(Records(" \t S1 a\tb  c \x0B\x0C\r\n"), std::vector<std::string>{"S1 a\tb  c"});
    // A lone carriage return is white space, not a line end.
    EXPECT_EQ(Records("S1 a\rS1 b\n"), std::vector<std::string>{"S1 a\rS1 b"});
}

TEST_F(FlashFileReader, BlankLinesAreSkippedAndOtherBytesAreRecords)
{
    EXPECT_EQ(Records("\n\r\n \t\n\x1A\n\x01\n\n"), (std::vector<std::string>{"\x1A", "\x01"}));
    EXPECT_TRUE(Records("").empty());
    EXPECT_TRUE(Records(" \r\n\t\r\n \x0B").empty());
}

TEST_F(FlashFileReader, ThePositionCountsEveryByteThroughTheRecordsLineEnd)
{
    const auto records = ReadAll("\r\n  \nS1 a\r\n\nS1 b\nS9");
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[0].second, 11u);
    EXPECT_EQ(records[1].second, 17u);
    EXPECT_EQ(records[2].second, 19u);
    EXPECT_EQ(m_reader.Size(), 19u);
}

TEST_F(FlashFileReader, LinesLongerThanAReadChunkComeWhole)
{
    const std::string longRecord(CFlashFileReader::kChunkBytes * 2 + 17, 'A');
    const std::string blanks(CFlashFileReader::kChunkBytes + 3, ' ');
    EXPECT_EQ(Records(blanks + longRecord + blanks + "\n" + blanks + "\nS9\n"),
              (std::vector<std::string>{longRecord, "S9"}));
}

TEST_F(FlashFileReader, AFailedReadIsReportedAfterTheRecordsBeforeIt)
{
    m_platform.AddFile(kPath, "S1 a\nS1 b\nS1 c\n");
    m_platform.FailFileReadAfter(kPath, 7);
    ASSERT_TRUE(m_reader.Open(kPath));
    CString record;
    EXPECT_EQ(m_reader.NextRecord(&record), CFlashFileReader::Result::Record);
    EXPECT_EQ(record, "S1 a");
    EXPECT_EQ(m_reader.NextRecord(&record), CFlashFileReader::Result::ReadError);
    EXPECT_EQ(m_reader.LastError(), FakePlatform::kErrorReadFault);
}
}  // namespace
