// The scripted platform: named mutexes shared with "other programs".
#include "support/FakePlatform.h"

void FakePlatform::HoldMutexElsewhere(const std::string& name, bool held)
{
    NamedMutex& mutex = m_mutexes[name];
    mutex.heldElsewhere = held;
    mutex.abandoned = false;
}

void FakePlatform::AbandonMutex(const std::string& name)
{
    NamedMutex& mutex = m_mutexes[name];
    mutex.heldElsewhere = false;
    mutex.abandoned = true;
}

void FakePlatform::RefuseMutexName(const std::string& name, DWORD error)
{
    NamedMutex& mutex = m_mutexes[name];
    mutex.refused = true;
    mutex.refuseError = error;
}

bool FakePlatform::IsMutexHeldHere(const std::string& name) const
{
    auto it = m_mutexes.find(name);
    return it != m_mutexes.end() && it->second.heldHere > 0;
}

int FakePlatform::OpenMutexHandles(const std::string& name) const
{
    int count = 0;
    for (const auto& entry : m_handles) {
        if (entry.second.kind == HandleKind::Mutex && entry.second.name == name) {
            ++count;
        }
    }
    return count;
}

HANDLE FakePlatform::CreateMutex(const char* name)
{
    const std::string mutexName = name != nullptr ? name : "";
    m_mutexNames.push_back(mutexName);
    const bool existed = m_mutexes.count(mutexName) != 0 || OpenMutexHandles(mutexName) > 0;
    NamedMutex& mutex = m_mutexes[mutexName];
    if (mutex.refused) {
        m_lastError = mutex.refuseError;
        return nullptr;
    }
    HandleEntry entry{HandleKind::Mutex};
    entry.name = mutexName;
    m_lastError = existed ? kErrorAlreadyExists : 0;
    return NewHandle(entry);
}

DWORD FakePlatform::WaitForMutex(HANDLE handle, DWORD milliseconds)
{
    m_mutexWaits.push_back(milliseconds);
    NamedMutex& mutex = m_mutexes[Find(handle, HandleKind::Mutex)->name];
    if (mutex.heldElsewhere) {
        if (milliseconds == kInfinite) {
            m_lastError = kErrorInvalidParameter;
            return WAIT_FAILED;
        }
        Advance(milliseconds);
        return WAIT_TIMEOUT;
    }
    ++mutex.heldHere;
    if (mutex.abandoned) {
        mutex.abandoned = false;
        return WAIT_ABANDONED;
    }
    return WAIT_OBJECT_0;
}

BOOL FakePlatform::ReleaseMutex(HANDLE handle)
{
    const HandleEntry* entry = Find(handle, HandleKind::Mutex);
    if (entry == nullptr) {
        return Fail(kErrorInvalidHandle);
    }
    NamedMutex& mutex = m_mutexes[entry->name];
    if (mutex.heldHere == 0) {
        return Fail(kErrorNotOwner);
    }
    --mutex.heldHere;
    return TRUE;
}
