// One scripted transfer on a pipe of the fake platform: how it ends, when
// (in virtual milliseconds after it was started), and what it moves.
//
//   FakeTransfer::Reply("\x10\x06")             read completes at once
//   FakeTransfer::Reply("ABC").After(300)       pending, completes after 300 ms
//   FakeTransfer::Written(5)                    write completes at once, 5 bytes
//   FakeTransfer::Whole().After(6000)           pending past the time-out
//   FakeTransfer::Never()                       pending until cancelled
//   FakeTransfer::Fail(31)                      refused at once with error 31
//   FakeTransfer::Error(995).After(100)         pending, completes with error 995
//   FakeTransfer::WaitFails()                   pending; the wait on it fails
//   FakeTransfer::SignalledEarly()              pending; its event is signalled
//                                               while it still runs
#pragma once

#include <string>
#include <vector>

#include "framework/AfxTypes.h"

class FakeTransfer {
public:
    enum class Ending {
        Complete,           // success with the count (writes) or the reply (reads)
        CompleteWithError,  // pending, then completes reporting `error`
        FailAtOnce,         // the system refuses the transfer with `error`
        Never,              // pending; never completes by itself
        WaitFails,          // pending; WaitForSingleObject on it fails
        SignalledEarly,     // pending; its event is signalled, yet it runs on
    };

    // Reads: the reply bytes, any length; a read delivers at most its size.
    static FakeTransfer Reply(const std::string& bytes);
    static FakeTransfer Reply(const std::vector<BYTE>& bytes);
    // Writes: all bytes asked for, or exactly `count`.
    static FakeTransfer Whole();
    static FakeTransfer Written(DWORD count);
    static FakeTransfer Fail(DWORD error);
    static FakeTransfer Error(DWORD error);
    static FakeTransfer Never();
    static FakeTransfer WaitFails();
    static FakeTransfer SignalledEarly();

    // Pending, completing `delayMs` virtual milliseconds after the start.
    FakeTransfer After(DWORD delayMs) const;
    // The count reported with an error completion or refusal.
    FakeTransfer WithCount(DWORD count) const;

    bool IsPending() const;

    Ending ending = Ending::Complete;
    std::vector<BYTE> reply;
    bool wholeCount = true;
    DWORD count = 0;
    DWORD error = 0;
    bool delayed = false;
    DWORD delayMs = 0;
};
