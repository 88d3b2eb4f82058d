// The services both Linux backends share: errors, handles, events and waits,
// lock-file mutexes, flash files and the clock.
#include "platform/posix/CPosixServices.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>

#include "platform/DeviceInterfaceClass.h"
#include "platform/posix/CDeviceInterfaceList.h"
#include "platform/posix/CDeviceNoticeRegistration.h"
#include "platform/posix/CExclusiveFile.h"
#include "platform/posix/CLockDirectory.h"
#include "platform/posix/CLockFileMutex.h"
#include "platform/posix/CPosixClock.h"
#include "platform/posix/CPosixEvent.h"
#include "platform/posix/OverlappedState.h"

namespace {
constexpr DWORD kDetailHeaderSize = 4;
thread_local DWORD t_lastError = 0;
}

DWORD CPosixServices::GetLastError()
{
    return t_lastError;
}

void CPosixServices::SetLastError(DWORD error)
{
    t_lastError = error;
}

BOOL CPosixServices::Fail(DWORD error)
{
    SetLastError(error);
    return FALSE;
}

BOOL CPosixServices::CloseHandle(HANDLE handle)
{
    const auto object = m_handles.Remove(handle);
    if (!object) {
        return Fail(EBADF);
    }
    object->Close();
    return TRUE;
}

// ---- Device lists.

HANDLE CPosixServices::AddDeviceList(std::vector<std::string> paths)
{
    return m_handles.Add(std::make_shared<CDeviceInterfaceList>(std::move(paths)));
}

BOOL CPosixServices::EnumDeviceInterface(HANDLE list, const DeviceClassGuid& interfaceClass, DWORD index)
{
    const auto interfaces = m_handles.Find<CDeviceInterfaceList>(list);
    if (!interfaces) {
        return Fail(EBADF);
    }
    if (!IsDeviceInterfaceClass(interfaceClass) || index >= interfaces->Count()) {
        return Fail(ERROR_NO_MORE_ITEMS);
    }
    return TRUE;
}

BOOL CPosixServices::GetDeviceInterfacePath(HANDLE list, DWORD index, char* path, DWORD recordSize,
                                            DWORD* requiredSize)
{
    const auto interfaces = m_handles.Find<CDeviceInterfaceList>(list);
    if (!interfaces) {
        return Fail(EBADF);
    }
    if (index >= interfaces->Count()) {
        return Fail(ERROR_NO_MORE_ITEMS);
    }
    const std::string& found = interfaces->PathAt(index);
    const std::size_t needed = kDetailHeaderSize + found.size() + 1;
    if (requiredSize != nullptr) {
        *requiredSize = static_cast<DWORD>(needed);
    }
    if (recordSize < needed) {
        return Fail(ERROR_INSUFFICIENT_BUFFER);
    }
    if (path == nullptr) {
        return Fail(EINVAL);
    }
    std::memcpy(path, found.c_str(), found.size() + 1);
    return TRUE;
}

void CPosixServices::DestroyDeviceInfoList(HANDLE list)
{
    if (m_handles.Find<CDeviceInterfaceList>(list)) {
        m_handles.Remove(list);
    }
}

BOOL CPosixServices::UnregisterDeviceNotification(HANDLE registration)
{
    if (!m_handles.Find<CDeviceNoticeRegistration>(registration)) {
        return Fail(EBADF);
    }
    m_handles.Remove(registration);
    return TRUE;
}

// ---- Events and waits.

HANDLE CPosixServices::CreateEvent()
{
    return m_handles.Add(std::make_shared<CPosixEvent>());
}

DWORD CPosixServices::WaitForSingleObject(HANDLE object, DWORD milliseconds)
{
    if (const auto event = m_handles.Find<CPosixEvent>(object)) {
        return WaitForEvent(*event, milliseconds);
    }
    if (const auto mutex = m_handles.Find<CLockFileMutex>(object)) {
        const DWORD result = mutex->Wait(milliseconds);
        if (result == WAIT_FAILED) {
            SetLastError(static_cast<DWORD>(errno));
        }
        return result;
    }
    SetLastError(EBADF);
    return WAIT_FAILED;
}

DWORD CPosixServices::WaitForEvent(CPosixEvent& event, DWORD milliseconds)
{
    const std::uint64_t start = CPosixClock::NowMilliseconds();
    for (;;) {
        const bool canBeSignalled = PollTransfers(event);
        if (event.TakeSignal()) {
            return WAIT_OBJECT_0;
        }
        if (milliseconds == kInfinite) {
            if (!canBeSignalled) {
                SetLastError(EDEADLK);
                return WAIT_FAILED;
            }
            WaitForTransfers(event, -1);
            continue;
        }
        const std::uint64_t elapsed = CPosixClock::NowMilliseconds() - start;
        if (elapsed >= milliseconds) {
            return WAIT_TIMEOUT;
        }
        const std::uint64_t remaining = milliseconds - elapsed;
        if (canBeSignalled) {
            WaitForTransfers(event, static_cast<int>(std::min<std::uint64_t>(remaining, INT_MAX)));
        } else {
            CPosixClock::Sleep(remaining);
        }
    }
}

BOOL CPosixServices::CheckTransferArguments(bool isWrite, const void* bytes, const void* buffer, DWORD count,
                                            const Overlapped* overlapped)
{
    if (overlapped == nullptr || (count > 0 && (isWrite ? bytes == nullptr : buffer == nullptr))) {
        return Fail(EINVAL);
    }
    return TRUE;
}

std::shared_ptr<CPosixEvent> CPosixServices::ResetEventOf(const Overlapped& overlapped)
{
    auto event = m_handles.Find<CPosixEvent>(overlapped.hEvent);
    if (event) {
        event->Reset();
    }
    return event;
}

BOOL CPosixServices::TransferOutcome(const Overlapped& overlapped, DWORD* transferred, DWORD pendingError)
{
    if (overlapped.Internal == kOverlappedPending) {
        return Fail(pendingError);
    }
    if (transferred != nullptr) {
        *transferred = static_cast<DWORD>(overlapped.InternalHigh);
    }
    if (overlapped.Internal != 0) {
        return Fail(static_cast<DWORD>(overlapped.Internal));
    }
    return TRUE;
}

// ---- Named mutexes.

HANDLE CPosixServices::CreateMutex(const char* name)
{
    if (name == nullptr) {
        SetLastError(EINVAL);
        return nullptr;
    }
    std::string path;
    const int error = CLockDirectory().PrepareLockFile(name, &path);
    if (error != 0) {
        SetLastError(static_cast<DWORD>(error));
        return nullptr;
    }
    // No link planted in a shared folder may send the lock file elsewhere.
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0666);
    if (fd < 0) {
        SetLastError(static_cast<DWORD>(errno));
        return nullptr;
    }
    return m_handles.Add(std::make_shared<CLockFileMutex>(fd));
}

BOOL CPosixServices::ReleaseMutex(HANDLE mutex)
{
    const auto lockFile = m_handles.Find<CLockFileMutex>(mutex);
    if (!lockFile) {
        return Fail(EBADF);
    }
    return lockFile->Release() ? TRUE : Fail(static_cast<DWORD>(errno));
}

// ---- Files.

HANDLE CPosixServices::OpenFileExclusive(const char* path)
{
    CExclusiveFile* file = path != nullptr ? CExclusiveFile::Open(path) : nullptr;
    if (file == nullptr) {
        SetLastError(path != nullptr ? static_cast<DWORD>(errno) : EINVAL);
        return INVALID_HANDLE_VALUE;
    }
    return m_handles.Add(std::shared_ptr<CExclusiveFile>(file));
}

BOOL CPosixServices::ReadFileBytes(HANDLE file, void* buffer, DWORD size, DWORD* read)
{
    const auto openFile = m_handles.Find<CExclusiveFile>(file);
    if (!openFile) {
        return Fail(EBADF);
    }
    const long count = openFile->Read(buffer, size);
    if (count < 0) {
        return Fail(static_cast<DWORD>(errno));
    }
    if (read != nullptr) {
        *read = static_cast<DWORD>(count);
    }
    return TRUE;
}

BOOL CPosixServices::GetFileSize(HANDLE file, std::uint64_t* size)
{
    const auto openFile = m_handles.Find<CExclusiveFile>(file);
    if (!openFile) {
        return Fail(EBADF);
    }
    return openFile->Size(size) ? TRUE : Fail(static_cast<DWORD>(errno));
}

// ---- Time.

DWORD CPosixServices::GetTickCount()
{
    return static_cast<DWORD>(CPosixClock::NowMilliseconds());
}

void CPosixServices::Sleep(DWORD milliseconds)
{
    CPosixClock::Sleep(milliseconds);
}

bool CPosixServices::GetModuleFileName(std::string* /*path*/)
{
    return false;
}
