// The platform services on Win32: SetupDi for the device list, overlapped
// file I/O on the pipes, named mutexes and window-message device notices.
#pragma once

#include "platform/win32/Win32Api.h"

#include <map>

#include "platform/CPlatform.h"

class CWin32Platform : public CPlatform {
public:
    DWORD GetLastError() override;
    void SetLastError(DWORD error) override;

    HANDLE GetClassDevs(const DeviceClassGuid& interfaceClass) override;
    BOOL EnumDeviceInterface(HANDLE list, const DeviceClassGuid& interfaceClass, DWORD index) override;
    BOOL GetDeviceInterfacePath(HANDLE list, DWORD index, char* path, DWORD recordSize,
                                DWORD* requiredSize) override;
    void DestroyDeviceInfoList(HANDLE list) override;

    HANDLE OpenPipe(const char* pipePath, PipeAccess access) override;
    BOOL CloseHandle(HANDLE handle) override;

    HANDLE CreateEvent() override;
    BOOL WriteFile(HANDLE pipe, const void* bytes, DWORD count, DWORD* transferred,
                   Overlapped* overlapped) override;
    BOOL ReadFile(HANDLE pipe, void* buffer, DWORD size, DWORD* transferred, Overlapped* overlapped) override;
    DWORD WaitForSingleObject(HANDLE object, DWORD milliseconds) override;
    BOOL GetOverlappedResult(HANDLE pipe, Overlapped* overlapped, DWORD* transferred, BOOL wait) override;
    void CancelTransfer(HANDLE pipe, Overlapped* overlapped) override;

    HANDLE CreateMutex(const char* name) override;
    BOOL ReleaseMutex(HANDLE mutex) override;

    HANDLE OpenFileExclusive(const char* path) override;
    BOOL ReadFileBytes(HANDLE file, void* buffer, DWORD size, DWORD* read) override;
    BOOL GetFileSize(HANDLE file, std::uint64_t* size) override;

    DWORD GetTickCount() override;
    void Sleep(DWORD milliseconds) override;

    HANDLE RegisterDeviceNotification(WindowHandle window, const DevBroadcastDeviceInterface& filter) override;
    BOOL UnregisterDeviceNotification(HANDLE registration) override;
    int DeviceNoticeDescriptor() override;
    bool TakeDeviceNotice(DeviceNotice* notice) override;

    bool GetModuleFileName(std::string* path) override;

private:
    // The interface class each open device list was made for: the system
    // needs it again to find an interface by index when its path is asked for.
    std::map<HANDLE, GUID> m_listClasses;
};
