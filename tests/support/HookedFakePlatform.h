// The scripted platform with hooks into the moments a test needs to act in:
// a write to the device starting (the user clicks during an exchange) and a
// pause of the thread (what is on the screen while nothing is drawn).
#pragma once

#include <functional>
#include <string>

#include "support/FakePlatform.h"

class HookedFakePlatform : public FakePlatform {
public:
    // Called with the bytes of every write, before it starts.
    std::function<void(const std::string&)> onWrite;
    // Called with the length of every pause, before the clock moves.
    std::function<void(DWORD)> onSleep;

    BOOL WriteFile(HANDLE pipe, const void* bytes, DWORD count, DWORD* transferred, Overlapped* overlapped) override;
    void Sleep(DWORD milliseconds) override;
};
