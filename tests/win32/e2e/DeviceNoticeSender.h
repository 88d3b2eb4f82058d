// The system's word to Trelox.exe that the simulated device has gone or come
// back: WM_DEVICECHANGE with a device-interface record of the device's class,
// sent to the program's hidden window "TreloxMessageWindow".
#pragma once

#include "framework/win32/Win32UserApi.h"

#include <string>

namespace DeviceNoticeSender {

// The program's hidden window, waiting up to `timeoutMs` for it; null if none.
HWND FindMessageWindow(DWORD processId, DWORD timeoutMs);
// Sends the notice and returns when the program has handled it.
void SendArrival(HWND messageWindow, const std::string& interfacePath);
void SendRemoval(HWND messageWindow, const std::string& interfacePath);

}  // namespace DeviceNoticeSender
