// Fixture of the runs of the program against trelox-devsim on a private bus,
// with a private lock directory: the messages as the terminal shows them, the
// device, flash files, and what the device received.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "DevsimFixture.h"

class DevsimDownloadFixture : public DevsimFixture {
protected:
    DevsimDownloadFixture();

    // The messages as the terminal shows them, in UTF-8.
    static const char kNotProgrammed[];
    static const char kTransferError[];
    static const char kWaiting[];
    static const char kRunning[];
    static const char kFinished[];
    static const char kNoDevice[];
    static const char kLockPrompt[];
    static const char kGiveUpQuestion[];

    // A device that comes back quickly after the programming report; it leaves
    // as late as a real one (300 ms), so that the status window is up by then.
    void StartDevice(std::vector<std::string> options = {});
    // The records of the sample firmware, as the download sends them (1-based).
    static std::string SampleRecord(int number);
    static int SampleRecordCount();
    std::string FlashFile(const std::string& bytes, const std::string& name = "flash.s19") const;
    // A copy of the sample firmware of this test's own: the program opens its
    // flash file exclusively, and tests run side by side.
    std::string SampleCopy() const;
    // Records the device received, each counted once over its repeats.
    std::size_t RecordsReceived() const;
    // The four lock files of the device `instanceId`, in slot order.
    std::vector<std::string> LockFiles(const std::string& instanceId = "SIM0001") const;

    std::string m_locks;
};
