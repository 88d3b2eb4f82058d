// The basic types and codes of the platform seam, with the values Windows
// gives them, so that every backend and every caller reads the same on each
// build: BOOL, DWORD, HANDLE and the window a notice is for; the error codes
// the callers name, the results of a wait, the device-change events. The
// platform builds on nothing; the framework's types build on these. The
// Windows backends include <windows.h> before this header; every constant is
// guarded so that the system's own definition wins there.
#pragma once

#include <cstddef>
#include <cstdint>

typedef int BOOL;
typedef unsigned int UINT;
typedef unsigned char BYTE;
#if defined(_WIN32)
typedef unsigned long DWORD;  // as the system headers declare it
#else
typedef std::uint32_t DWORD;
#endif
typedef void* HANDLE;

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif
#ifndef INVALID_HANDLE_VALUE
#define INVALID_HANDLE_VALUE (reinterpret_cast<HANDLE>(static_cast<std::intptr_t>(-1)))
#endif

// A window of the active window system; null when there is none.
typedef void* WindowHandle;

// System error codes the program's logic names.
#ifndef ERROR_SUCCESS
#define ERROR_SUCCESS 0L
#endif
#ifndef ERROR_OUTOFMEMORY
#define ERROR_OUTOFMEMORY 14L
#endif
#ifndef ERROR_INSUFFICIENT_BUFFER
#define ERROR_INSUFFICIENT_BUFFER 122L
#endif
#ifndef ERROR_NO_MORE_ITEMS
#define ERROR_NO_MORE_ITEMS 259L
#endif
#ifndef ERROR_IO_INCOMPLETE
#define ERROR_IO_INCOMPLETE 996L
#endif
#ifndef ERROR_IO_PENDING
#define ERROR_IO_PENDING 997L
#endif
#ifndef ERROR_OPERATION_ABORTED
#define ERROR_OPERATION_ABORTED 995L
#endif

// Waits.
#ifndef WAIT_OBJECT_0
#define WAIT_OBJECT_0 0x00000000L
#endif
#ifndef WAIT_ABANDONED
#define WAIT_ABANDONED 0x00000080L
#endif
#ifndef WAIT_TIMEOUT
#define WAIT_TIMEOUT 0x00000102L
#endif
#ifndef WAIT_FAILED
#define WAIT_FAILED 0xFFFFFFFFL
#endif

// Device change events and the device-interface broadcast type.
#ifndef DBT_DEVICEARRIVAL
#define DBT_DEVICEARRIVAL 0x8000
#define DBT_DEVICEQUERYREMOVE 0x8001
#define DBT_DEVICEREMOVEPENDING 0x8003
#define DBT_DEVICEREMOVECOMPLETE 0x8004
#define DBT_CUSTOMEVENT 0x8006
#define DBT_DEVNODES_CHANGED 0x0007
#endif
#ifndef DBT_DEVTYP_DEVICEINTERFACE
#define DBT_DEVTYP_VOLUME 0x00000002
#define DBT_DEVTYP_DEVICEINTERFACE 0x00000005
#endif
