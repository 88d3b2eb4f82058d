// Fuzz target: the program's side of the bus framing, driven through the
// POSIX platform against a device on a private bus whose bytes come from the
// input: completions of any length and content, sent in any pieces, and
// connections closed at any byte by either side; transfers given up while
// pending. Every completion must be what the framing says (checked against a
// plain model of it), every request frame must reach the device intact, no
// completion may touch a buffer that was given back, and nothing may block.
//
// Input: a sequence of operations, each one byte (kind in the low 3 bits, the
// pipe in bit 3, a variant in bit 4) and its arguments.
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "platform/CPlatform.h"
#include "support/BusFramingModel.h"
#include "support/PrivateBus.h"

namespace {

void Require(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "broken: %s\n", what);
        std::abort();
    }
}

class Input {
public:
    Input(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}
    bool Empty() const { return m_at >= m_size; }
    std::uint8_t Byte() { return m_at < m_size ? m_data[m_at++] : 0; }
    std::string Bytes(std::size_t count)
    {
        const std::size_t taken = std::min(count, m_size - std::min(m_at, m_size));
        std::string bytes(reinterpret_cast<const char*>(m_data) + m_at, taken);
        m_at += taken;
        return bytes;
    }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_at = 0;
};

std::string Word(std::uint32_t value)
{
    std::string word(4, '\0');
    for (int i = 0; i < 4; ++i) {
        word[static_cast<std::size_t>(i)] = static_cast<char>(value >> (8 * i));
    }
    return word;
}

// One transfer as the program holds it: its own event, record and storage,
// each allocated apart so that a late completion into released storage shows.
struct Transfer {
    std::size_t modelId = 0;
    HANDLE event = nullptr;
    std::unique_ptr<Overlapped> overlapped;
    std::unique_ptr<std::uint8_t[]> storage;
    DWORD size = 0;
    bool settled = false;  // its outcome has been checked, or it was given up
};

// One pipe: the program's handle, the device's end and the model.
struct Pipe {
    explicit Pipe(bool isWrite) : model(isWrite) {}
    PipeAccess access = PipeAccess::Write;
    HANDLE handle = INVALID_HANDLE_VALUE;
    int deviceFd = -1;
    BusFramingModel model;
    std::string expectedRequests;  // every request frame, in order
    std::string receivedRequests;  // what reached the device
    std::vector<Transfer> transfers;
};

class Session {
public:
    explicit Session(PrivateBus& bus) : m_pipes{Pipe(true), Pipe(false)}
    {
        m_pipes[1].access = PipeAccess::Read;
        for (Pipe& pipe : m_pipes) {
            pipe.handle = Platform().OpenPipe(bus.PipePath(pipe.access).c_str(), pipe.access);
            Require(pipe.handle != INVALID_HANDLE_VALUE, "the pipe opens");
            pipe.deviceFd = bus.Accept(pipe.access);
            Require(pipe.deviceFd >= 0, "the device takes the connection");
        }
    }

    ~Session()
    {
        for (Pipe& pipe : m_pipes) {
            CloseDevice(pipe);
            CheckEveryTransfer(pipe);
            for (Transfer& transfer : pipe.transfers) {
                Require(transfer.settled, "every transfer ends once the device is gone");
            }
            if (pipe.handle != INVALID_HANDLE_VALUE) {
                Platform().CloseHandle(pipe.handle);
            }
            for (Transfer& transfer : pipe.transfers) {
                if (transfer.event != nullptr) {
                    Platform().CloseHandle(transfer.event);
                }
            }
        }
    }

    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    void Run(Input& input)
    {
        while (!input.Empty()) {
            const std::uint8_t op = input.Byte();
            Pipe& pipe = m_pipes[(op >> 3) & 1];
            const bool variant = ((op >> 4) & 1) != 0;
            switch (op & 7) {
            case 0:
            case 1:
                StartTransfer(pipe, variant ? DWORD{input.Byte()} * 300 : DWORD{input.Byte()});
                break;
            case 2:
                DeviceSends(pipe, input.Bytes(input.Byte()));
                break;
            case 3:
                DeviceCompletes(pipe, input, variant);
                break;
            case 4:
                GiveUp(pipe, input.Byte());
                break;
            case 5:
                CloseDevice(pipe);
                break;
            case 6:
                CloseProgram(pipe);
                break;
            default:
                DeviceSends(pipe, Word(input.Byte()) + Word(variant ? 0xFFFFFFF0u : input.Byte()));
                break;
            }
            for (Pipe& each : m_pipes) {
                DrainRequests(each);
                CheckEveryTransfer(each);
            }
        }
    }

private:
    void StartTransfer(Pipe& pipe, DWORD size)
    {
        const bool isWrite = pipe.access == PipeAccess::Write;
        const std::size_t number = pipe.transfers.size();
        Transfer transfer;
        transfer.size = size;
        transfer.storage.reset(new std::uint8_t[size == 0 ? 1 : size]);
        for (DWORD i = 0; i < size; ++i) {
            transfer.storage[i] = static_cast<std::uint8_t>(number * 31 + i);
        }
        transfer.overlapped.reset(new Overlapped());
        transfer.event = Platform().CreateEvent();
        Require(transfer.event != nullptr, "an event");
        transfer.overlapped->hEvent = transfer.event;

        const bool queued = pipe.handle != INVALID_HANDLE_VALUE;
        if (queued && !pipe.model.DeviceHasClosed()) {
            pipe.expectedRequests += Word(size);
            if (isWrite) {
                pipe.expectedRequests.append(reinterpret_cast<const char*>(transfer.storage.get()), size);
            }
        }
        transfer.modelId = pipe.model.Start(size);
        DWORD transferred = 0xDEADBEEF;
        void* storage = size == 0 ? nullptr : transfer.storage.get();
        const BOOL done = isWrite
                              ? Platform().WriteFile(pipe.handle, storage, size, &transferred, transfer.overlapped.get())
                              : Platform().ReadFile(pipe.handle, storage, size, &transferred, transfer.overlapped.get());
        const DWORD error = done ? 0 : Platform().GetLastError();
        const BusFramingModel::Outcome& expected = pipe.model.OutcomeOf(transfer.modelId);
        if (expected.mayFailInstead && !done && error == ENODEV) {
            transfer.settled = true;
        } else if (!expected.complete) {
            Require(!done && error == ERROR_IO_PENDING, "pending while no completion came");
        } else if (expected.error == 0) {
            Require(done && transferred == expected.count, "completed at once with its count");
        } else {
            Require(!done && error == expected.error, "failed at once with its error");
        }
        if (pipe.handle == INVALID_HANDLE_VALUE) {
            // Refused before it started: nothing of it remains with the system.
            transfer.settled = true;
        }
        pipe.transfers.push_back(std::move(transfer));
    }

    void DeviceSends(Pipe& pipe, const std::string& bytes)
    {
        if (pipe.model.DeviceHasClosed() || bytes.empty()) {
            return;
        }
        const ssize_t sent = ::send(pipe.deviceFd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (pipe.model.ProgramHasClosed()) {
            return;  // nobody reads it any more
        }
        Require(sent == static_cast<ssize_t>(bytes.size()), "the device's bytes go out whole");
        pipe.model.DeviceSent(bytes);
    }

    // A completion of the framing's form: status, count or length, the data.
    void DeviceCompletes(Pipe& pipe, Input& input, bool failed)
    {
        const std::uint32_t status = failed ? input.Byte() : 0;
        const std::uint8_t length = input.Byte();
        std::string completion = Word(status) + Word(length);
        if (pipe.access == PipeAccess::Read) {
            completion += input.Bytes(length);
            completion.resize(8 + std::size_t{length}, '.');
        }
        DeviceSends(pipe, completion);
    }

    void GiveUp(Pipe& pipe, std::uint8_t which)
    {
        if (pipe.transfers.empty()) {
            return;
        }
        Transfer& transfer = pipe.transfers[which % pipe.transfers.size()];
        if (transfer.overlapped == nullptr) {
            return;
        }
        const BusFramingModel::Outcome& expected = pipe.model.OutcomeOf(transfer.modelId);
        Platform().CancelTransfer(pipe.handle, transfer.overlapped.get());
        if (pipe.handle != INVALID_HANDLE_VALUE && !expected.complete) {
            Require(transfer.overlapped->Internal == ERROR_OPERATION_ABORTED, "a transfer given up is aborted");
        }
        // The caller's storage goes at once; the late completion must not touch it.
        transfer.overlapped.reset();
        transfer.storage.reset();
        Platform().CloseHandle(transfer.event);
        transfer.event = nullptr;
        transfer.settled = true;
    }

    void CloseDevice(Pipe& pipe)
    {
        if (pipe.deviceFd >= 0) {
            ::close(pipe.deviceFd);
            pipe.deviceFd = -1;
            pipe.model.DeviceClosed();
        }
    }

    void CloseProgram(Pipe& pipe)
    {
        if (pipe.handle != INVALID_HANDLE_VALUE) {
            // What came in before the close has been taken by the checks.
            Require(Platform().CloseHandle(pipe.handle) == TRUE, "the pipe closes");
            pipe.handle = INVALID_HANDLE_VALUE;
            pipe.model.ProgramClosed();
        }
    }

    void DrainRequests(Pipe& pipe)
    {
        if (pipe.deviceFd < 0) {
            return;
        }
        static char chunk[65536];
        for (;;) {
            const ssize_t got = ::recv(pipe.deviceFd, chunk, sizeof chunk, MSG_DONTWAIT);
            if (got <= 0) {
                break;
            }
            pipe.receivedRequests.append(chunk, static_cast<std::size_t>(got));
        }
        Require(pipe.expectedRequests.compare(0, pipe.receivedRequests.size(), pipe.receivedRequests) == 0,
                "request frames reach the device as sent");
        if (pipe.handle != INVALID_HANDLE_VALUE && !pipe.model.DeviceHasClosed()) {
            Require(pipe.receivedRequests.size() == pipe.expectedRequests.size(), "request frames go out at once");
        }
    }

    void CheckEveryTransfer(Pipe& pipe)
    {
        for (Transfer& transfer : pipe.transfers) {
            if (!transfer.settled) {
                Check(pipe, transfer);
            }
        }
    }

    // A wait that does not block: signalled exactly when the model has the
    // completion, and then the completion is the model's.
    void Check(Pipe& pipe, Transfer& transfer)
    {
        const BusFramingModel::Outcome& expected = pipe.model.OutcomeOf(transfer.modelId);
        const DWORD wait = Platform().WaitForSingleObject(transfer.event, 0);
        if (wait == WAIT_TIMEOUT) {
            Require(!expected.complete, "a completed transfer signals its event");
            return;
        }
        Require(wait == WAIT_OBJECT_0, "a wait ends signalled or timed out");
        Require(expected.complete, "signalled only when its completion came");
        const Overlapped& record = *transfer.overlapped;
        if (expected.mayFailInstead && record.Internal == ENODEV) {
            transfer.settled = true;
            return;
        }
        Require(record.Internal == expected.error, "the completion's status");
        Require(record.InternalHigh == expected.count, "the completion's count");
        if (pipe.handle != INVALID_HANDLE_VALUE) {
            DWORD transferred = 0;
            const BOOL ok = Platform().GetOverlappedResult(pipe.handle, transfer.overlapped.get(), &transferred, FALSE);
            Require(ok == (expected.error == 0 ? TRUE : FALSE), "the result says success or failure");
            Require(ok ? transferred == expected.count : Platform().GetLastError() == expected.error,
                    "the result's count or error");
        }
        if (pipe.access == PipeAccess::Read && expected.error == 0) {
            Require(std::string(reinterpret_cast<const char*>(transfer.storage.get()), expected.count) ==
                        expected.data,
                    "the read keeps the first bytes of its completion");
        }
        transfer.settled = true;
    }

    Pipe m_pipes[2];
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static PrivateBus bus;
    Input input(data, size);
    Session session(bus);
    session.Run(input);
    return 0;
}
