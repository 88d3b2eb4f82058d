// What the program's side of the bus framing must make of the bytes a device
// sends on one pipe, written out plainly: the completions of the transfers in
// the order they were started (write: status, count; read: status, length and
// the data, of which the buffer keeps what fits), a device that closes the
// connection failing what is left with ENODEV, a program that closes the pipe
// aborting it.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "platform/PlatformTypes.h"

class BusFramingModel {
public:
    struct Outcome {
        bool complete = false;
        DWORD error = 0;
        DWORD count = 0;
        std::string data;  // what a read keeps in its buffer
        // Started after the device closed: it may take a completion the device
        // sent ahead of time, or fail with ENODEV; both are sound.
        bool mayFailInstead = false;
    };

    explicit BusFramingModel(bool isWrite) : m_isWrite(isWrite) {}

    // A transfer queued behind the others: for a write the bytes asked for,
    // for a read the buffer's size. Its number.
    std::size_t Start(DWORD requested);
    void DeviceSent(const std::string& bytes);
    // Whatever the device sent before is still delivered to the transfers
    // that were waiting for it.
    void DeviceClosed();
    void ProgramClosed();
    bool DeviceHasClosed() const { return m_deviceClosed; }
    bool ProgramHasClosed() const { return m_programClosed; }
    const Outcome& OutcomeOf(std::size_t transfer) const { return m_transfers[transfer].outcome; }

private:
    struct Entry {
        DWORD requested;
        Outcome outcome;
    };

    void Parse();
    void FailRest(DWORD error);

    bool m_isWrite;
    bool m_deviceClosed = false;
    bool m_programClosed = false;
    std::vector<Entry> m_transfers;
    std::size_t m_firstOpen = 0;  // the first transfer without its completion
    std::string m_stream;         // every byte the device sent
    std::size_t m_parsed = 0;     // the bytes of m_stream taken by completions
};
