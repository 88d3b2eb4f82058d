// The common base of every object behind a handle of the POSIX platform:
// pipes, events, lock-file mutexes, device lists, files, notice registrations.
#pragma once

class CPosixObject {
public:
    CPosixObject() = default;
    CPosixObject(const CPosixObject&) = delete;
    CPosixObject& operator=(const CPosixObject&) = delete;
    virtual ~CPosixObject();
};
