// A second program for the interlock tests: takes a named mutex, says so
// through a named event, and on a second event either releases it and ends,
// or ends while still holding it.
//
//   trelox_mutex_holder NAME release|abandon READY_EVENT FINISH_EVENT
#include <windows.h>

#include <cstring>

int main(int argc, char** argv)
{
    if (argc != 5) {
        return 2;
    }
    const bool release = std::strcmp(argv[2], "release") == 0;
    HANDLE mutex = ::CreateMutexA(nullptr, FALSE, argv[1]);
    HANDLE ready = ::OpenEventA(EVENT_MODIFY_STATE, FALSE, argv[3]);
    HANDLE finish = ::OpenEventA(SYNCHRONIZE, FALSE, argv[4]);
    if (mutex == nullptr || ready == nullptr || finish == nullptr) {
        return 3;
    }
    const DWORD taken = ::WaitForSingleObject(mutex, 0);
    if (taken != WAIT_OBJECT_0 && taken != WAIT_ABANDONED) {
        return 4;
    }
    ::SetEvent(ready);
    if (::WaitForSingleObject(finish, 30000) != WAIT_OBJECT_0) {
        return 5;
    }
    if (release && !::ReleaseMutex(mutex)) {
        return 6;
    }
    // Without the release the system marks the mutex abandoned at exit.
    return 0;
}
