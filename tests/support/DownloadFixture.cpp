// The download fixture: one fake device, in-memory windows, a device object.
#include "support/DownloadFixture.h"

#include "ui/DialogTemplates.h"
#include "ui/res/resource.h"

const char DownloadFixture::kDevicePath[] =
    "\\\\?\\usb#vid_1234&pid_5678#ABC123#{c0558574-212d-4625-8877-fe9c2e8ed396}";
const char DownloadFixture::kFlashFile[] = "/flash/firmware.s19";
const std::string DownloadFixture::kAccepted("\x10\x06", 2);
const std::string DownloadFixture::kRefused("\x10\x15", 2);
const std::string DownloadFixture::kProgrammed("\x10\x04", 2);

DownloadFixture::DownloadFixture()
{
    platform.Install();
    platform.AddDevice(kDevicePath);
    RegisterDialogTemplates();
    device.CreateMessageWindow();
    EXPECT_EQ(0, device.Open());
    platform.onWrite = [this](const std::string&) { NotePercent(); };
    windows.SetMessageBoxHook([this](const MessageBoxRecord& box) {
        NotePercent();
        return (box.type & MB_TYPEMASK) == MB_OK ? IDOK : IDCANCEL;
    });
}

void DownloadFixture::NotePercent()
{
    const WindowHandle progress = windows.FindDialog(IDD_PROGRESS_DIALOG);
    if (progress == nullptr) {
        return;
    }
    const std::string text = windows.Text(progress, IDC_PERCENT).Bytes();
    if (text != "Prozent" && (m_percentTexts.empty() || m_percentTexts.back() != text)) {
        m_percentTexts.push_back(text);
    }
}

void DownloadFixture::WriteFlashFile(const std::string& bytes)
{
    platform.AddFile(kFlashFile, bytes);
}

void DownloadFixture::ScriptReplies(std::initializer_list<std::string> replies)
{
    ScriptReplies(std::vector<std::string>(replies));
}

void DownloadFixture::ScriptReplies(const std::vector<std::string>& replies)
{
    for (const std::string& reply : replies) {
        platform.ScriptRead(kDevicePath, FakeTransfer::Reply(reply));
    }
}

void DownloadFixture::NoteStateText()
{
    const WindowHandle status = windows.FindDialog(IDD_FLASHINFO_DIALOG);
    if (status == nullptr) {
        return;
    }
    if (status != m_lastStatusWindow) {
        m_lastStatusWindow = status;
        ++m_statusShowings;
    }
    const std::string text = windows.Text(status, IDC_STATE_TEXT).Bytes();
    if (m_stateTexts.empty() || m_stateTexts.back() != text) {
        m_stateTexts.push_back(text);
    }
}

void DownloadFixture::DeviceCyclesWhileStatusShown()
{
    // Each idle turn of the status window is one step of the device's leave.
    windows.SetIdleHook([this] {
        NoteStateText();
        const std::string& state = m_stateTexts.empty() ? std::string() : m_stateTexts.back();
        if (state == "Warten auf Beginn der Programmierung") {
            platform.RemoveDevice(kDevicePath);
        } else if (state == "Programmierung l\xE4uft...") {
            platform.ArriveDevice(kDevicePath);
        }
        return windows.FindDialog(IDD_FLASHINFO_DIALOG) != nullptr;
    });
    platform.onSleep = [this](DWORD) { NoteStateText(); };
}

DownloadReport DownloadFixture::Download()
{
    return device.DownloadFlashFile(kFlashFile);
}

std::vector<std::string> DownloadFixture::BoxTexts() const
{
    std::vector<std::string> texts;
    for (const MessageBoxRecord& box : windows.MessageBoxes()) {
        texts.push_back(box.text.Bytes());
    }
    return texts;
}

std::vector<std::string> DownloadFixture::Sent() const
{
    return platform.Writes(kDevicePath);
}
