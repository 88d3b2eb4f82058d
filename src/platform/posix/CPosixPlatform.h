// The platform services on Linux: the simulated USB bus for device lists,
// pipes and notices, lock files for named mutexes, and the plain file and
// clock services. Error codes are errno numbers, plus the Windows codes the
// callers name (ERROR_IO_PENDING, ERROR_NO_MORE_ITEMS,
// ERROR_INSUFFICIENT_BUFFER, ERROR_OPERATION_ABORTED).
//
// Transfers and waits are meant for one thread at a time (the user-interface
// thread); the handle table itself may be used from any thread.
#pragma once

#include "../CPlatform.h"
#include "CDeviceWatch.h"
#include "CHandleTable.h"

class CPosixEvent;

class CPosixPlatform : public CPlatform {
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
    BOOL WriteFile(HANDLE pipe, const void* bytes, DWORD count, DWORD* transferred, Overlapped* overlapped) override;
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

    // The name it was started by is the program's name here, by convention
    // (a link may give it another): never told.
    bool GetModuleFileName(std::string* path) override;

private:
    // Starts a write or read; the common part of WriteFile and ReadFile.
    BOOL StartTransfer(HANDLE pipe, PipeAccess direction, const void* bytes, void* buffer, DWORD count,
                       DWORD* transferred, Overlapped* overlapped);
    // What the transfer of `overlapped` came to: TRUE with its count, FALSE
    // with its error, or FALSE with `pendingError` while it still runs.
    BOOL TransferOutcome(const Overlapped& overlapped, DWORD* transferred, DWORD pendingError);
    DWORD WaitForEvent(CPosixEvent& event, DWORD milliseconds);
    // FALSE with `error` as the last error.
    BOOL Fail(DWORD error);

    // Declared before the table: registrations in the table unregister from
    // the watch when the table goes.
    CDeviceWatch m_deviceWatch;
    CHandleTable m_handles;
};
