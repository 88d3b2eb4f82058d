// A listed device opened for its pipes, with its claimed interface.
#include "platform/libusb/CLibusbDeviceLink.h"

#include <libusb.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <thread>

#include "platform/libusb/CLibusbContext.h"

namespace {
// GET_INTERFACE: a standard request to the interface, device to host.
constexpr std::uint8_t kGetInterfaceRequestType = 0x81;
constexpr std::uint8_t kGetInterface = 0x0A;
constexpr unsigned kControlTimeoutMs = 1000;
// GET_STATUS: a standard request to the device, device to host, that every
// device answers with two bytes.
constexpr std::uint8_t kGetStatusRequestType = 0x80;
constexpr std::uint8_t kGetStatus = 0x00;
// How long the system may take to notice an unplugged device, asked in steps.
constexpr unsigned kGoneProbeMs = 100;
constexpr int kGoneProbes = 5;
// Reading away what waits unasked: how long a read waits for more, its
// buffer (whole packets of every speed), and a bound for a device that
// never stops sending.
constexpr unsigned kDrainWaitMs = 50;
constexpr int kDrainBufferSize = 4096;
constexpr int kMaxDrainReads = 64;

std::string Hex(int value)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%02x", value & 0xFF);
    return text;
}

std::string Describe(std::uint8_t address, std::uint8_t attributes)
{
    static const char* const kTypes[] = {"control", "isochronous", "bulk", "interrupt"};
    return "endpoint " + Hex(address) + " (" + kTypes[attributes & 3] + ((address & 0x80) != 0 ? " IN)" : " OUT)");
}
}  // namespace

CLibusbDeviceLink::CLibusbDeviceLink(libusb_device* device, libusb_device_handle* handle,
                                     const DeviceTableEntry& entry)
    : m_device(device), m_handle(handle), m_entry(entry)
{
}

CLibusbDeviceLink::~CLibusbDeviceLink()
{
    if (m_claimed) {
        // Attaches the kernel driver again where one was detached. Should it
        // fail, nothing is left to do: closing the handle releases it anyway.
        (void)libusb_release_interface(m_handle, m_entry.interfaceNumber);
    }
    libusb_close(m_handle);
}

int CLibusbDeviceLink::Open(libusb_device* device, const DeviceTableEntry& entry, std::string* reason,
                            std::shared_ptr<CLibusbDeviceLink>* link)
{
    libusb_device_handle* handle = nullptr;
    const int opened = libusb_open(device, &handle);
    if (opened != LIBUSB_SUCCESS) {
        const int error = static_cast<int>(CLibusbContext::ErrorCode(opened));
        *reason = opened == LIBUSB_ERROR_ACCESS ? "no permission"
                                                : std::string("it cannot be opened (") + std::strerror(error) + ")";
        return error;
    }
    std::shared_ptr<CLibusbDeviceLink> opening(new CLibusbDeviceLink(device, handle, entry));
    const int error = opening->Claim(reason);
    if (error != 0) {
        return error;
    }
    *link = std::move(opening);
    return 0;
}

int CLibusbDeviceLink::Claim(std::string* reason)
{
    const std::string interfaceName = "interface " + std::to_string(m_entry.interfaceNumber);
    const int detaching = libusb_set_auto_detach_kernel_driver(m_handle, 1);
    const int claimed = libusb_claim_interface(m_handle, m_entry.interfaceNumber);
    if (claimed != LIBUSB_SUCCESS) {
        // The kernel refuses an interface that is not there as not found,
        // or (detaching a driver on the way) as an invalid request.
        const bool missing = claimed == LIBUSB_ERROR_NOT_FOUND || claimed == LIBUSB_ERROR_INVALID_PARAM;
        // Where libusb cannot detach a kernel driver, a bound one holds it.
        const char* holder = detaching == LIBUSB_SUCCESS ? " is in use by another program"
                                                         : " is held by a driver that cannot be detached";
        *reason = claimed == LIBUSB_ERROR_BUSY ? interfaceName + holder
                  : missing                    ? "it has no " + interfaceName
                                               : interfaceName + " cannot be claimed (" + libusb_error_name(claimed) + ")";
        return static_cast<int>(CLibusbContext::ErrorCode(claimed));
    }
    m_claimed = true;
    libusb_config_descriptor* config = nullptr;
    if (libusb_get_active_config_descriptor(m_device, &config) != LIBUSB_SUCCESS) {
        *reason = "its configuration cannot be read";
        return EIO;
    }
    int error = ENOENT;
    *reason = "it has no " + interfaceName;
    for (int index = 0; index < config->bNumInterfaces; ++index) {
        const libusb_interface& candidate = config->interface[index];
        if (candidate.num_altsetting < 1 ||
            candidate.altsetting[0].bInterfaceNumber != m_entry.interfaceNumber) {
            continue;
        }
        const int current = CurrentAlternateSetting(candidate.num_altsetting);
        for (int setting = 0; setting < candidate.num_altsetting; ++setting) {
            const libusb_interface_descriptor& alternate = candidate.altsetting[setting];
            if (alternate.bAlternateSetting != current) {
                continue;
            }
            for (int endpoint = 0; endpoint < alternate.bNumEndpoints; ++endpoint) {
                m_endpoints.push_back(
                    Endpoint{alternate.endpoint[endpoint].bEndpointAddress, alternate.endpoint[endpoint].bmAttributes});
            }
            error = 0;
        }
    }
    libusb_free_config_descriptor(config);
    return error;
}

int CLibusbDeviceLink::CurrentAlternateSetting(int settings) const
{
    if (settings < 2) {
        return 0;
    }
    // Asked only where there is a choice: a device with one setting may
    // refuse the request.
    unsigned char current = 0;
    const int got = libusb_control_transfer(m_handle, kGetInterfaceRequestType, kGetInterface,
                                            0, m_entry.interfaceNumber, &current, 1, kControlTimeoutMs);
    return got == 1 ? current : 0;
}

bool CLibusbDeviceLink::FindPipeEndpoint(int pipeIndex, PipeAccess access, std::string* reason,
                                         std::uint8_t* address) const
{
    const bool toDevice = access == PipeAccess::Write;
    const int given = toDevice ? m_entry.outEndpoint : m_entry.inEndpoint;
    const std::string pipe = (pipeIndex < 10 ? "PIPE0" : "PIPE") + std::to_string(pipeIndex);
    const std::string wanted = toDevice ? "a bulk OUT endpoint" : "a bulk IN endpoint";
    const Endpoint* found = nullptr;
    std::string which;
    if (given >= 0) {
        which = (toDevice ? "out=" : "in=") + Hex(given);
        for (const Endpoint& endpoint : m_endpoints) {
            found = endpoint.address == given ? &endpoint : found;
        }
    } else {
        which = pipe + ", the endpoint at index " + std::to_string(pipeIndex) + ",";
        found = pipeIndex < static_cast<int>(m_endpoints.size()) ? &m_endpoints[static_cast<std::size_t>(pipeIndex)]
                                                                 : nullptr;
    }
    const std::string where = "interface " + std::to_string(m_entry.interfaceNumber);
    if (found == nullptr) {
        *reason = which + " is not there: " + where + " has " + std::to_string(m_endpoints.size()) + " endpoints; " +
                  pipe + " must be " + wanted;
        return false;
    }
    const bool isBulk = (found->attributes & 3) == LIBUSB_TRANSFER_TYPE_BULK;
    if (!isBulk || ((found->address & 0x80) == 0) != toDevice) {
        *reason = which + " is " + Describe(found->address, found->attributes) + " of " + where + "; " + pipe +
                  " must be " + wanted + (given >= 0 ? "" : " (out= and in= in the table can name them)");
        return false;
    }
    *address = found->address;
    return true;
}

void CLibusbDeviceLink::Refresh(std::uint8_t address) const
{
    // Clearing a halt that is not there only resets the endpoint's toggle,
    // on both sides; a device that fails the request keeps its state.
    libusb_clear_halt(m_handle, address);
    if ((address & 0x80) == 0) {
        return;
    }
    unsigned char stale[kDrainBufferSize];
    for (int read = 0; read < kMaxDrainReads; ++read) {
        int got = 0;
        const int result = libusb_bulk_transfer(m_handle, address, stale, sizeof stale, &got, kDrainWaitMs);
        if (result != LIBUSB_SUCCESS && result != LIBUSB_ERROR_OVERFLOW) {
            return;  // nothing more waits (a time-out), or the device cannot tell
        }
    }
}

bool CLibusbDeviceLink::HasGone() const
{
    for (int probe = 0; probe < kGoneProbes; ++probe) {
        unsigned char status[2];
        const int got = libusb_control_transfer(m_handle, kGetStatusRequestType, kGetStatus, 0, 0, status,
                                                sizeof status, kGoneProbeMs);
        if (got == LIBUSB_ERROR_NO_DEVICE) {
            return true;
        }
        if (got >= 0 || got == LIBUSB_ERROR_PIPE) {
            return false;  // it answers, if only with a stall
        }
        // An I/O error or no answer: the device may be on its way out.
        std::this_thread::sleep_for(std::chrono::milliseconds(kGoneProbeMs / 5));
    }
    return false;
}
