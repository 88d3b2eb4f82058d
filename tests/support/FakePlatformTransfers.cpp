// The scripted platform: overlapped transfers on the fake pipes.
#include "support/FakePlatform.h"

#include <algorithm>
#include <cstring>

void FakePlatform::ScriptWrite(const std::string& interfacePath, const FakeTransfer& transfer)
{
    m_scripts[WritePipeOf(interfacePath)].push_back(transfer);
}

void FakePlatform::ScriptRead(const std::string& interfacePath, const FakeTransfer& transfer)
{
    m_scripts[ReadPipeOf(interfacePath)].push_back(transfer);
}

std::vector<std::string> FakePlatform::Writes(const std::string& interfacePath) const
{
    auto it = m_writes.find(interfacePath);
    return it != m_writes.end() ? it->second : std::vector<std::string>();
}

std::vector<DWORD> FakePlatform::ReadSizes(const std::string& interfacePath) const
{
    auto it = m_readSizes.find(interfacePath);
    return it != m_readSizes.end() ? it->second : std::vector<DWORD>();
}

HANDLE FakePlatform::CreateEvent()
{
    if (m_failEvents) {
        m_lastError = ERROR_OUTOFMEMORY;
        return nullptr;
    }
    ++m_eventsCreated;
    return NewHandle(HandleEntry{HandleKind::Event});
}

BOOL FakePlatform::WriteFile(HANDLE pipe, const void* bytes, DWORD count, DWORD* transferred,
                             Overlapped* overlapped)
{
    return StartTransfer(pipe, false, const_cast<void*>(bytes), count, transferred, overlapped);
}

BOOL FakePlatform::ReadFile(HANDLE pipe, void* buffer, DWORD size, DWORD* transferred, Overlapped* overlapped)
{
    return StartTransfer(pipe, true, buffer, size, transferred, overlapped);
}

BOOL FakePlatform::StartTransfer(HANDLE pipe, bool isRead, void* buffer, DWORD size, DWORD* transferred,
                                 Overlapped* overlapped)
{
    const HandleEntry* entry = Find(pipe, HandleKind::Pipe);
    if (entry == nullptr) {
        return Fail(kErrorInvalidHandle);
    }
    if (entry->access != (isRead ? PipeAccess::Read : PipeAccess::Write)) {
        return Fail(kErrorAccessDenied);
    }
    if (isRead) {
        m_readSizes[entry->device].push_back(size);
    } else {
        m_writes[entry->device].push_back(std::string(static_cast<const char*>(buffer), size));
    }
    if (entry->dead) {
        return Fail(kErrorDeviceGone);
    }

    std::deque<FakeTransfer>& script = m_scripts[entry->name];
    FakeTransfer next = isRead ? FakeTransfer::Never() : FakeTransfer::Whole();
    if (!script.empty()) {
        next = script.front();
        script.pop_front();
    }

    Transfer transfer{pipe, overlapped->hEvent, overlapped, buffer, size, isRead, next, m_nowMs};
    if (next.ending == FakeTransfer::Ending::FailAtOnce) {
        *transferred = next.count;
        return Fail(next.error);
    }
    if (!next.IsPending()) {
        Complete(transfer);
        *transferred = transfer.count;
        return TRUE;
    }
    m_transfers.push_back(transfer);
    return Fail(ERROR_IO_PENDING);
}

void FakePlatform::Complete(Transfer& transfer)
{
    const FakeTransfer& script = transfer.script;
    transfer.completed = true;
    transfer.succeeded = script.ending == FakeTransfer::Ending::Complete ? TRUE : FALSE;
    transfer.error = transfer.succeeded ? 0 : script.error;
    if (!transfer.succeeded) {
        transfer.count = script.wholeCount ? 0 : script.count;
        return;
    }
    if (transfer.isRead) {
        // Never more than the buffer holds, as the system keeps it.
        const DWORD delivered = std::min<DWORD>(static_cast<DWORD>(script.reply.size()), transfer.size);
        if (delivered > 0) {
            std::memcpy(transfer.buffer, script.reply.data(), delivered);
        }
        transfer.count = script.wholeCount ? delivered : script.count;
    } else {
        transfer.count = script.wholeCount ? transfer.size : script.count;
    }
}

bool FakePlatform::IsDue(const Transfer& transfer) const
{
    const FakeTransfer::Ending ending = transfer.script.ending;
    if (ending == FakeTransfer::Ending::Never || ending == FakeTransfer::Ending::WaitFails ||
        ending == FakeTransfer::Ending::SignalledEarly) {
        return false;
    }
    return m_nowMs - transfer.startedAt >= transfer.script.delayMs;
}

void FakePlatform::CompleteDueTransfers()
{
    for (Transfer& transfer : m_transfers) {
        if (!transfer.completed && IsDue(transfer)) {
            Complete(transfer);
        }
    }
}

FakePlatform::Transfer* FakePlatform::FindTransfer(const Overlapped* overlapped)
{
    auto it = std::find_if(m_transfers.begin(), m_transfers.end(),
                           [overlapped](const Transfer& t) { return t.overlapped == overlapped; });
    return it != m_transfers.end() ? &*it : nullptr;
}

DWORD FakePlatform::WaitForEvent(HANDLE event, DWORD milliseconds)
{
    m_eventWaits.push_back(milliseconds);
    auto it = std::find_if(m_transfers.begin(), m_transfers.end(),
                           [event](const Transfer& t) { return t.event == event; });
    if (it != m_transfers.end() && it->completed) {
        return WAIT_OBJECT_0;
    }
    if (it != m_transfers.end() && it->script.ending == FakeTransfer::Ending::SignalledEarly) {
        return WAIT_OBJECT_0;
    }
    if (it != m_transfers.end() && it->script.ending == FakeTransfer::Ending::WaitFails) {
        m_lastError = kErrorInvalidHandle;
        return WAIT_FAILED;
    }
    const bool completes = it != m_transfers.end() && it->script.ending != FakeTransfer::Ending::Never;
    if (completes) {
        const std::uint64_t elapsed = m_nowMs - it->startedAt;
        const std::uint64_t remaining = it->script.delayMs > elapsed ? it->script.delayMs - elapsed : 0;
        if (remaining <= milliseconds) {
            Advance(static_cast<DWORD>(remaining));
            if (!it->completed) {
                Complete(*it);
            }
            return WAIT_OBJECT_0;
        }
    }
    if (milliseconds == kInfinite) {
        // Nothing will ever signal it: fail instead of hanging the test.
        m_lastError = kErrorInvalidParameter;
        return WAIT_FAILED;
    }
    Advance(milliseconds);
    return WAIT_TIMEOUT;
}

BOOL FakePlatform::GetOverlappedResult(HANDLE pipe, Overlapped* overlapped, DWORD* transferred, BOOL /*wait*/)
{
    Transfer* transfer = FindTransfer(overlapped);
    if (transfer == nullptr || transfer->pipe != pipe) {
        return Fail(kErrorInvalidParameter);
    }
    if (!transfer->completed) {
        return Fail(ERROR_IO_INCOMPLETE);
    }
    *transferred = transfer->count;
    const BOOL succeeded = transfer->succeeded;
    const DWORD error = transfer->error;
    m_transfers.erase(m_transfers.begin() + (transfer - m_transfers.data()));
    return succeeded ? TRUE : Fail(error);
}

void FakePlatform::CancelTransfer(HANDLE /*pipe*/, Overlapped* overlapped)
{
    ++m_cancels;
    Transfer* transfer = FindTransfer(overlapped);
    if (transfer != nullptr) {
        m_transfers.erase(m_transfers.begin() + (transfer - m_transfers.data()));
    }
}
