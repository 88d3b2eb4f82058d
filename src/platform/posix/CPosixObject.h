// The common base of every object behind a handle of the POSIX platforms:
// pipes, events, lock-file mutexes, device lists, files, notice registrations.
#pragma once

class CPosixObject {
public:
    CPosixObject() = default;
    CPosixObject(const CPosixObject&) = delete;
    CPosixObject& operator=(const CPosixObject&) = delete;
    virtual ~CPosixObject();

    // Called when its handle is closed: ends what the object does for the
    // caller at once, even while others still hold the object.
    virtual void Close() {}
};
