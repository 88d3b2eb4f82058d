// The device object's reactions to devices of the class leaving and coming
// back: only the device in use, or the one awaited after its programming,
// changes the link and the status window.
#include "usb/CUsbDevice.h"

#include "platform/CPlatform.h"
#include "ui/res/resource.h"

namespace {
// How long "Programmierung beendet." stays before the status window ends.
constexpr DWORD kFinishedTextMs = 1000;
}  // namespace

void CUsbDevice::CreateMessageWindow()
{
    if (!HasMessageWindow()) {
        // Without the window the program runs on, without notices.
        m_wndMessage.CreateFor(this);
    }
}

bool CUsbDevice::Concerns(const CString& noticePath, const CString& devicePath, bool arrival)
{
    if (devicePath.IsEmpty()) {
        return false;
    }
    if (noticePath.IsEmpty()) {
        return IsPresent(devicePath) == arrival;
    }
    return SamePath(noticePath, devicePath);
}

void CUsbDevice::AwaitReturn()
{
    m_strAwaitedPath = m_strInterfacePath;
}

void CUsbDevice::OnDeviceRemoval(const CString& interfacePath)
{
    // Another device of the class leaving must not cut the link to this one
    // in the middle of a download.
    if (!Concerns(interfacePath, IsOpen() ? m_strInterfacePath : m_strAwaitedPath, false)) {
        return;
    }
    Close();
    if (m_dlgFlashInfo.GetSafeHwnd() != nullptr) {
        m_dlgFlashInfo.SetDlgItemText(IDC_STATE_TEXT, "Programmierung l\xE4uft...");
    }
}

void CUsbDevice::OnDeviceArrival(const CString& interfacePath)
{
    if (!m_strAwaitedPath.IsEmpty()) {
        // Another device arriving is not the programmed one coming back: the
        // wait goes on rather than report a success that did not happen.
        if (!Concerns(interfacePath, m_strAwaitedPath, true)) {
            return;
        }
        OpenDevice(m_strAwaitedPath);
    } else {
        Open();
    }
    // Whether it opens or not, a shown status window ends: the next command
    // reports a link that stayed closed.
    if (m_dlgFlashInfo.GetSafeHwnd() != nullptr) {
        m_dlgFlashInfo.SetDlgItemText(IDC_STATE_TEXT, "Programmierung beendet.");
        // On the screen now: the pause takes no messages, painting among them.
        m_dlgFlashInfo.UpdateWindow();
        Platform().Sleep(kFinishedTextMs);
        m_dlgFlashInfo.EndDialog(IDOK);
    }
}
