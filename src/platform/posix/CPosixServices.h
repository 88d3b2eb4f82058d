// The platform services that both Linux backends share: the last error, the
// handles, events and waits, named mutexes as lock files, flash files and the
// monotonic clock. A backend derives from it and adds its devices: their
// list, pipes, transfers and notices (the simulated bus in CPosixPlatform,
// real USB devices in CLibusbPlatform). Error codes are errno numbers, plus
// the Windows codes the callers name (ERROR_IO_PENDING, ERROR_IO_INCOMPLETE,
// ERROR_NO_MORE_ITEMS, ERROR_INSUFFICIENT_BUFFER, ERROR_OPERATION_ABORTED).
//
// Transfers and waits are meant for one thread at a time (the user-interface
// thread); the handle table itself may be used from any thread.
#pragma once

#include <cerrno>
#include <memory>
#include <string>
#include <vector>

#include "platform/CPlatform.h"
#include "platform/posix/CHandleTable.h"

class CPosixEvent;

class CPosixServices : public CPlatform {
public:
    DWORD GetLastError() override;
    void SetLastError(DWORD error) override;

    // Device lists are snapshots of interface paths, made by the backend's
    // GetClassDevs with AddDeviceList.
    BOOL EnumDeviceInterface(HANDLE list, const DeviceClassGuid& interfaceClass, DWORD index) override;
    BOOL GetDeviceInterfacePath(HANDLE list, DWORD index, char* path, DWORD recordSize,
                                DWORD* requiredSize) override;
    void DestroyDeviceInfoList(HANDLE list) override;

    // Closes any handle of the table; a pipe ends its transfers first.
    BOOL CloseHandle(HANDLE handle) override;

    HANDLE CreateEvent() override;
    // Events go to the backend's WaitForEvent, mutexes to their lock file.
    DWORD WaitForSingleObject(HANDLE object, DWORD milliseconds) override;

    HANDLE CreateMutex(const char* name) override;
    BOOL ReleaseMutex(HANDLE mutex) override;

    HANDLE OpenFileExclusive(const char* path) override;
    BOOL ReadFileBytes(HANDLE file, void* buffer, DWORD size, DWORD* read) override;
    BOOL GetFileSize(HANDLE file, std::uint64_t* size) override;

    DWORD GetTickCount() override;
    void Sleep(DWORD milliseconds) override;

    // Ends a registration that the backend's RegisterDeviceNotification made.
    BOOL UnregisterDeviceNotification(HANDLE registration) override;

    // The name it was started by is the program's name here, by convention
    // (a link may give it another): never told.
    bool GetModuleFileName(std::string* path) override;

protected:
    static constexpr DWORD kInfinite = 0xFFFFFFFF;

    // Waits until a transfer of this backend signals `event`: WAIT_OBJECT_0,
    // WAIT_TIMEOUT after `milliseconds`, or WAIT_FAILED with the last error
    // (EDEADLK for an endless wait that nothing can end). Only a transfer's
    // completion signals an event, so the wait is where the backend lets its
    // transfers go on.
    DWORD WaitForEvent(CPosixEvent& event, DWORD milliseconds);
    // Lets the backend's transfers go on as far as they can without waiting;
    // whether one is still under way that can signal `event`.
    virtual bool PollTransfers(CPosixEvent& event) = 0;
    // Waits until a transfer may have got on or `milliseconds` have passed
    // (-1: no limit), and lets it. It may return early (a signal, a failure
    // of the system's events after its pause): the caller looks again.
    virtual void WaitForTransfers(CPosixEvent& event, int milliseconds) = 0;

    // A device list handle for the interfaces at `paths`, in this order.
    HANDLE AddDeviceList(std::vector<std::string> paths);

    // The checks of a transfer's arguments that every backend makes: FALSE
    // with EINVAL without an overlapped record, or without bytes to write or
    // a buffer to read into when the count is not 0.
    BOOL CheckTransferArguments(bool isWrite, const void* bytes, const void* buffer, DWORD count,
                                const Overlapped* overlapped);
    // The event of `overlapped`, reset for a new transfer; null when it has
    // none of this table.
    std::shared_ptr<CPosixEvent> ResetEventOf(const Overlapped& overlapped);
    // What the transfer of `overlapped` came to: TRUE with its count, FALSE
    // with its error, or FALSE with `pendingError` while it still runs.
    BOOL TransferOutcome(const Overlapped& overlapped, DWORD* transferred, DWORD pendingError);
    // GetOverlappedResult and CancelTransfer on the backend's kind of pipe,
    // which awaits and cancels the transfer of an overlapped record.
    template <typename Pipe>
    BOOL PipeTransferResult(HANDLE pipe, Overlapped* overlapped, DWORD* transferred, BOOL wait);
    template <typename Pipe>
    void CancelPipeTransfer(HANDLE pipe, Overlapped* overlapped);
    // FALSE with `error` as the last error.
    BOOL Fail(DWORD error);

    CHandleTable m_handles;
};

template <typename Pipe>
BOOL CPosixServices::PipeTransferResult(HANDLE pipe, Overlapped* overlapped, DWORD* transferred, BOOL wait)
{
    const auto found = m_handles.Find<Pipe>(pipe);
    if (!found) {
        return Fail(EBADF);
    }
    if (overlapped == nullptr) {
        return Fail(EINVAL);
    }
    if (wait) {
        found->Await(overlapped);
    }
    return TransferOutcome(*overlapped, transferred, ERROR_IO_INCOMPLETE);
}

template <typename Pipe>
void CPosixServices::CancelPipeTransfer(HANDLE pipe, Overlapped* overlapped)
{
    const auto found = m_handles.Find<Pipe>(pipe);
    if (found && overlapped != nullptr) {
        found->Cancel(overlapped);
    }
}
