// WM_DEVICECHANGE for the simulated device, sent to Trelox.exe.
#include "DeviceNoticeSender.h"

#include <cstddef>
#include <cstring>
#include <vector>

#include "WindowProbe.h"

namespace DeviceNoticeSender {
namespace {
const GUID kInterfaceClass = {0xC0558574, 0x212D, 0x4625, {0x88, 0x77, 0xFE, 0x9C, 0x2E, 0x8E, 0xD3, 0x96}};

void Send(HWND messageWindow, WPARAM event, const std::string& interfacePath)
{
    // The record holds the path after its fixed part, zero-terminated.
    const std::size_t fixed = offsetof(DEV_BROADCAST_DEVICEINTERFACE_A, dbcc_name);
    std::vector<char> bytes(fixed + interfacePath.size() + 1, '\0');
    auto* record = reinterpret_cast<DEV_BROADCAST_DEVICEINTERFACE_A*>(bytes.data());
    record->dbcc_size = static_cast<DWORD>(bytes.size());
    record->dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    record->dbcc_classguid = kInterfaceClass;
    std::memcpy(bytes.data() + fixed, interfacePath.c_str(), interfacePath.size() + 1);
    ::SendMessageA(messageWindow, WM_DEVICECHANGE, event, reinterpret_cast<LPARAM>(bytes.data()));
}

struct Search {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK FindHidden(HWND window, LPARAM context)
{
    auto* search = reinterpret_cast<Search*>(context);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId && WindowProbe::TextOf(window) == "TreloxMessageWindow") {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}
}  // namespace

HWND FindMessageWindow(DWORD processId, DWORD timeoutMs)
{
    Search search{processId, nullptr};
    WindowProbe::WaitUntil(
        [&] {
            ::EnumWindows(&FindHidden, reinterpret_cast<LPARAM>(&search));
            return search.found != nullptr;
        },
        timeoutMs);
    return search.found;
}

void SendArrival(HWND messageWindow, const std::string& interfacePath)
{
    Send(messageWindow, DBT_DEVICEARRIVAL, interfacePath);
}

void SendRemoval(HWND messageWindow, const std::string& interfacePath)
{
    Send(messageWindow, DBT_DEVICEREMOVECOMPLETE, interfacePath);
}

}  // namespace DeviceNoticeSender
