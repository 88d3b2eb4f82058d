// Records the platform layer shares with its callers, laid out byte for byte
// like their Windows counterparts so that the Win32 backend passes them on
// unchanged.
#pragma once

#include "platform/PlatformBasics.h"

// A device interface class, in the usual in-memory order of a GUID.
struct DeviceClassGuid {
    BYTE bytes[16];
};

// One overlapped transfer's record (the system's OVERLAPPED): all zero but the
// event before a transfer starts. The backend may use the first two words.
struct Overlapped {
    std::uintptr_t Internal;
    std::uintptr_t InternalHigh;
    DWORD Offset;
    DWORD OffsetHigh;
    HANDLE hEvent;
};

// The header every device-change broadcast record starts with.
struct DevBroadcastHeader {
    DWORD dbch_size;
    DWORD dbch_devicetype;
    DWORD dbch_reserved;
};

// The device-interface broadcast record: header, class, zero-terminated path.
struct DevBroadcastDeviceInterface {
    DWORD dbcc_size;
    DWORD dbcc_devicetype;
    DWORD dbcc_reserved;
    DeviceClassGuid dbcc_classguid;
    char dbcc_name[1];
};

// Which pipe of a device interface is opened, and so the access and sharing.
enum class PipeAccess {
    Write,  // GENERIC_WRITE, shared with other writers only
    Read,   // GENERIC_READ, shared with other readers only
};
