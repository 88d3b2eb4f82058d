// The device object's reactions to the device leaving and coming back.
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

void CUsbDevice::OnDeviceRemoval()
{
    Close();
    if (m_dlgFlashInfo.GetSafeHwnd() != nullptr) {
        m_dlgFlashInfo.SetDlgItemText(IDC_STATE_TEXT, "Programmierung l\xE4uft...");
    }
}

void CUsbDevice::OnDeviceArrival()
{
    // Whether it opens or not, a shown status window ends: the next command
    // reports a link that stayed closed.
    Open();
    if (m_dlgFlashInfo.GetSafeHwnd() != nullptr) {
        m_dlgFlashInfo.SetDlgItemText(IDC_STATE_TEXT, "Programmierung beendet.");
        // On the screen now: the pause takes no messages, painting among them.
        m_dlgFlashInfo.UpdateWindow();
        Platform().Sleep(kFinishedTextMs);
        m_dlgFlashInfo.EndDialog(IDOK);
    }
}
