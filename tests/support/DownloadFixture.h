// A test fixture for the download and what shows it: the hooked fake
// platform with one device, in-memory windows with the program's templates,
// and a device object whose link is open and whose notice window exists.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "flash/DownloadReport.h"
#include "support/HookedFakePlatform.h"
#include "support/MemoryWindowSystem.h"
#include "usb/CUsbDevice.h"

class DownloadFixture : public ::testing::Test {
protected:
    static const char kDevicePath[];
    static const char kFlashFile[];
    static const std::string kAccepted;
    static const std::string kRefused;
    static const std::string kProgrammed;

    DownloadFixture();

    // The flash file's bytes.
    void WriteFlashFile(const std::string& bytes);
    // The device's replies to the next reads, one each.
    void ScriptReplies(std::initializer_list<std::string> replies);
    void ScriptReplies(const std::vector<std::string>& replies);
    // While the status window is shown, the device leaves and comes back.
    void DeviceCyclesWhileStatusShown();
    DownloadReport Download();

    // What the user saw and what the device got.
    std::vector<std::string> BoxTexts() const;
    std::vector<std::string> Sent() const;
    // The progress window's percentage texts, each change once, as seen at
    // every write and every message box.
    std::vector<std::string> PercentTexts() const { return m_percentTexts; }
    // The status window's state texts, in the order they were written.
    std::vector<std::string> StateTexts() const { return m_stateTexts; }
    int StatusWindowShowings() const { return m_statusShowings; }

    HookedFakePlatform platform;
    MemoryWindowSystem windows;
    CUsbDevice device;

private:
    void NotePercent();
    void NoteStateText();

    std::vector<std::string> m_percentTexts;
    std::vector<std::string> m_stateTexts;
    int m_statusShowings = 0;
    WindowHandle m_lastStatusWindow = nullptr;
};
