// The scripted platform: flash files in memory.
#include "support/FakePlatform.h"

#include <algorithm>
#include <cstring>

void FakePlatform::AddFile(const std::string& path, const std::string& bytes)
{
    m_files[path].bytes = bytes;
}

void FakePlatform::RefuseFileOpen(const std::string& path, DWORD error)
{
    MemoryFile& file = m_files[path];
    file.refused = true;
    file.refuseError = error;
}

void FakePlatform::FailFileReadAfter(const std::string& path, std::size_t bytes)
{
    MemoryFile& file = m_files[path];
    file.failsAfter = true;
    file.failAfter = bytes;
}

void FakePlatform::ReportFileSizeZero(const std::string& path)
{
    m_files[path].sizeZero = true;
}

bool FakePlatform::IsFileOpen(const std::string& path) const
{
    return std::any_of(m_handles.begin(), m_handles.end(), [&path](const auto& entry) {
        return entry.second.kind == HandleKind::File && entry.second.name == path;
    });
}

HANDLE FakePlatform::OpenFileExclusive(const char* path)
{
    const std::string filePath = path != nullptr ? path : "";
    auto it = m_files.find(filePath);
    if (it == m_files.end()) {
        m_lastError = kErrorFileNotFound;
        return INVALID_HANDLE_VALUE;
    }
    if (it->second.refused) {
        m_lastError = it->second.refuseError;
        return INVALID_HANDLE_VALUE;
    }
    if (IsFileOpen(filePath)) {
        m_lastError = kErrorSharingViolation;
        return INVALID_HANDLE_VALUE;
    }
    HandleEntry entry{HandleKind::File};
    entry.name = filePath;
    return NewHandle(entry);
}

BOOL FakePlatform::ReadFileBytes(HANDLE handle, void* buffer, DWORD size, DWORD* read)
{
    HandleEntry* entry = Find(handle, HandleKind::File);
    if (entry == nullptr) {
        return Fail(kErrorInvalidHandle);
    }
    const MemoryFile& file = m_files[entry->name];
    *read = 0;
    std::size_t end = file.bytes.size();
    if (file.failsAfter) {
        if (entry->position >= file.failAfter && entry->position < end) {
            return Fail(kErrorReadFault);
        }
        end = std::min(end, file.failAfter);
    }
    const std::size_t count = std::min<std::size_t>(size, end - std::min(end, entry->position));
    if (count > 0) {
        std::memcpy(buffer, file.bytes.data() + entry->position, count);
    }
    entry->position += count;
    *read = static_cast<DWORD>(count);
    return TRUE;
}

BOOL FakePlatform::GetFileSize(HANDLE handle, std::uint64_t* size)
{
    const HandleEntry* entry = Find(handle, HandleKind::File);
    if (entry == nullptr) {
        return Fail(kErrorInvalidHandle);
    }
    const MemoryFile& file = m_files[entry->name];
    *size = file.sizeZero ? 0 : file.bytes.size();
    return TRUE;
}
