// The flash file, read record by record.
#include "flash/CFlashFileReader.h"

#include <cstring>

#include "platform/CPlatform.h"

namespace {
constexpr char kLineFeed = 0x0A;

// The white space around a record: tab, line feed, vertical tab, form feed,
// carriage return and blank. 0x1A and every other byte belong to the record.
bool IsWhiteSpace(char byte)
{
    return (byte >= 0x09 && byte <= 0x0D) || byte == 0x20;
}

void StripTrailingWhiteSpace(std::string& line)
{
    std::size_t length = line.size();
    while (length > 0 && IsWhiteSpace(line[length - 1])) {
        --length;
    }
    line.resize(length);
}
}  // namespace

CFlashFileReader::CFlashFileReader() : m_hFile(INVALID_HANDLE_VALUE) {}

CFlashFileReader::~CFlashFileReader()
{
    Close();
}

bool CFlashFileReader::Open(const char* path)
{
    Close();
    m_hFile = Platform().OpenFileExclusive(path);
    if (m_hFile == INVALID_HANDLE_VALUE) {
        m_dwError = Platform().GetLastError();
        return false;
    }
    std::uint64_t size = 0;
    m_size = Platform().GetFileSize(m_hFile, &size) ? size : 0;
    m_chunk.resize(kChunkBytes);
    return true;
}

void CFlashFileReader::Close()
{
    if (m_hFile != INVALID_HANDLE_VALUE) {
        Platform().CloseHandle(m_hFile);
        m_hFile = INVALID_HANDLE_VALUE;
    }
    m_next = m_end = 0;
    m_bAtEnd = m_bFailed = false;
    m_position = 0;
    m_line.clear();
    m_line.shrink_to_fit();
}

bool CFlashFileReader::IsOpen() const
{
    return m_hFile != INVALID_HANDLE_VALUE;
}

bool CFlashFileReader::Fill()
{
    if (m_bAtEnd || m_bFailed || !IsOpen()) {
        return false;
    }
    DWORD read = 0;
    if (!Platform().ReadFileBytes(m_hFile, m_chunk.data(), kChunkBytes, &read)) {
        m_dwError = Platform().GetLastError();
        m_bFailed = true;
        return false;
    }
    if (read == 0) {
        m_bAtEnd = true;
        return false;
    }
    m_next = 0;
    m_end = read;
    return true;
}

CFlashFileReader::Result CFlashFileReader::NextRecord(CString* record)
{
    m_line.clear();
    for (;;) {
        if (m_next == m_end && !Fill()) {
            if (m_bFailed) {
                return Result::ReadError;
            }
            // The last line needs no line end.
            StripTrailingWhiteSpace(m_line);
            if (m_line.empty()) {
                return Result::End;
            }
            *record = CString(m_line);
            return Result::Record;
        }
        const char* const begin = m_chunk.data() + m_next;
        const std::size_t available = m_end - m_next;
        const auto* lineFeed = static_cast<const char*>(std::memchr(begin, kLineFeed, available));
        const std::size_t taken = lineFeed != nullptr ? static_cast<std::size_t>(lineFeed - begin) : available;
        // Leading white space is never kept: a long blank line costs nothing.
        std::size_t skipped = 0;
        if (m_line.empty()) {
            while (skipped < taken && IsWhiteSpace(begin[skipped])) {
                ++skipped;
            }
        }
        if (taken - skipped > kMaxRecordBytes - m_line.size()) {
            return Result::TooLong;
        }
        m_line.append(begin + skipped, taken - skipped);
        const std::size_t consumed = taken + (lineFeed != nullptr ? 1 : 0);
        m_next += consumed;
        m_position += consumed;
        if (lineFeed == nullptr) {
            continue;
        }
        StripTrailingWhiteSpace(m_line);
        if (!m_line.empty()) {
            *record = CString(m_line);
            return Result::Record;
        }
        // A blank line is neither sent nor counted.
    }
}
