// The fixture of the program's runs against trelox-devsim.
#include "DevsimDownloadFixture.h"

#include <fstream>

#include <unistd.h>

#include "SampleRecords.h"
#include "TempDirectory.h"

const char DevsimDownloadFixture::kNotProgrammed[] =
    "Keine Programmierung erfolgt!\nFlash-Datei m\xC3\xB6glicherweise unvollst\xC3\xA4ndig!";
const char DevsimDownloadFixture::kTransferError[] = "\xC3\x9C" "bertragungsfehler in Zeile ";
const char DevsimDownloadFixture::kWaiting[] = "Warten auf Beginn der Programmierung";
const char DevsimDownloadFixture::kRunning[] = "Programmierung l\xC3\xA4uft...";
const char DevsimDownloadFixture::kFinished[] = "Programmierung beendet.";
const char DevsimDownloadFixture::kNoDevice[] = "USB-Schnittstelle konnte nicht ge\xC3\xB6" "ffnet werden!";
const char DevsimDownloadFixture::kLockPrompt[] = "Bitte Testsystem-Software schlie\xC3\x9F" "en!";
const char DevsimDownloadFixture::kGiveUpQuestion[] = "Wollen Sie wirklich abbrechen?";

DevsimDownloadFixture::DevsimDownloadFixture() : m_locks(m_temp.MakeSubdirectory("locks")) {}

void DevsimDownloadFixture::StartDevice(std::vector<std::string> options)
{
    options.insert(options.begin(), "--program-time=300");
    StartDevsim(options);
}

std::string DevsimDownloadFixture::SampleRecord(int number)
{
    static const std::vector<std::string> records = ReadSampleRecords();
    return records.at(static_cast<std::size_t>(number - 1));
}

int DevsimDownloadFixture::SampleRecordCount()
{
    static const std::vector<std::string> records = ReadSampleRecords();
    return static_cast<int>(records.size());
}

std::string DevsimDownloadFixture::FlashFile(const std::string& bytes, const std::string& name) const
{
    const std::string path = m_temp.File(name);
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

std::string DevsimDownloadFixture::SampleCopy() const
{
    return FlashFile(TempDirectory::Read(TRELOX_SAMPLE_FLASH), "firmware.s19");
}

std::size_t DevsimDownloadFixture::RecordsReceived() const
{
    return m_devsim.LinesWith({" record=", " send=1 "}).size();
}

std::vector<std::string> DevsimDownloadFixture::LockFiles(const std::string& instanceId) const
{
    const std::string local = m_locks + "/local-" + std::to_string(getuid()) + "/";
    return {local + "ORB812MUTEX", local + "ORB812MUTEX_" + instanceId, m_locks + "/global/ORB812MUTEX_" + instanceId,
            local + "ORB812SynchronizerMutex"};
}
