// The flash file, read record by record: one non-blank line each, stripped of
// the bytes 0x09 to 0x0D and 0x20 at both ends. The file is read in chunks;
// only the line in hand is kept, never the whole file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "framework/AfxTypes.h"
#include "framework/CString.h"

class CFlashFileReader {
public:
    enum class Result {
        Record,     // a record is in hand
        End,        // no record is left
        ReadError,  // the system failed a read (its code in LastError)
        TooLong,    // a line beyond what one transfer can carry
    };

    CFlashFileReader();
    // Closes the file.
    ~CFlashFileReader();
    CFlashFileReader(const CFlashFileReader&) = delete;
    CFlashFileReader& operator=(const CFlashFileReader&) = delete;

    // Opens the existing file for reading, shared with nobody. False when it
    // cannot be opened (missing, denied, in use elsewhere).
    bool Open(const char* path);
    void Close();
    bool IsOpen() const;

    // The next record; lines that are blank once stripped are skipped.
    Result NextRecord(CString* record);

    // Bytes of the file taken so far: through the line end of the record in
    // hand, blank lines and line ends before it included.
    std::uint64_t Position() const { return m_position; }
    // The size the system reported when the file was opened; 0 when it
    // reports none (a pipe, a device file).
    std::uint64_t Size() const { return m_size; }
    DWORD LastError() const { return m_dwError; }

    // The longest record one transfer can carry.
    static const std::size_t kMaxRecordBytes = 0x7FFFFFFF;
    // How much of the file is read at a time.
    static const DWORD kChunkBytes = 64 * 1024;

private:
    // Reads the next chunk; false at the end of the file or on a failure.
    bool Fill();

    HANDLE m_hFile;
    std::vector<char> m_chunk;
    std::size_t m_next = 0;
    std::size_t m_end = 0;
    bool m_bAtEnd = false;
    bool m_bFailed = false;
    std::uint64_t m_position = 0;
    std::uint64_t m_size = 0;
    DWORD m_dwError = 0;
    std::string m_line;
};
