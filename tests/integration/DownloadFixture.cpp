// The fixture of the program's runs against trelox-devsim.
#include "DownloadFixture.h"

#include <fstream>

#include <unistd.h>

#include "SampleRecords.h"
#include "TempDirectory.h"

const char DownloadFixture::kNotProgrammed[] =
    "Keine Programmierung erfolgt!\nFlash-Datei m\xC3\xB6glicherweise unvollst\xC3\xA4ndig!";
const char DownloadFixture::kTransferError[] = "\xC3\x9C" "bertragungsfehler in Zeile ";
const char DownloadFixture::kWaiting[] = "Warten auf Beginn der Programmierung";
const char DownloadFixture::kRunning[] = "Programmierung l\xC3\xA4uft...";
const char DownloadFixture::kFinished[] = "Programmierung beendet.";
const char DownloadFixture::kNoDevice[] = "USB-Schnittstelle konnte nicht ge\xC3\xB6" "ffnet werden!";
const char DownloadFixture::kLockPrompt[] = "Bitte Testsystem-Software schlie\xC3\x9F" "en!";
const char DownloadFixture::kGiveUpQuestion[] = "Wollen Sie wirklich abbrechen?";

DownloadFixture::DownloadFixture() : m_locks(m_temp.MakeSubdirectory("locks")) {}

void DownloadFixture::StartDevice(std::vector<std::string> options)
{
    options.insert(options.begin(), "--program-time=300");
    StartDevsim(options);
}

std::string DownloadFixture::SampleRecord(int number)
{
    static const std::vector<std::string> records = ReadSampleRecords();
    return records.at(static_cast<std::size_t>(number - 1));
}

int DownloadFixture::SampleRecordCount()
{
    static const std::vector<std::string> records = ReadSampleRecords();
    return static_cast<int>(records.size());
}

std::string DownloadFixture::FlashFile(const std::string& bytes, const std::string& name) const
{
    const std::string path = m_temp.File(name);
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

std::string DownloadFixture::SampleCopy() const
{
    return FlashFile(TempDirectory::Read(TRELOX_SAMPLE_FLASH), "firmware.s19");
}

std::size_t DownloadFixture::RecordsReceived() const
{
    return m_devsim.LinesWith({" record=", " send=1 "}).size();
}

std::vector<std::string> DownloadFixture::LockFiles(const std::string& instanceId) const
{
    const std::string local = m_locks + "/local-" + std::to_string(getuid()) + "/";
    return {local + "ORB812MUTEX", local + "ORB812MUTEX_" + instanceId, m_locks + "/global/ORB812MUTEX_" + instanceId,
            local + "ORB812SynchronizerMutex"};
}
