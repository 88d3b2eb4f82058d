// The operating-system services that the USB link, the device notices, the
// interlock and the download use. Each build compiles its own backends (the
// Windows build one; the Linux build two, the simulated bus and real USB
// devices through libusb, one chosen at start-up by BuildPlatform); tests
// install a scripted fake.
//
// Every call runs on the calling thread and reports failure the Windows way:
// a FALSE / null / INVALID_HANDLE_VALUE result, with the reason in
// GetLastError(). The algorithms that decide what a failure means live in the
// callers; a backend only submits, waits, cancels and reports.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/PlatformTypes.h"

// One device notice for a registered window, to be delivered to it as
// WM_DEVICECHANGE with `eventType` and a pointer to `record` (a broadcast
// record starting with DevBroadcastHeader).
struct DeviceNotice {
    WindowHandle window = nullptr;
    UINT eventType = 0;
    std::vector<BYTE> record;
};

class CPlatform {
public:
    virtual ~CPlatform() = default;

    // ---- Last error: the reason of the call that failed last on this thread.
    virtual DWORD GetLastError() = 0;
    virtual void SetLastError(DWORD error) = 0;

    // ---- Present device interfaces of a class (SetupDi...).
    // A list of the interfaces present now, in the system's order; or
    // INVALID_HANDLE_VALUE with the reason in GetLastError. Owned by the caller,
    // released with DestroyDeviceInfoList.
    virtual HANDLE GetClassDevs(const DeviceClassGuid& interfaceClass) = 0;
    // TRUE when the list has an interface at `index`; FALSE with
    // ERROR_NO_MORE_ITEMS past its end, or another code on any other error.
    virtual BOOL EnumDeviceInterface(HANDLE list, const DeviceClassGuid& interfaceClass, DWORD index) = 0;
    // Puts the path of the interface at `index` into a detail record of
    // `recordSize` bytes: 4 bytes of header, then the zero-terminated path,
    // copied to `path` (which holds recordSize - 4 bytes). `*requiredSize` gets
    // the bytes the record needs (4 + path length + 1) whenever it is known.
    // FALSE with ERROR_INSUFFICIENT_BUFFER when the path does not fit.
    virtual BOOL GetDeviceInterfacePath(HANDLE list, DWORD index, char* path, DWORD recordSize,
                                        DWORD* requiredSize) = 0;
    virtual void DestroyDeviceInfoList(HANDLE list) = 0;

    // ---- Pipes of a device: the interface path followed by "\PIPE02" or
    // "\PIPE03", opened existing and for overlapped transfers. A usable handle,
    // or INVALID_HANDLE_VALUE with the reason in GetLastError.
    virtual HANDLE OpenPipe(const char* pipePath, PipeAccess access) = 0;

    // Closes any handle this interface returned (pipe, event, mutex, file).
    virtual BOOL CloseHandle(HANDLE handle) = 0;

    // ---- Overlapped transfers.
    // An unnamed, auto-resetting event, not signalled; null on failure.
    virtual HANDLE CreateEvent() = 0;
    // Starts one transfer. TRUE with *transferred set when it finished at once;
    // otherwise FALSE, and GetLastError is ERROR_IO_PENDING when it was queued:
    // then the event of `overlapped` is signalled when it completes. Until then
    // the backend may use `bytes`/`buffer`, `overlapped` and its event.
    virtual BOOL WriteFile(HANDLE pipe, const void* bytes, DWORD count, DWORD* transferred,
                           Overlapped* overlapped) = 0;
    virtual BOOL ReadFile(HANDLE pipe, void* buffer, DWORD size, DWORD* transferred, Overlapped* overlapped) = 0;
    // WAIT_OBJECT_0 when the object is signalled (or, for a mutex, now held;
    // WAIT_ABANDONED when its holder ended without releasing it), WAIT_TIMEOUT
    // after `milliseconds`, WAIT_FAILED on error. Blocks the thread; takes no
    // window messages.
    virtual DWORD WaitForSingleObject(HANDLE object, DWORD milliseconds) = 0;
    // The outcome of a transfer, without waiting (`wait` FALSE): TRUE with the
    // count, or FALSE with the transfer's error in GetLastError; while it
    // still runs, FALSE with ERROR_IO_INCOMPLETE, whatever the backend.
    virtual BOOL GetOverlappedResult(HANDLE pipe, Overlapped* overlapped, DWORD* transferred, BOOL wait) = 0;
    // Ends a transfer that was given up after its time-out. When it returns,
    // the transfer no longer touches the caller's bytes or buffer, the
    // overlapped record or its event, which the caller may then release.
    virtual void CancelTransfer(HANDLE pipe, Overlapped* overlapped) = 0;

    // ---- Named mutexes ("NAME", "Local\NAME", "Global\NAME").
    // Creates or opens the mutex, not initially owned, default security; null
    // with the reason in GetLastError when the system refuses the name.
    // Taken with WaitForSingleObject(handle, 0).
    virtual HANDLE CreateMutex(const char* name) = 0;
    // Releases a mutex held by this thread; FALSE (no effect) otherwise.
    virtual BOOL ReleaseMutex(HANDLE mutex) = 0;

    // ---- Flash files.
    // Opens an existing file for reading bytes, shared with nobody: fails while
    // another program has it open. INVALID_HANDLE_VALUE on failure.
    virtual HANDLE OpenFileExclusive(const char* path) = 0;
    // Reads up to `size` bytes; TRUE with *read = 0 at the end of the file.
    virtual BOOL ReadFileBytes(HANDLE file, void* buffer, DWORD size, DWORD* read) = 0;
    // The file's size in bytes as the system reports it (0 for pipes).
    virtual BOOL GetFileSize(HANDLE file, std::uint64_t* size) = 0;

    // ---- Time.
    virtual DWORD GetTickCount() = 0;
    virtual void Sleep(DWORD milliseconds) = 0;

    // ---- Device notices for a window (RegisterDeviceNotificationA with a
    // device-interface filter). A registration handle, or null.
    virtual HANDLE RegisterDeviceNotification(WindowHandle window, const DevBroadcastDeviceInterface& filter) = 0;
    virtual BOOL UnregisterDeviceNotification(HANDLE registration) = 0;
    // Where the system does not deliver notices as window messages itself, the
    // window system asks for them: a descriptor that is readable as long as a
    // notice may be waiting (-1 when there is none to watch), so that it may
    // be polled at any time, also before every notice was taken; and the next
    // notice, false when none is waiting. Never blocks.
    virtual int DeviceNoticeDescriptor() = 0;
    virtual bool TakeDeviceNotice(DeviceNotice* notice) = 0;

    // ---- The program's own executable (GetModuleFileNameA of the process).
    // True with the full path of the running program's file in `*path`; false,
    // `*path` untouched, where the system does not tell it: the caller then
    // goes by the name the program was started with.
    virtual bool GetModuleFileName(std::string* path) = 0;
};

// The platform in use: the build's backend unless a test installed another.
CPlatform& Platform();
// Installs `platform` (not owned) in place of the build's backend; null
// restores the backend.
void SetPlatform(CPlatform* platform);
// The backend of this build, defined once per build (where a build has
// several, it chooses among them).
CPlatform& BuildPlatform();
