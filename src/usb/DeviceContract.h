// What the program relies on about the device and its driver: the interface
// class, the pipes, the transfer time-out, the acknowledge bytes and the
// identity queries. The device (or any simulation of it) honours exactly this.
#pragma once

// The device interface class, kDeviceInterfaceClass: the platform's, since
// the Linux backends present their devices under it.
#include "platform/DeviceInterfaceClass.h"
#include "platform/PlatformTypes.h"

// Appended to the interface path: the pipe to the device (written) and the
// pipe from it (read).
inline constexpr char kWritePipeSuffix[] = "\\PIPE02";
inline constexpr char kReadPipeSuffix[] = "\\PIPE03";

// The detail record that receives an interface path, and the largest record
// size accepted (4 bytes of header, 500 characters, the terminator).
inline constexpr DWORD kDetailRecordSize = 512;
inline constexpr DWORD kDetailRecordHeaderSize = 4;
inline constexpr DWORD kMaxDetailRequiredSize = 505;

// The longest wait for a pending write or read, counted from the moment the
// transfer was found pending.
inline constexpr DWORD kTransferTimeoutMs = 5000;

// The two-byte acknowledge of a flash-file record.
inline constexpr unsigned char kAckLead = 0x10;          // DLE
inline constexpr unsigned char kAckAccepted = 0x06;      // ACK: taken
inline constexpr unsigned char kAckRejected = 0x15;      // NAK: refused, send again
inline constexpr unsigned char kAckProgrammed = 0x04;    // EOT: taken, programming carried out
inline constexpr int kAcknowledgeLength = 2;
inline constexpr int kAcknowledgeBufferSize = 10;
inline constexpr int kMaxRecordSends = 3;

// Identity queries: "?" and one letter; the reply is 0 to 64 bytes of text.
inline constexpr char kQuerySerialNumber = 'S';
inline constexpr char kQueryProductName = 'P';
inline constexpr char kQueryManufacturer = 'M';
inline constexpr char kQueryVersion = 'V';
inline constexpr char kQueryErrorInfo = 'E';
inline constexpr int kQueryCommandLength = 2;
inline constexpr int kQueryReplyBufferSize = 64;
