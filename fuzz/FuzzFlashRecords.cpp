// Fuzz target: the flash file's records as the download's line reader takes
// them, against the file format written out plainly: a line ends after a line
// feed, the bytes 0x09 to 0x0D and 0x20 go from both ends, blank lines are
// skipped, the last line needs no line end; the position after each record
// counts every byte up to its line end. The system's reads deliver the file in
// pieces of a size the input chooses, and may fail part-way.
//
// Input: [piece size][fail after, in pieces; 0 never] file bytes...
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "flash/CFlashFileReader.h"
#include "support/FakePlatform.h"

namespace {

const char kPath[] = "/flash/fuzz.s19";

void Require(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "broken: %s\n", what);
        std::abort();
    }
}

// The fake platform with reads cut into pieces, like a pipe or a slow disk.
class PiecewiseFilePlatform : public FakePlatform {
public:
    explicit PiecewiseFilePlatform(DWORD pieceSize) : m_pieceSize(pieceSize) {}

    BOOL ReadFileBytes(HANDLE file, void* buffer, DWORD size, DWORD* read) override
    {
        return FakePlatform::ReadFileBytes(file, buffer, size < m_pieceSize ? size : m_pieceSize, read);
    }

private:
    DWORD m_pieceSize;
};

bool IsWhiteSpace(unsigned char byte)
{
    return (byte >= 0x09 && byte <= 0x0D) || byte == 0x20;
}

struct ExpectedRecord {
    std::string text;
    std::uint64_t position;  // through its line end
};

std::vector<ExpectedRecord> ExpectedRecords(const std::string& file)
{
    std::vector<ExpectedRecord> records;
    std::size_t start = 0;
    while (start < file.size()) {
        const std::size_t lineFeed = file.find('\n', start);
        const std::size_t end = lineFeed == std::string::npos ? file.size() : lineFeed;
        std::size_t first = start;
        std::size_t last = end;
        while (first < last && IsWhiteSpace(static_cast<unsigned char>(file[first]))) ++first;
        while (last > first && IsWhiteSpace(static_cast<unsigned char>(file[last - 1]))) --last;
        const std::size_t next = lineFeed == std::string::npos ? file.size() : lineFeed + 1;
        if (last > first) {
            records.push_back({file.substr(first, last - first), next});
        }
        start = next;
    }
    return records;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2) {
        return 0;
    }
    const DWORD pieceSize = data[0] == 0 ? 0xFFFFFFFF : data[0];
    const std::size_t failAfterPieces = data[1];
    const std::string file(reinterpret_cast<const char*>(data) + 2, size - 2);

    PiecewiseFilePlatform platform(pieceSize);
    platform.Install();
    platform.AddFile(kPath, file);
    const std::size_t failAt = failAfterPieces * (pieceSize == 0xFFFFFFFF ? file.size() : pieceSize);
    const bool fails = failAfterPieces != 0 && failAt < file.size();
    if (fails) {
        platform.FailFileReadAfter(kPath, failAt);
    }

    CFlashFileReader reader;
    Require(reader.Open(kPath), "the file opens");
    Require(reader.Size() == file.size(), "the file's size");
    const std::vector<ExpectedRecord> expected = ExpectedRecords(file);
    std::size_t taken = 0;
    for (;;) {
        CString record;
        const CFlashFileReader::Result result = reader.NextRecord(&record);
        if (result == CFlashFileReader::Result::ReadError) {
            Require(fails, "a read error only where the system failed");
            // Nothing the file does not hold, and nothing past the failure.
            Require(reader.Position() <= failAt, "no position past the failed read");
            break;
        }
        Require(result != CFlashFileReader::Result::TooLong, "no record of this size is too long");
        if (result == CFlashFileReader::Result::End) {
            Require(!fails || failAt >= file.size(), "the end only when the whole file was read");
            Require(taken == expected.size(), "every record, then the end");
            break;
        }
        Require(taken < expected.size(), "no record beyond the file's");
        Require(record.Bytes() == expected[taken].text, "the record's bytes");
        Require(reader.Position() == expected[taken].position, "the position through the record's line end");
        ++taken;
    }
    return 0;
}
