// Records per second through CUsbDevice::SendLine against a device that
// answers at once, and the same frames exchanged by a bare socket loop on the
// same bus in the same run: what the device object, its error checks and the
// platform layer add to the bus traffic itself.
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include "BenchDevice.h"
#include "BenchRecords.h"
#include "framework/CWindowSystem.h"
#include "platform/CPlatform.h"
#include "usb/CUsbDevice.h"

namespace {
const int kRecords = 50000;
const int kRounds = 3;

// The bare side: the bus's framing spoken directly on the two sockets.
class BarePipes {
public:
    explicit BarePipes(const std::string& bus)
    {
        const int directory = open(bus.c_str(), O_RDONLY | O_DIRECTORY);
        const std::string device = FirstMarker(bus);
        m_write = Connect(directory, device + "\\PIPE02");
        m_read = Connect(directory, device + "\\PIPE03");
        close(directory);
    }
    ~BarePipes()
    {
        close(m_write);
        close(m_read);
    }
    BarePipes(const BarePipes&) = delete;
    BarePipes& operator=(const BarePipes&) = delete;

    bool Ok() const { return m_write >= 0 && m_read >= 0; }

    // One write transfer and one read transfer of up to 10 bytes.
    bool Exchange(const std::string& record)
    {
        std::uint32_t length = static_cast<std::uint32_t>(record.size());
        std::string frame(reinterpret_cast<const char*>(&length), 4);
        frame += record;
        std::uint32_t completion[2];
        if (!SendAll(m_write, frame.data(), frame.size()) || !ReceiveAll(m_write, completion, sizeof completion)) {
            return false;
        }
        const std::uint32_t size = 10;
        if (!SendAll(m_read, &size, sizeof size) || !ReceiveAll(m_read, completion, sizeof completion)) {
            return false;
        }
        char reply[64];
        return completion[1] <= sizeof reply && ReceiveAll(m_read, reply, completion[1]);
    }

private:
    static std::string FirstMarker(const std::string& bus)
    {
        std::string first;
        DIR* entries = opendir(bus.c_str());
        while (dirent* entry = entries != nullptr ? readdir(entries) : nullptr) {
            const std::string name = entry->d_name;
            if (name[0] != '.' && name.find('#') != std::string::npos && (first.empty() || name < first)) {
                first = name;
            }
        }
        if (entries != nullptr) {
            closedir(entries);
        }
        return first;
    }

    static int Connect(int directory, const std::string& name)
    {
        sockaddr_un address = {};
        address.sun_family = AF_UNIX;
        const std::string path = "/proc/self/fd/" + std::to_string(directory) + "/" + name;
        if (path.size() >= sizeof address.sun_path) {
            return -1;
        }
        std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
        const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (fd >= 0 && connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
            close(fd);
            return -1;
        }
        return fd;
    }

    static bool SendAll(int fd, const void* bytes, std::size_t count)
    {
        const char* next = static_cast<const char*>(bytes);
        while (count > 0) {
            const ssize_t sent = send(fd, next, count, MSG_NOSIGNAL);
            if (sent <= 0) {
                return false;
            }
            next += sent;
            count -= static_cast<std::size_t>(sent);
        }
        return true;
    }

    static bool ReceiveAll(int fd, void* buffer, std::size_t count)
    {
        char* next = static_cast<char*>(buffer);
        while (count > 0) {
            const ssize_t got = recv(fd, next, count, 0);
            if (got <= 0) {
                return false;
            }
            next += got;
            count -= static_cast<std::size_t>(got);
        }
        return true;
    }

    int m_write = -1;
    int m_read = -1;
};
}  // namespace

int main()
{
    // The build's platform; no window is ever shown here.
    SetWindowSystem(&BuildWindowSystem());

    BenchDevice bench;
    // After the bench device has named its bus: the build picks the
    // simulated bus only when TRELOX_USB_BUS is set.
    SetPlatform(&BuildPlatform());
    const std::vector<std::string> records = BenchRecords(kRecords);
    std::vector<CString> lines(records.begin(), records.end());

    CUsbDevice device;
    BarePipes bare(std::getenv("TRELOX_USB_BUS"));
    if (device.Open() != 0 || !bare.Ok()) {
        std::fprintf(stderr, "no device\n");
        return 1;
    }
    // Alternating rounds, the best of each kept, so that a slow moment of
    // the machine does not fall on one side only.
    double sendLineBest = 1e9;
    double bareBest = 1e9;
    for (int round = 0; round < kRounds; ++round) {
        auto start = std::chrono::steady_clock::now();
        for (const CString& line : lines) {
            if (device.SendLine(line) != ackAccepted) {
                std::fprintf(stderr, "unexpected acknowledge\n");
                return 1;
            }
        }
        sendLineBest = std::min(sendLineBest, Seconds(std::chrono::steady_clock::now() - start));
        start = std::chrono::steady_clock::now();
        for (const std::string& record : records) {
            if (!bare.Exchange(record)) {
                std::fprintf(stderr, "bare exchange failed\n");
                return 1;
            }
        }
        bareBest = std::min(bareBest, Seconds(std::chrono::steady_clock::now() - start));
    }
    std::printf("SendLine rate: %d records; SendLine %.0f records/s (%.2f s); bare socket loop %.0f records/s "
                "(%.2f s); SendLine/bare time %.2f (target <= 1.30)\n",
                kRecords, kRecords / sendLineBest, sendLineBest, kRecords / bareBest, bareBest,
                sendLineBest / bareBest);
    return 0;
}
