// An emulated USB device: usbfs played for the device's node.
#include "EmulatedDevice.h"

#include <sys/ioctl.h>
#include <linux/usbdevice_fs.h>
#include <umockdev.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstddef>
#include <cstring>

namespace {
constexpr std::uint32_t kCapabilities = USBDEVFS_CAP_ZERO_PACKET | USBDEVFS_CAP_BULK_CONTINUATION |
                                        USBDEVFS_CAP_NO_PACKET_SIZE_LIM | USBDEVFS_CAP_REAP_AFTER_DISCONNECT;
constexpr std::size_t kSetupSize = 8;

std::vector<std::uint8_t> StringDescriptor(const std::u16string& text)
{
    std::vector<std::uint8_t> bytes = {0, 3};
    for (const char16_t unit : text) {
        bytes.push_back(static_cast<std::uint8_t>(unit & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(unit >> 8));
    }
    bytes.resize(std::min<std::size_t>(bytes.size(), 254));
    bytes[0] = static_cast<std::uint8_t>(bytes.size());
    return bytes;
}

usbdevfs_urb& UrbOf(UMockdevIoctlData* data)
{
    return *reinterpret_cast<usbdevfs_urb*>(data->data);
}
}  // namespace

EmulatedDevice::EmulatedDevice(DeviceDescription description)
    : m_description(std::move(description)),
      m_handler(umockdev_ioctl_base_new()),
      m_driverBound(!m_description.boundDriver.empty())
{
    g_signal_connect(m_handler, "handle-ioctl", G_CALLBACK(OnIoctl), this);
    m_parking = std::thread(&EmulatedDevice::ParkingLoop, this);
}

EmulatedDevice::~EmulatedDevice()
{
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_stopping = true;
        m_gone = true;
        ReleaseParked();
    }
    m_changed.notify_all();
    m_parking.join();
    g_object_unref(m_handler);
    std::for_each(m_waitingReads.begin(), m_waitingReads.end(), Free);
    std::for_each(m_finished.begin(), m_finished.end(), Free);
}

void EmulatedDevice::Configure(const std::function<void(EmulatedFirmware&)>& change)
{
    std::lock_guard<std::mutex> guard(m_lock);
    change(m_firmware);
}

// ---- Observations.

std::vector<std::string> EmulatedDevice::Received() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    std::vector<std::string> data;
    for (const auto& write : m_received) {
        data.push_back(write.second);
    }
    return data;
}

std::vector<std::string> EmulatedDevice::ReceivedOn(std::uint8_t endpoint) const
{
    std::lock_guard<std::mutex> guard(m_lock);
    std::vector<std::string> data;
    for (const auto& write : m_received) {
        if (write.first == endpoint) {
            data.push_back(write.second);
        }
    }
    return data;
}

#define TRELOX_LOCKED_COUNT(name, field)                 \
    int EmulatedDevice::name() const                     \
    {                                                    \
        std::lock_guard<std::mutex> guard(m_lock);       \
        return field;                                    \
    }
TRELOX_LOCKED_COUNT(Requests, m_requests)
TRELOX_LOCKED_COUNT(DiscardedUrbs, m_discarded)
TRELOX_LOCKED_COUNT(ZeroPacketWrites, m_zeroPacketWrites)
TRELOX_LOCKED_COUNT(ClaimedInterfaces, m_claimed)
TRELOX_LOCKED_COUNT(DriverDetaches, m_detaches)
TRELOX_LOCKED_COUNT(DriverAttaches, m_attaches)
TRELOX_LOCKED_COUNT(PendingReads, static_cast<int>(m_waitingReads.size()))
TRELOX_LOCKED_COUNT(Reaps, m_reaps)
#undef TRELOX_LOCKED_COUNT

bool EmulatedDevice::ReportedProgramming() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_firmware.ReportedProgramming();
}

bool EmulatedDevice::WaitUntil(const std::function<bool(const EmulatedDevice&)>& condition, int timeoutMs) const
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        // The condition takes the lock itself; only the wait holds it here.
        if (condition(*this)) {
            return true;
        }
        std::unique_lock<std::mutex> lock(m_lock);
        if (m_changed.wait_until(lock, std::min(deadline, std::chrono::steady_clock::now() + kParkTime)) ==
                std::cv_status::timeout &&
            std::chrono::steady_clock::now() >= deadline) {
            lock.unlock();
            return condition(*this);
        }
    }
}

// ---- Acts of the device.

void EmulatedDevice::Send(const std::string& bytes)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_replies.push_back(bytes);
    DeliverReplies();
}

void EmulatedDevice::Halt(std::uint8_t endpoint)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_halted.push_back(endpoint);
}

void EmulatedDevice::HoldInterfaceElsewhere(bool held)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_heldElsewhere = held;
}

bool EmulatedDevice::IsHalted(std::uint8_t endpoint) const
{
    return std::find(m_halted.begin(), m_halted.end(), endpoint) != m_halted.end();
}

int EmulatedDevice::HaltsCleared() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_haltsCleared;
}

void EmulatedDevice::Vanish(int urbStatus)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_gone = true;
    // As on a disconnect: the host controller gives the URBs back.
    for (Urb& urb : m_waitingReads) {
        Finish(urb, urbStatus, 0);
    }
    m_waitingReads.clear();
    m_replies.clear();
    ReleaseParked();
    m_changed.notify_all();
}

void EmulatedDevice::FailReaps(int error)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_reapError = error;
}

void EmulatedDevice::Return()
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_gone = false;
    m_claimed = 0;
    m_halted.clear();
    m_driverBound = !m_description.boundDriver.empty();
    m_firmware.Restart();
    m_lastReapEmpty.clear();
}

// ---- The handler.

int EmulatedDevice::OnIoctl(UMockdevIoctlBase* /*handler*/, UMockdevIoctlClient* client, void* self)
{
    return static_cast<EmulatedDevice*>(self)->Handle(client) ? TRUE : FALSE;
}

bool EmulatedDevice::Handle(UMockdevIoctlClient* client)
{
    std::lock_guard<std::mutex> guard(m_lock);
    ++m_requests;
    const unsigned long request = umockdev_ioctl_client_get_request(client);
    if (request == USBDEVFS_GET_CAPABILITIES) {
        UMockdevIoctlData* capabilities = Argument(client, sizeof(std::uint32_t));
        std::memcpy(capabilities->data, &kCapabilities, sizeof kCapabilities);
        g_object_unref(capabilities);
        umockdev_ioctl_client_complete(client, 0, 0);
    } else if (request == USBDEVFS_REAPURB || request == USBDEVFS_REAPURBNDELAY) {
        Reap(client);
    } else if (m_gone) {
        umockdev_ioctl_client_complete(client, -1, ENODEV);
    } else if (request == USBDEVFS_SUBMITURB) {
        Submit(client);
    } else if (request == USBDEVFS_DISCARDURB) {
        Discard(client);
    } else if (request == USBDEVFS_CLAIMINTERFACE || request == USBDEVFS_RELEASEINTERFACE ||
               request == USBDEVFS_DISCONNECT_CLAIM) {
        Claim(client, request);
    } else if (request == USBDEVFS_IOCTL || request == USBDEVFS_GETDRIVER) {
        DriverIoctl(client);
    } else if (request == USBDEVFS_CLEAR_HALT) {
        ClearHalt(client);
    } else if (request == USBDEVFS_RESETEP) {
        umockdev_ioctl_client_complete(client, 0, 0);
    } else {
        umockdev_ioctl_client_complete(client, -1, ENOTTY);
    }
    m_changed.notify_all();
    return true;
}

void EmulatedDevice::Submit(UMockdevIoctlClient* client)
{
    UMockdevIoctlData* data = Argument(client, sizeof(usbdevfs_urb));
    const usbdevfs_urb& fields = UrbOf(data);
    Urb urb{data,
            umockdev_ioctl_data_resolve(data, offsetof(usbdevfs_urb, buffer),
                                        static_cast<gsize>(std::max(fields.buffer_length, 0)), nullptr),
            data->client_addr};
    if (fields.type == USBDEVFS_URB_TYPE_CONTROL) {
        Control(urb);
    } else if (fields.type != USBDEVFS_URB_TYPE_BULK) {
        Free(urb);
        umockdev_ioctl_client_complete(client, -1, EINVAL);
        return;
    } else if (IsHalted(fields.endpoint)) {
        Finish(urb, -EPIPE, 0);
    } else if ((fields.endpoint & 0x80) != 0) {
        m_waitingReads.push_back(urb);
        DeliverReplies();
    } else {
        BulkOut(urb);
    }
    umockdev_ioctl_client_complete(client, 0, 0);
}

void EmulatedDevice::Control(Urb& urb)
{
    const std::uint8_t* setup = urb.buffer->data;
    const int requestType = setup[0];
    const int request = setup[1];
    const int value = setup[2] | (setup[3] << 8);
    const int length = setup[6] | (setup[7] << 8);
    std::vector<std::uint8_t> reply;
    bool stall = false;
    if (requestType == 0x80 && request == 6 && (value >> 8) == 3) {
        const int index = value & 0xFF;
        if (index == 0) {
            reply = {4, 3, 0x09, 0x04};
        } else if (index == 3 && m_description.serial) {
            reply = StringDescriptor(*m_description.serial);
        } else if (index == 1 || index == 2) {
            reply = StringDescriptor(index == 1 ? u"Trelox test bed" : u"EMULATED-1");
        } else {
            stall = true;
        }
    } else if (requestType == 0x80 && request == 0) {
        reply = {0, 0};  // GET_STATUS: bus-powered, no remote wake-up
    } else if (requestType == 0x81 && request == 0x0A) {
        reply = {m_description.currentAlternate};
    } else {
        stall = true;
    }
    const int room = UrbOf(urb.data).buffer_length - static_cast<int>(kSetupSize);
    const int count = std::min({static_cast<int>(reply.size()), length, std::max(room, 0)});
    std::memcpy(urb.buffer->data + kSetupSize, reply.data(), static_cast<std::size_t>(count));
    Finish(urb, stall ? -EPIPE : 0, stall ? 0 : count);
}

void EmulatedDevice::BulkOut(Urb& urb)
{
    const usbdevfs_urb& fields = UrbOf(urb.data);
    const std::string data(reinterpret_cast<const char*>(urb.buffer->data),
                           static_cast<std::size_t>(fields.buffer_length));
    m_received.emplace_back(fields.endpoint, data);
    if ((fields.flags & USBDEVFS_URB_ZERO_PACKET) != 0) {
        ++m_zeroPacketWrites;
    }
    const auto reply = m_firmware.Received(data);
    Finish(urb, 0, fields.buffer_length);
    if (reply) {
        m_replies.push_back(*reply);
        DeliverReplies();
    }
}

void EmulatedDevice::DeliverReplies()
{
    while (!m_replies.empty() && !m_waitingReads.empty()) {
        Urb urb = m_waitingReads.front();
        m_waitingReads.erase(m_waitingReads.begin());
        const std::string reply = m_replies.front();
        m_replies.pop_front();
        const int room = UrbOf(urb.data).buffer_length;
        const int count = std::min(static_cast<int>(reply.size()), room);
        std::memcpy(urb.buffer->data, reply.data(), static_cast<std::size_t>(count));
        // More than the read asked for: the kernel reports an overflow.
        Finish(urb, static_cast<int>(reply.size()) > room ? -EOVERFLOW : 0, count);
    }
}

void EmulatedDevice::Finish(Urb& urb, int status, int actualLength)
{
    UrbOf(urb.data).status = status;
    UrbOf(urb.data).actual_length = actualLength;
    m_finished.push_back(urb);
    ReleaseParked();
    m_changed.notify_all();
}

void EmulatedDevice::Reap(UMockdevIoctlClient* client)
{
    ++m_reaps;
    if (m_reapError != 0) {
        umockdev_ioctl_client_complete(client, -1, m_reapError);
    } else if (!m_finished.empty()) {
        Urb urb = m_finished.front();
        m_finished.pop_front();
        HandOver(client, urb);
    } else if (m_gone) {
        umockdev_ioctl_client_complete(client, -1, ENODEV);
    } else if (m_lastReapEmpty[client]) {
        Park(client);
    } else {
        m_lastReapEmpty[client] = true;
        umockdev_ioctl_client_complete(client, -1, EAGAIN);
    }
}

void EmulatedDevice::HandOver(UMockdevIoctlClient* client, Urb& urb)
{
    UMockdevIoctlData* pointer = Argument(client, sizeof(void*));
    umockdev_ioctl_data_set_ptr(pointer, 0, urb.data);
    g_object_unref(pointer);
    m_lastReapEmpty[client] = false;
    umockdev_ioctl_client_complete(client, 0, 0);
    Free(urb);
}

UMockdevIoctlData* EmulatedDevice::Argument(UMockdevIoctlClient* client, std::size_t size)
{
    return umockdev_ioctl_data_resolve(umockdev_ioctl_client_get_arg(client), 0, size, nullptr);
}

void EmulatedDevice::Free(const Urb& urb)
{
    g_object_unref(urb.buffer);
    g_object_unref(urb.data);
}

void EmulatedDevice::Discard(UMockdevIoctlClient* client)
{
    const auto address =
        reinterpret_cast<unsigned long>(*reinterpret_cast<void**>(umockdev_ioctl_client_get_arg(client)->data));
    const auto found = std::find_if(m_waitingReads.begin(), m_waitingReads.end(),
                                    [address](const Urb& urb) { return urb.clientAddress == address; });
    if (found == m_waitingReads.end()) {
        umockdev_ioctl_client_complete(client, -1, EINVAL);
        return;
    }
    Urb urb = *found;
    m_waitingReads.erase(found);
    ++m_discarded;
    Finish(urb, -ENOENT, 0);
    umockdev_ioctl_client_complete(client, 0, 0);
}
