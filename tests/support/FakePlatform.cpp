// The scripted platform: handles, clock, device list, pipes, notices and the
// program's executable.
#include "support/FakePlatform.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

#include "usb/DeviceContract.h"

namespace {

bool SameClass(const DeviceClassGuid& a, const DeviceClassGuid& b)
{
    return std::memcmp(a.bytes, b.bytes, sizeof a.bytes) == 0;
}

}  // namespace

FakePlatform::FakePlatform() = default;

FakePlatform::~FakePlatform()
{
    if (m_installed) {
        SetPlatform(m_previous == &BuildPlatform() ? nullptr : m_previous);
    }
}

void FakePlatform::Install()
{
    if (!m_installed) {
        m_previous = &Platform();
    }
    SetPlatform(this);
    m_installed = true;
}

std::string FakePlatform::WritePipeOf(const std::string& interfacePath)
{
    return interfacePath + kWritePipeSuffix;
}

std::string FakePlatform::ReadPipeOf(const std::string& interfacePath)
{
    return interfacePath + kReadPipeSuffix;
}

// ---- Handles.

HANDLE FakePlatform::NewHandle(const HandleEntry& entry)
{
    HANDLE handle = reinterpret_cast<HANDLE>(m_nextHandle);
    m_nextHandle += 4;
    m_handles.insert_or_assign(handle, entry);
    return handle;
}

FakePlatform::HandleEntry* FakePlatform::Find(HANDLE handle, HandleKind kind)
{
    auto it = m_handles.find(handle);
    return (it != m_handles.end() && it->second.kind == kind) ? &it->second : nullptr;
}

const FakePlatform::HandleEntry* FakePlatform::Find(HANDLE handle, HandleKind kind) const
{
    auto it = m_handles.find(handle);
    return (it != m_handles.end() && it->second.kind == kind) ? &it->second : nullptr;
}

int FakePlatform::OpenHandles(HandleKind kind) const
{
    return static_cast<int>(std::count_if(m_handles.begin(), m_handles.end(),
                                          [kind](const auto& entry) { return entry.second.kind == kind; }));
}

BOOL FakePlatform::Fail(DWORD error)
{
    m_lastError = error;
    return FALSE;
}

BOOL FakePlatform::CloseHandle(HANDLE handle)
{
    auto it = m_handles.find(handle);
    if (it == m_handles.end() || it->second.kind == HandleKind::DeviceList ||
        it->second.kind == HandleKind::Registration) {
        ++m_badCloses;
        return Fail(kErrorInvalidHandle);
    }
    const HandleKind kind = it->second.kind;
    if (kind == HandleKind::Event) {
        ++m_eventsClosed;
        const auto pendingOnIt = std::remove_if(m_transfers.begin(), m_transfers.end(), [handle](const Transfer& t) {
            return t.event == handle && !t.completed;
        });
        m_eventsClosedWhilePending += static_cast<int>(m_transfers.end() - pendingOnIt);
        m_transfers.erase(pendingOnIt, m_transfers.end());
    }
    if (kind == HandleKind::Pipe) {
        // Closing a pipe ends its transfers, as the system does.
        for (Transfer& transfer : m_transfers) {
            if (transfer.pipe == handle && !transfer.completed) {
                transfer.script = FakeTransfer::Error(ERROR_OPERATION_ABORTED);
                Complete(transfer);
            }
        }
    }
    m_handles.erase(it);
    return TRUE;
}

// ---- Clock.

void FakePlatform::SetTickCount(DWORD now)
{
    m_nowMs = now;
}

void FakePlatform::AdvanceClock(DWORD milliseconds)
{
    Advance(milliseconds);
}

void FakePlatform::Sleep(DWORD milliseconds)
{
    m_sleeps.push_back(milliseconds);
    Advance(milliseconds);
}

void FakePlatform::Advance(DWORD milliseconds)
{
    m_nowMs += milliseconds;
    CompleteDueTransfers();
}

// ---- Device list.

void FakePlatform::AddDevice(const std::string& interfacePath)
{
    m_devices.push_back(interfacePath);
}

void FakePlatform::AddDeviceFirst(const std::string& interfacePath)
{
    m_devices.insert(m_devices.begin(), interfacePath);
}

void FakePlatform::ArriveDevice(const std::string& interfacePath)
{
    AddDevice(interfacePath);
    QueueDeviceNotice(DBT_DEVICEARRIVAL, interfacePath);
}

void FakePlatform::RemoveDevice(const std::string& interfacePath)
{
    m_devices.erase(std::remove(m_devices.begin(), m_devices.end(), interfacePath), m_devices.end());
    for (auto& [handle, entry] : m_handles) {
        if (entry.kind == HandleKind::Pipe && entry.device == interfacePath) {
            entry.dead = true;
            for (Transfer& transfer : m_transfers) {
                if (transfer.pipe == handle && !transfer.completed) {
                    transfer.script = FakeTransfer::Error(kErrorDeviceGone);
                    Complete(transfer);
                }
            }
        }
    }
    QueueDeviceNotice(DBT_DEVICEREMOVECOMPLETE, interfacePath);
}

void FakePlatform::FailDeviceList(DWORD error)
{
    m_failList = true;
    m_listError = error;
}

void FakePlatform::FailEnumerationAt(DWORD index, DWORD error)
{
    m_enumerationFailures[index] = error;
}

void FakePlatform::FailPathAt(DWORD index, DWORD error)
{
    m_pathFailures[index] = error;
}

HANDLE FakePlatform::GetClassDevs(const DeviceClassGuid& interfaceClass)
{
    if (m_failList) {
        m_lastError = m_listError;
        return INVALID_HANDLE_VALUE;
    }
    HandleEntry entry{HandleKind::DeviceList};
    if (SameClass(interfaceClass, kDeviceInterfaceClass)) {
        entry.devices = m_devices;
    }
    return NewHandle(entry);
}

BOOL FakePlatform::EnumDeviceInterface(HANDLE list, const DeviceClassGuid& interfaceClass, DWORD index)
{
    const HandleEntry* entry = Find(list, HandleKind::DeviceList);
    if (entry == nullptr) {
        return Fail(kErrorInvalidHandle);
    }
    auto failure = m_enumerationFailures.find(index);
    if (failure != m_enumerationFailures.end()) {
        return Fail(failure->second);
    }
    if (!SameClass(interfaceClass, kDeviceInterfaceClass) || index >= entry->devices.size()) {
        return Fail(ERROR_NO_MORE_ITEMS);
    }
    return TRUE;
}

BOOL FakePlatform::GetDeviceInterfacePath(HANDLE list, DWORD index, char* path, DWORD recordSize,
                                          DWORD* requiredSize)
{
    const HandleEntry* entry = Find(list, HandleKind::DeviceList);
    if (entry == nullptr) {
        return Fail(kErrorInvalidHandle);
    }
    auto failure = m_pathFailures.find(index);
    if (failure != m_pathFailures.end()) {
        return Fail(failure->second);
    }
    if (index >= entry->devices.size()) {
        return Fail(ERROR_NO_MORE_ITEMS);
    }
    const std::string& device = entry->devices[index];
    const std::size_t needed = kDetailRecordHeaderSize + device.size() + 1;
    if (requiredSize != nullptr) {
        *requiredSize = static_cast<DWORD>(needed);
    }
    if (needed > recordSize) {
        return Fail(ERROR_INSUFFICIENT_BUFFER);
    }
    std::memcpy(path, device.c_str(), device.size() + 1);
    return TRUE;
}

void FakePlatform::DestroyDeviceInfoList(HANDLE list)
{
    if (Find(list, HandleKind::DeviceList) == nullptr) {
        ++m_badCloses;
        return;
    }
    m_handles.erase(list);
}

// ---- Pipes.

void FakePlatform::RefusePipe(const std::string& pipePath, DWORD error)
{
    m_refusedPipes[pipePath] = error;
}

HANDLE FakePlatform::OpenPipe(const char* pipePath, PipeAccess access)
{
    const std::string path = pipePath != nullptr ? pipePath : "";
    m_pipeOpens.push_back({path, access, false});
    auto refused = m_refusedPipes.find(path);
    if (refused != m_refusedPipes.end()) {
        m_lastError = refused->second;
        return INVALID_HANDLE_VALUE;
    }
    for (const std::string& device : m_devices) {
        const bool writePipe = path == WritePipeOf(device);
        if (!writePipe && path != ReadPipeOf(device)) {
            continue;
        }
        if (access != (writePipe ? PipeAccess::Write : PipeAccess::Read)) {
            m_lastError = kErrorAccessDenied;
            return INVALID_HANDLE_VALUE;
        }
        HandleEntry entry{HandleKind::Pipe};
        entry.name = path;
        entry.device = device;
        entry.access = access;
        m_pipeOpens.back().opened = true;
        return NewHandle(entry);
    }
    m_lastError = kErrorFileNotFound;
    return INVALID_HANDLE_VALUE;
}

// ---- Device notices.

HANDLE FakePlatform::RegisterDeviceNotification(WindowHandle window, const DevBroadcastDeviceInterface& filter)
{
    m_lastFilter = filter;
    if (m_failRegistration) {
        m_lastError = kErrorInvalidParameter;
        return nullptr;
    }
    HandleEntry entry{HandleKind::Registration};
    entry.window = window;
    entry.filterClass = filter.dbcc_devicetype == DBT_DEVTYP_DEVICEINTERFACE ? filter.dbcc_classguid
                                                                              : DeviceClassGuid{};
    return NewHandle(entry);
}

BOOL FakePlatform::UnregisterDeviceNotification(HANDLE registration)
{
    if (Find(registration, HandleKind::Registration) == nullptr) {
        ++m_badCloses;
        return Fail(kErrorInvalidHandle);
    }
    m_handles.erase(registration);
    return TRUE;
}

void FakePlatform::QueueDeviceNotice(UINT eventType, const std::string& interfacePath)
{
    const std::size_t nameOffset = offsetof(DevBroadcastDeviceInterface, dbcc_name);
    std::vector<BYTE> record(nameOffset + interfacePath.size() + 1, 0);
    DevBroadcastDeviceInterface header = {};
    header.dbcc_size = static_cast<DWORD>(record.size());
    header.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    header.dbcc_classguid = kDeviceInterfaceClass;
    std::memcpy(record.data(), &header, nameOffset);
    std::memcpy(record.data() + nameOffset, interfacePath.c_str(), interfacePath.size() + 1);

    for (const auto& [handle, entry] : m_handles) {
        if (entry.kind == HandleKind::Registration && SameClass(entry.filterClass, kDeviceInterfaceClass)) {
            QueueNotice(DeviceNotice{entry.window, eventType, record});
        }
    }
}

void FakePlatform::QueueNotice(const DeviceNotice& notice)
{
    m_notices.push_back(notice);
}

bool FakePlatform::TakeDeviceNotice(DeviceNotice* notice)
{
    if (m_notices.empty()) {
        return false;
    }
    *notice = m_notices.front();
    m_notices.pop_front();
    return true;
}

// ---- The program's executable.

void FakePlatform::SetModuleFileName(const std::string& path)
{
    m_knowsModuleFileName = true;
    m_moduleFileName = path;
}

bool FakePlatform::GetModuleFileName(std::string* path)
{
    if (!m_knowsModuleFileName) {
        return false;
    }
    *path = m_moduleFileName;
    return true;
}

// ---- Waits: events of transfers and named mutexes.

DWORD FakePlatform::WaitForSingleObject(HANDLE object, DWORD milliseconds)
{
    if (Find(object, HandleKind::Event) != nullptr) {
        return WaitForEvent(object, milliseconds);
    }
    if (Find(object, HandleKind::Mutex) != nullptr) {
        return WaitForMutex(object, milliseconds);
    }
    m_lastError = kErrorInvalidHandle;
    return WAIT_FAILED;
}
