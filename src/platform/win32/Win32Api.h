// The Windows headers as the Win32 backends include them: before the
// program's own types, and without the macros that would rename the platform
// interface's CreateEvent, CreateMutex, RegisterDeviceNotification and
// GetModuleFileName.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <dbt.h>
#include <setupapi.h>

#undef CreateEvent
#undef CreateMutex
#undef RegisterDeviceNotification
#undef GetModuleFileName
