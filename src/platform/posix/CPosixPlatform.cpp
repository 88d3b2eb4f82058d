// The platform services on Linux with the simulated USB bus: its device
// lists, pipes, transfers and notices.
#include "platform/posix/CPosixPlatform.h"

#include <cerrno>

#include "platform/DeviceInterfaceClass.h"
#include "platform/posix/CBusDirectory.h"
#include "platform/posix/CBusPipe.h"
#include "platform/posix/CDeviceNoticeRegistration.h"
#include "platform/posix/CPosixEvent.h"

CPosixPlatform::~CPosixPlatform()
{
    m_handles.CloseAll();
}

// ---- Device lists.

HANDLE CPosixPlatform::GetClassDevs(const DeviceClassGuid& interfaceClass)
{
    std::vector<std::string> paths;
    // The bus carries one class; any other has no devices present.
    if (IsDeviceInterfaceClass(interfaceClass)) {
        const int error = CBusDirectory().ListMarkers(&paths);
        if (error != 0) {
            SetLastError(static_cast<DWORD>(error));
            return INVALID_HANDLE_VALUE;
        }
    }
    return AddDeviceList(std::move(paths));
}

// ---- Pipes.

HANDLE CPosixPlatform::OpenPipe(const char* pipePath, PipeAccess access)
{
    if (pipePath == nullptr) {
        SetLastError(EINVAL);
        return INVALID_HANDLE_VALUE;
    }
    int socketFd = -1;
    const int error = CBusDirectory().ConnectPipe(pipePath, &socketFd);
    if (error != 0) {
        SetLastError(static_cast<DWORD>(error));
        return INVALID_HANDLE_VALUE;
    }
    return m_handles.Add(std::make_shared<CBusPipe>(socketFd, access));
}

// ---- Transfers.

BOOL CPosixPlatform::WriteFile(HANDLE pipe, const void* bytes, DWORD count, DWORD* transferred,
                               Overlapped* overlapped)
{
    return StartTransfer(pipe, PipeAccess::Write, bytes, nullptr, count, transferred, overlapped);
}

BOOL CPosixPlatform::ReadFile(HANDLE pipe, void* buffer, DWORD size, DWORD* transferred, Overlapped* overlapped)
{
    return StartTransfer(pipe, PipeAccess::Read, nullptr, buffer, size, transferred, overlapped);
}

BOOL CPosixPlatform::StartTransfer(HANDLE pipe, PipeAccess direction, const void* bytes, void* buffer, DWORD count,
                                   DWORD* transferred, Overlapped* overlapped)
{
    const auto busPipe = m_handles.Find<CBusPipe>(pipe);
    if (!busPipe || !busPipe->IsOpen() || busPipe->Access() != direction) {
        return Fail(EBADF);
    }
    const bool isWrite = direction == PipeAccess::Write;
    if (!CheckTransferArguments(isWrite, bytes, buffer, count, overlapped)) {
        return FALSE;
    }
    const auto event = ResetEventOf(*overlapped);
    if (event) {
        event->LinkTo(busPipe);
    }
    busPipe->Start(isWrite ? CBusTransfer::ForWrite(bytes, count, overlapped, event)
                           : CBusTransfer::ForRead(buffer, count, overlapped, event));
    busPipe->Progress();
    return TransferOutcome(*overlapped, transferred, ERROR_IO_PENDING);
}

bool CPosixPlatform::PollTransfers(CPosixEvent& event)
{
    const auto pipe = event.LinkedPipe();
    if (!pipe) {
        return false;
    }
    pipe->Progress();
    return pipe->HasOutstanding();
}

void CPosixPlatform::WaitForTransfers(CPosixEvent& event, int milliseconds)
{
    if (const auto pipe = event.LinkedPipe()) {
        pipe->WaitForTraffic(milliseconds);
    }
}

BOOL CPosixPlatform::GetOverlappedResult(HANDLE pipe, Overlapped* overlapped, DWORD* transferred, BOOL wait)
{
    return PipeTransferResult<CBusPipe>(pipe, overlapped, transferred, wait);
}

void CPosixPlatform::CancelTransfer(HANDLE pipe, Overlapped* overlapped)
{
    CancelPipeTransfer<CBusPipe>(pipe, overlapped);
}

// ---- Device notices.

HANDLE CPosixPlatform::RegisterDeviceNotification(WindowHandle window, const DevBroadcastDeviceInterface& filter)
{
    const CBusDirectory bus;
    int error = bus.Create();
    int id = 0;
    // A filter for anything but the bus's class registers but hears nothing.
    if (error == 0 && filter.dbcc_devicetype == DBT_DEVTYP_DEVICEINTERFACE &&
        IsDeviceInterfaceClass(filter.dbcc_classguid)) {
        error = m_deviceWatch.Register(window, bus, &id);
    }
    if (error != 0) {
        SetLastError(static_cast<DWORD>(error));
        return nullptr;
    }
    return m_handles.Add(std::make_shared<CDeviceNoticeRegistration>(m_deviceWatch, id));
}

int CPosixPlatform::DeviceNoticeDescriptor()
{
    return m_deviceWatch.Descriptor();
}

bool CPosixPlatform::TakeDeviceNotice(DeviceNotice* notice)
{
    return m_deviceWatch.Take(notice);
}
