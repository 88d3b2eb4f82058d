// The fault matrix's fixture.
#include "MatrixFixture.h"

#include <fstream>
#include <iterator>

#include <unistd.h>

#include "InstrumentedTrelox.h"

const char MatrixFixture::kNotProgrammed[] =
    "Keine Programmierung erfolgt!\nFlash-Datei m\xC3\xB6glicherweise unvollst\xC3\xA4ndig!";
const char MatrixFixture::kTransferError[] = "\xC3\x9C" "bertragungsfehler in Zeile ";
const char MatrixFixture::kWaiting[] = "Warten auf Beginn der Programmierung";
const char MatrixFixture::kRunning[] = "Programmierung l\xC3\xA4uft...";
const char MatrixFixture::kFinished[] = "Programmierung beendet.";
const char MatrixFixture::kNoDevice[] = "USB-Schnittstelle konnte nicht ge\xC3\xB6" "ffnet werden!";
const char MatrixFixture::kLockPrompt[] = "Bitte Testsystem-Software schlie\xC3\x9F" "en!";
const char MatrixFixture::kGiveUpQuestion[] = "Wollen Sie wirklich abbrechen?";

namespace {

std::vector<std::string> ReadSampleRecords()
{
    std::vector<std::string> records;
    std::ifstream sample(TRELOX_SAMPLE_FLASH, std::ios::binary);
    for (std::string line; std::getline(sample, line);) {
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
        if (!line.empty()) records.push_back(line);
    }
    return records;
}

}  // namespace

MatrixFixture::MatrixFixture()
    : m_locks(m_temp.MakeSubdirectory("locks")), m_trelox(m_bus, m_locks, m_temp.Path())
{
}

void MatrixFixture::StartDevice(std::vector<std::string> options)
{
    options.insert(options.begin(), "--program-time=300");
    StartDevsim(options);
}

std::string MatrixFixture::SampleRecord(int number)
{
    static const std::vector<std::string> records = ReadSampleRecords();
    return records.at(static_cast<std::size_t>(number - 1));
}

int MatrixFixture::SampleRecordCount()
{
    static const std::vector<std::string> records = ReadSampleRecords();
    return static_cast<int>(records.size());
}

std::string MatrixFixture::FlashFile(const std::string& bytes, const std::string& name) const
{
    const std::string path = m_temp.File(name);
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

std::string MatrixFixture::SampleCopy() const
{
    std::ifstream sample(TRELOX_SAMPLE_FLASH, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(sample)), std::istreambuf_iterator<char>());
    return FlashFile(bytes, "firmware.s19");
}

std::size_t MatrixFixture::RecordsReceived() const
{
    return m_devsim.LinesWith({" record=", " send=1 "}).size();
}

std::vector<std::string> MatrixFixture::LockFiles(const std::string& instanceId) const
{
    const std::string local = m_locks + "/local-" + std::to_string(getuid()) + "/";
    return {local + "ORB812MUTEX", local + "ORB812MUTEX_" + instanceId, m_locks + "/global/ORB812MUTEX_" + instanceId,
            local + "ORB812SynchronizerMutex"};
}

void MatrixFixture::ExpectNothingLeftOpen(const std::string& flashFile) const
{
    EXPECT_FALSE(m_trelox.DescriptorsAtEnd().empty()) << "no report: the program did not end through exit";
    EXPECT_EQ(m_trelox.LeftOpen(flashFile), std::vector<std::string>());
}
