// One emulated USB device at the kernel interface: an umockdev ioctl handler
// that plays usbfs for the device's node, as the real libusb (of this
// process or of a child) speaks to it: capabilities, string descriptors, the
// device's status and the alternate setting over control transfers,
// interface claims with a bound kernel driver detached and attached again
// (or refused as held by another program), bulk URBs into and out of the
// firmware, halted endpoints and their clearing, discarded URBs, and the
// device's disappearance.
//
// umockdev calls the handler on its own worker thread; the test's thread
// looks at what happened and acts through the locked methods.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "DeviceDescription.h"
#include "EmulatedFirmware.h"

typedef struct _UMockdevIoctlBase UMockdevIoctlBase;
typedef struct _UMockdevIoctlClient UMockdevIoctlClient;
typedef struct _UMockdevIoctlData UMockdevIoctlData;

class EmulatedDevice {
public:
    explicit EmulatedDevice(DeviceDescription description = DeviceDescription());
    EmulatedDevice(const EmulatedDevice&) = delete;
    EmulatedDevice& operator=(const EmulatedDevice&) = delete;
    ~EmulatedDevice();

    const DeviceDescription& Description() const { return m_description; }
    UMockdevIoctlBase* Handler() const { return m_handler; }

    // What the firmware does; changed under the lock.
    void Configure(const std::function<void(EmulatedFirmware&)>& change);

    // ---- What happened, taken under the lock.
    std::vector<std::string> Received() const;     // bulk OUT data, in order
    std::vector<std::string> ReceivedOn(std::uint8_t endpoint) const;
    int Requests() const;                          // every ioctl on the node
    int DiscardedUrbs() const;
    int ZeroPacketWrites() const;                  // OUT URBs asking for a zero-length packet
    int ClaimedInterfaces() const;                 // claimed now
    int DriverDetaches() const;
    int DriverAttaches() const;
    int PendingReads() const;                      // IN URBs waiting for data
    int HaltsCleared() const;                      // of a halted endpoint
    int Reaps() const;                             // asks for a finished URB
    bool ReportedProgramming() const;
    // Waits until `condition` holds (checked under the lock) or `timeoutMs`.
    bool WaitUntil(const std::function<bool(const EmulatedDevice&)>& condition, int timeoutMs) const;

    // ---- Acts of the device.
    // Sends `bytes` on the IN endpoint: a waiting read takes them.
    void Send(const std::string& bytes);
    // The endpoint stalls every transfer until the host clears its halt.
    void Halt(std::uint8_t endpoint);
    // Another program holds the interface: claims fail as busy.
    void HoldInterfaceElsewhere(bool held);
    // The device is gone: waiting URBs end with `urbStatus` (as on a
    // disconnect, or the protocol error a host controller may report
    // first), and every request after fails with ENODEV.
    void Vanish(int urbStatus);
    // Back again, as a new device on the bus: nothing claimed, records
    // counted from 1.
    void Return();
    // Every ask for a finished URB fails with `error` (0: they work again),
    // as a usbfs that cannot hand one back: libusb's event handling fails.
    void FailReaps(int error);

private:
    struct Urb {
        UMockdevIoctlData* data;
        UMockdevIoctlData* buffer;
        unsigned long clientAddress;
    };

    // How long a reap that finds nothing is held.
    static constexpr std::chrono::milliseconds kParkTime{10};

    static int OnIoctl(UMockdevIoctlBase* handler, UMockdevIoctlClient* client, void* self);
    // Lets go of the URB's data once the client has it back or is gone.
    static void Free(const Urb& urb);
    // The value the ioctl's argument points at, `size` bytes of it.
    static UMockdevIoctlData* Argument(UMockdevIoctlClient* client, std::size_t size);
    bool Handle(UMockdevIoctlClient* client);
    void Submit(UMockdevIoctlClient* client);
    void Control(Urb& urb);
    void BulkOut(Urb& urb);
    void Reap(UMockdevIoctlClient* client);
    void Discard(UMockdevIoctlClient* client);
    void Claim(UMockdevIoctlClient* client, unsigned long request);
    void DriverIoctl(UMockdevIoctlClient* client);
    void ClearHalt(UMockdevIoctlClient* client);
    bool IsHalted(std::uint8_t endpoint) const;
    // Fills waiting reads from the replies.
    void DeliverReplies();
    void Finish(Urb& urb, int status, int actualLength);
    void HandOver(UMockdevIoctlClient* client, Urb& urb);
    // A reap that would only say "nothing yet" again is held a little, as
    // the kernel's poll would not wake the reader; it ends with the next
    // finished URB or after a few milliseconds.
    void Park(UMockdevIoctlClient* client);
    void ReleaseParked();
    void ParkingLoop();

    DeviceDescription m_description;
    UMockdevIoctlBase* m_handler;
    mutable std::mutex m_lock;
    mutable std::condition_variable m_changed;
    EmulatedFirmware m_firmware;
    std::vector<Urb> m_waitingReads;
    std::deque<Urb> m_finished;
    std::deque<std::string> m_replies;
    std::map<UMockdevIoctlClient*, bool> m_lastReapEmpty;
    struct ParkedReap {
        UMockdevIoctlClient* client;
        std::chrono::steady_clock::time_point until;
    };
    std::vector<ParkedReap> m_parked;
    std::vector<std::pair<std::uint8_t, std::string>> m_received;
    int m_requests = 0;
    int m_reaps = 0;
    int m_reapError = 0;
    int m_discarded = 0;
    int m_zeroPacketWrites = 0;
    int m_claimed = 0;
    bool m_heldElsewhere = false;
    std::vector<std::uint8_t> m_halted;
    int m_haltsCleared = 0;
    int m_detaches = 0;
    int m_attaches = 0;
    bool m_driverBound;
    bool m_gone = false;
    bool m_stopping = false;
    std::thread m_parking;
};
