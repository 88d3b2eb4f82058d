// The interlock with the test-system software over four named mutexes.
#include "flash/CDeviceLock.h"

#include <new>

namespace {

const char kBaseName[] = "ORB812MUTEX";
const char kSynchronizerName[] = "ORB812SynchronizerMutex";

}  // namespace

CDeviceLock::CDeviceLock() : m_bLocked(false) {}

CDeviceLock::~CDeviceLock()
{
    if (m_bLocked) {
        UnlockAll();
    }
    for (int slot = kMutexCount - 1; slot >= 0; --slot) {
        m_pMutexes[slot].reset();
    }
}

CString CDeviceLock::MutexName(int slot, const CString& instanceId)
{
    switch (slot) {
    case 0:
        return CString(kBaseName);
    case 1:
        return CString("Local\\") + kBaseName + "_" + instanceId;
    case 2:
        return CString("Global\\") + kBaseName + "_" + instanceId;
    default:
        return CString(kSynchronizerName);
    }
}

void CDeviceLock::Create(const CString& instanceId)
{
    // Closing a mutex does not release it: give up what is held first.
    if (m_bLocked) {
        UnlockAll();
    }
    for (int slot = 0; slot < kMutexCount; ++slot) {
        // An object that cannot be allocated leaves its slot empty, and the
        // lock can then never be taken.
        CMutex* mutex = new (std::nothrow) CMutex(MutexName(slot, instanceId));
        m_pMutexes[slot].reset(mutex);
    }
}

bool CDeviceLock::TryLockAll()
{
    // Taking them again would need as many releases; once is enough.
    if (m_bLocked) {
        return true;
    }
    for (const std::unique_ptr<CMutex>& mutex : m_pMutexes) {
        if (!mutex || !mutex->Lock(0)) {
            m_bLocked = false;
            ReleaseAll();
            return false;
        }
    }
    m_bLocked = true;
    return true;
}

void CDeviceLock::UnlockAll()
{
    ReleaseAll();
    m_bLocked = false;
}

void CDeviceLock::ReleaseAll()
{
    // Releasing one this thread does not hold has no effect.
    for (const std::unique_ptr<CMutex>& mutex : m_pMutexes) {
        if (mutex) {
            mutex->Unlock();
        }
    }
}
