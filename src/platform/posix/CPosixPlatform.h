// The platform services on Linux with the simulated USB bus: device lists,
// pipes, transfers and notices of the bus's devices, on top of the services
// both Linux backends share (lock files, files, the clock).
#pragma once

#include "platform/posix/CDeviceWatch.h"
#include "platform/posix/CPosixServices.h"

class CPosixPlatform : public CPosixServices {
public:
    CPosixPlatform() = default;
    // Closes every handle while the watch its registrations use still exists.
    ~CPosixPlatform() override;

    HANDLE GetClassDevs(const DeviceClassGuid& interfaceClass) override;

    HANDLE OpenPipe(const char* pipePath, PipeAccess access) override;

    BOOL WriteFile(HANDLE pipe, const void* bytes, DWORD count, DWORD* transferred, Overlapped* overlapped) override;
    BOOL ReadFile(HANDLE pipe, void* buffer, DWORD size, DWORD* transferred, Overlapped* overlapped) override;
    BOOL GetOverlappedResult(HANDLE pipe, Overlapped* overlapped, DWORD* transferred, BOOL wait) override;
    void CancelTransfer(HANDLE pipe, Overlapped* overlapped) override;

    HANDLE RegisterDeviceNotification(WindowHandle window, const DevBroadcastDeviceInterface& filter) override;
    int DeviceNoticeDescriptor() override;
    bool TakeDeviceNotice(DeviceNotice* notice) override;

protected:
    // The bus moves a transfer's bytes when its event is waited for.
    bool PollTransfers(CPosixEvent& event) override;
    void WaitForTransfers(CPosixEvent& event, int milliseconds) override;

private:
    // Starts a write or read; the common part of WriteFile and ReadFile.
    BOOL StartTransfer(HANDLE pipe, PipeAccess direction, const void* bytes, void* buffer, DWORD count,
                       DWORD* transferred, Overlapped* overlapped);

    CDeviceWatch m_deviceWatch;
};
