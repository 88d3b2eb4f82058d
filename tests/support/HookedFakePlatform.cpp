// The scripted platform with hooks.
#include "support/HookedFakePlatform.h"

BOOL HookedFakePlatform::WriteFile(HANDLE pipe, const void* bytes, DWORD count, DWORD* transferred,
                                   Overlapped* overlapped)
{
    if (onWrite) {
        onWrite(std::string(static_cast<const char*>(bytes), count));
    }
    return FakePlatform::WriteFile(pipe, bytes, count, transferred, overlapped);
}

void HookedFakePlatform::Sleep(DWORD milliseconds)
{
    if (onSleep) {
        onSleep(milliseconds);
    }
    FakePlatform::Sleep(milliseconds);
}
