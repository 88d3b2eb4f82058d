// The table of opaque handles of the POSIX platform.
#include "platform/posix/CHandleTable.h"

namespace {
// Spaced so that handles look nothing like small integers or descriptors.
constexpr std::uintptr_t kHandleStep = 0x10;
}

HANDLE CHandleTable::Add(std::shared_ptr<CPosixObject> object)
{
    std::lock_guard<std::mutex> guard(m_lock);
    const std::uintptr_t value = m_nextValue;
    m_nextValue += kHandleStep;
    m_objects[value] = std::move(object);
    return reinterpret_cast<HANDLE>(value);
}

std::shared_ptr<CPosixObject> CHandleTable::Remove(HANDLE handle)
{
    std::lock_guard<std::mutex> guard(m_lock);
    const auto found = m_objects.find(reinterpret_cast<std::uintptr_t>(handle));
    if (found == m_objects.end()) {
        return nullptr;
    }
    std::shared_ptr<CPosixObject> object = std::move(found->second);
    m_objects.erase(found);
    return object;
}

void CHandleTable::CloseAll()
{
    std::map<std::uintptr_t, std::shared_ptr<CPosixObject>> objects;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        objects.swap(m_objects);
    }
    // Outside the lock: closing may look handles up.
    for (auto& entry : objects) {
        entry.second->Close();
    }
}

std::shared_ptr<CPosixObject> CHandleTable::FindObject(HANDLE handle) const
{
    std::lock_guard<std::mutex> guard(m_lock);
    const auto found = m_objects.find(reinterpret_cast<std::uintptr_t>(handle));
    return found == m_objects.end() ? nullptr : found->second;
}
