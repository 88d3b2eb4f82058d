// The interlock with the test-system software: four named mutexes, taken all
// together without waiting, or none of them.
#pragma once

#include <memory>

#include "framework/CMutex.h"
#include "framework/CString.h"

class CDeviceLock {
public:
    static const int kMutexCount = 4;

    CDeviceLock();
    // Releases the four if they are held, then closes them, slot 3 first.
    ~CDeviceLock();

    CDeviceLock(const CDeviceLock&) = delete;
    CDeviceLock& operator=(const CDeviceLock&) = delete;

    // Creates or opens the four mutexes for the device `instanceId` (empty when
    // no device is open). Throws CResourceException when the system refuses a
    // name; the slots filled before it stay filled.
    void Create(const CString& instanceId);
    // True when all four are now held; otherwise false, holding none.
    bool TryLockAll();
    // Releases all four.
    void UnlockAll();
    bool IsLocked() const { return m_bLocked; }

    // The name of slot 0 to 3 for the device `instanceId`.
    static CString MutexName(int slot, const CString& instanceId);

private:
    void ReleaseAll();

    std::unique_ptr<CMutex> m_pMutexes[kMutexCount];
    bool m_bLocked;
};
