// The platform services on Win32. Each call hands its arguments to the system
// unchanged and reports the system's own result and last error.
#include "platform/win32/CWin32Platform.h"

#include <cstddef>
#include <cstring>
#include <string>
#include <vector>

// The shared records are passed to the system as its own types.
static_assert(sizeof(Overlapped) == sizeof(OVERLAPPED), "Overlapped must match OVERLAPPED");
static_assert(offsetof(Overlapped, Internal) == offsetof(OVERLAPPED, Internal), "OVERLAPPED.Internal");
static_assert(offsetof(Overlapped, InternalHigh) == offsetof(OVERLAPPED, InternalHigh), "OVERLAPPED.InternalHigh");
static_assert(offsetof(Overlapped, Offset) == offsetof(OVERLAPPED, Offset), "OVERLAPPED.Offset");
static_assert(offsetof(Overlapped, OffsetHigh) == offsetof(OVERLAPPED, OffsetHigh), "OVERLAPPED.OffsetHigh");
static_assert(offsetof(Overlapped, hEvent) == offsetof(OVERLAPPED, hEvent), "OVERLAPPED.hEvent");
static_assert(sizeof(DeviceClassGuid) == sizeof(GUID), "DeviceClassGuid must match GUID");
static_assert(sizeof(DevBroadcastHeader) == sizeof(DEV_BROADCAST_HDR), "DevBroadcastHeader must match");
static_assert(sizeof(DevBroadcastDeviceInterface) == sizeof(DEV_BROADCAST_DEVICEINTERFACE_A),
              "DevBroadcastDeviceInterface must match DEV_BROADCAST_DEVICEINTERFACE_A");
static_assert(offsetof(DevBroadcastDeviceInterface, dbcc_classguid) ==
                  offsetof(DEV_BROADCAST_DEVICEINTERFACE_A, dbcc_classguid),
              "DEV_BROADCAST_DEVICEINTERFACE_A.dbcc_classguid");
static_assert(offsetof(DevBroadcastDeviceInterface, dbcc_name) == offsetof(DEV_BROADCAST_DEVICEINTERFACE_A, dbcc_name),
              "DEV_BROADCAST_DEVICEINTERFACE_A.dbcc_name");

namespace {

// The path starts after the record's 4-byte size field on every build.
constexpr DWORD kDetailHeaderSize = offsetof(SP_DEVICE_INTERFACE_DETAIL_DATA_A, DevicePath);
static_assert(kDetailHeaderSize == 4, "the detail record's path follows its size field");

GUID ToGuid(const DeviceClassGuid& guid)
{
    GUID result;
    std::memcpy(&result, guid.bytes, sizeof result);
    return result;
}

OVERLAPPED* ToSystem(Overlapped* overlapped)
{
    return reinterpret_cast<OVERLAPPED*>(overlapped);
}

}  // namespace

DWORD CWin32Platform::GetLastError()
{
    return ::GetLastError();
}

void CWin32Platform::SetLastError(DWORD error)
{
    ::SetLastError(error);
}

HANDLE CWin32Platform::GetClassDevs(const DeviceClassGuid& interfaceClass)
{
    const GUID guid = ToGuid(interfaceClass);
    HDEVINFO list = ::SetupDiGetClassDevsA(&guid, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
    if (list != INVALID_HANDLE_VALUE) {
        m_listClasses[list] = guid;
    }
    return list;
}

BOOL CWin32Platform::EnumDeviceInterface(HANDLE list, const DeviceClassGuid& interfaceClass, DWORD index)
{
    const GUID guid = ToGuid(interfaceClass);
    SP_DEVICE_INTERFACE_DATA data{};
    data.cbSize = sizeof data;
    return ::SetupDiEnumDeviceInterfaces(list, nullptr, &guid, index, &data);
}

BOOL CWin32Platform::GetDeviceInterfacePath(HANDLE list, DWORD index, char* path, DWORD recordSize,
                                            DWORD* requiredSize)
{
    const auto found = m_listClasses.find(list);
    if (found == m_listClasses.end()) {
        ::SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    SP_DEVICE_INTERFACE_DATA data{};
    data.cbSize = sizeof data;
    if (!::SetupDiEnumDeviceInterfaces(list, nullptr, &found->second, index, &data)) {
        return FALSE;
    }
    // The system fills a record of exactly the caller's size, so that the
    // same paths fit or fail as they would in the caller's own record.
    std::vector<DWORD> storage((recordSize + sizeof(DWORD) - 1) / sizeof(DWORD) + 1);
    auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_A*>(storage.data());
    detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A);
    DWORD required = 0;
    const BOOL ok = ::SetupDiGetDeviceInterfaceDetailA(list, &data, detail, recordSize, &required, nullptr);
    const DWORD error = ::GetLastError();
    if (requiredSize != nullptr && required != 0) {
        *requiredSize = required;
    }
    if (ok && recordSize > kDetailHeaderSize) {
        const std::size_t room = recordSize - kDetailHeaderSize;
        const std::size_t length = strnlen(detail->DevicePath, room - 1);
        std::memcpy(path, detail->DevicePath, length);
        path[length] = '\0';
    }
    ::SetLastError(error);
    return ok;
}

void CWin32Platform::DestroyDeviceInfoList(HANDLE list)
{
    m_listClasses.erase(list);
    ::SetupDiDestroyDeviceInfoList(list);
}

HANDLE CWin32Platform::OpenPipe(const char* pipePath, PipeAccess access)
{
    const bool write = access == PipeAccess::Write;
    return ::CreateFileA(pipePath, write ? GENERIC_WRITE : GENERIC_READ, write ? FILE_SHARE_WRITE : FILE_SHARE_READ,
                         nullptr, OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
}

BOOL CWin32Platform::CloseHandle(HANDLE handle)
{
    return ::CloseHandle(handle);
}

HANDLE CWin32Platform::CreateEvent()
{
    return ::CreateEventA(nullptr, FALSE, FALSE, nullptr);
}

BOOL CWin32Platform::WriteFile(HANDLE pipe, const void* bytes, DWORD count, DWORD* transferred,
                               Overlapped* overlapped)
{
    return ::WriteFile(pipe, bytes, count, transferred, ToSystem(overlapped));
}

BOOL CWin32Platform::ReadFile(HANDLE pipe, void* buffer, DWORD size, DWORD* transferred, Overlapped* overlapped)
{
    return ::ReadFile(pipe, buffer, size, transferred, ToSystem(overlapped));
}

DWORD CWin32Platform::WaitForSingleObject(HANDLE object, DWORD milliseconds)
{
    return ::WaitForSingleObject(object, milliseconds);
}

BOOL CWin32Platform::GetOverlappedResult(HANDLE pipe, Overlapped* overlapped, DWORD* transferred, BOOL wait)
{
    return ::GetOverlappedResult(pipe, ToSystem(overlapped), transferred, wait);
}

void CWin32Platform::CancelTransfer(HANDLE pipe, Overlapped* overlapped)
{
    // The caller gave up on this transfer after its time-out and is about to
    // release its buffer and event: the system must be done with them first.
    // A transfer that completed meanwhile is simply collected. The caller's
    // last error stays as it was.
    const DWORD error = ::GetLastError();
    ::CancelIoEx(pipe, ToSystem(overlapped));
    DWORD ignored = 0;
    ::GetOverlappedResult(pipe, ToSystem(overlapped), &ignored, TRUE);
    ::SetLastError(error);
}

HANDLE CWin32Platform::CreateMutex(const char* name)
{
    return ::CreateMutexA(nullptr, FALSE, name);
}

BOOL CWin32Platform::ReleaseMutex(HANDLE mutex)
{
    return ::ReleaseMutex(mutex);
}

HANDLE CWin32Platform::OpenFileExclusive(const char* path)
{
    return ::CreateFileA(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

BOOL CWin32Platform::ReadFileBytes(HANDLE file, void* buffer, DWORD size, DWORD* read)
{
    return ::ReadFile(file, buffer, size, read, nullptr);
}

BOOL CWin32Platform::GetFileSize(HANDLE file, std::uint64_t* size)
{
    // GetFileType reports failure only through the last error.
    ::SetLastError(NO_ERROR);
    const DWORD type = ::GetFileType(file);
    if (type == FILE_TYPE_UNKNOWN && ::GetLastError() != NO_ERROR) {
        return FALSE;
    }
    if (type != FILE_TYPE_DISK) {
        *size = 0;
        return TRUE;
    }
    LARGE_INTEGER bytes;
    if (!::GetFileSizeEx(file, &bytes)) {
        return FALSE;
    }
    *size = static_cast<std::uint64_t>(bytes.QuadPart);
    return TRUE;
}

DWORD CWin32Platform::GetTickCount()
{
    return ::GetTickCount();
}

void CWin32Platform::Sleep(DWORD milliseconds)
{
    ::Sleep(milliseconds);
}

HANDLE CWin32Platform::RegisterDeviceNotification(WindowHandle window, const DevBroadcastDeviceInterface& filter)
{
    // The system only reads the filter; its declaration is not const.
    return ::RegisterDeviceNotificationA(static_cast<HWND>(window), const_cast<DevBroadcastDeviceInterface*>(&filter),
                                         DEVICE_NOTIFY_WINDOW_HANDLE);
}

BOOL CWin32Platform::UnregisterDeviceNotification(HANDLE registration)
{
    return ::UnregisterDeviceNotification(registration);
}

int CWin32Platform::DeviceNoticeDescriptor()
{
    // Windows delivers WM_DEVICECHANGE to the registered window itself.
    return -1;
}

bool CWin32Platform::TakeDeviceNotice(DeviceNotice* /*notice*/)
{
    return false;
}

bool CWin32Platform::GetModuleFileName(std::string* path)
{
    // A path that does not fit is cut short: the buffer grows until it fits,
    // up to the longest path the system has.
    for (DWORD size = MAX_PATH; size <= 32768; size *= 2) {
        std::string buffer(size, '\0');
        const DWORD length = ::GetModuleFileNameA(nullptr, &buffer[0], size);
        if (length == 0) {
            return false;
        }
        if (length < size) {
            buffer.resize(length);
            *path = buffer;
            return true;
        }
    }
    return false;
}

CPlatform& BuildPlatform()
{
    // Never destroyed: the application object is a static that outlives
    // function statics, and its device closes its pipes when it goes.
    static CWin32Platform* const platform = new CWin32Platform();
    return *platform;
}
