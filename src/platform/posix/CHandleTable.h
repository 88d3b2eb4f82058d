// The table that turns opaque handles into the POSIX platform's objects.
// Handle values are never reused, so a stale handle cannot reach a newer
// object: a closed or unknown handle simply finds nothing.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>

#include "platform/PlatformBasics.h"
#include "platform/posix/CPosixObject.h"

class CHandleTable {
public:
    // A new handle for `object`; never null and never INVALID_HANDLE_VALUE.
    HANDLE Add(std::shared_ptr<CPosixObject> object);
    // The object behind `handle` if it has the type asked for, else null.
    template <typename T>
    std::shared_ptr<T> Find(HANDLE handle) const
    {
        return std::dynamic_pointer_cast<T>(FindObject(handle));
    }
    // Takes the object out of the table; null when the handle is unknown.
    // The object lives on while a caller still holds it.
    std::shared_ptr<CPosixObject> Remove(HANDLE handle);
    // Closes and forgets every handle: for a platform that goes, before the
    // services its objects rely on.
    void CloseAll();

private:
    std::shared_ptr<CPosixObject> FindObject(HANDLE handle) const;

    mutable std::mutex m_lock;
    std::map<std::uintptr_t, std::shared_ptr<CPosixObject>> m_objects;
    std::uintptr_t m_nextValue = 0x10000;
};
