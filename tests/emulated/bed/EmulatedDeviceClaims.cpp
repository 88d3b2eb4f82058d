// An emulated USB device: interface claims, its kernel driver, and the
// reaps held while there is nothing to reap.
#include <sys/ioctl.h>
#include <linux/usbdevice_fs.h>
#include <umockdev.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>

#include "EmulatedDevice.h"

void EmulatedDevice::Claim(UMockdevIoctlClient* client, unsigned long request)
{
    unsigned interfaceNumber = 0;
    if (request == USBDEVFS_DISCONNECT_CLAIM) {
        UMockdevIoctlData* claim = Argument(client, sizeof(usbdevfs_disconnect_claim));
        interfaceNumber = reinterpret_cast<usbdevfs_disconnect_claim*>(claim->data)->interface;
        g_object_unref(claim);
    } else {
        UMockdevIoctlData* word = Argument(client, sizeof interfaceNumber);
        std::memcpy(&interfaceNumber, word->data, sizeof interfaceNumber);
        g_object_unref(word);
    }
    if (interfaceNumber != m_description.interfaceNumber) {
        umockdev_ioctl_client_complete(client, -1, request == USBDEVFS_DISCONNECT_CLAIM ? EINVAL : ENOENT);
        return;
    }
    if (request == USBDEVFS_RELEASEINTERFACE) {
        m_claimed = 0;
    } else if (m_heldElsewhere) {
        umockdev_ioctl_client_complete(client, -1, EBUSY);
        return;
    } else {
        if (request == USBDEVFS_DISCONNECT_CLAIM && m_driverBound) {
            m_driverBound = false;
            ++m_detaches;
        }
        m_claimed = 1;
    }
    umockdev_ioctl_client_complete(client, 0, 0);
}

void EmulatedDevice::DriverIoctl(UMockdevIoctlClient* client)
{
    if (umockdev_ioctl_client_get_request(client) == USBDEVFS_GETDRIVER) {
        UMockdevIoctlData* query = Argument(client, sizeof(usbdevfs_getdriver));
        auto* driver = reinterpret_cast<usbdevfs_getdriver*>(query->data);
        const bool bound = m_driverBound && driver->interface == m_description.interfaceNumber;
        if (bound) {
            std::strncpy(driver->driver, m_description.boundDriver.c_str(), USBDEVFS_MAXDRIVERNAME);
        }
        g_object_unref(query);
        umockdev_ioctl_client_complete(client, bound ? 0 : -1, bound ? 0 : ENODATA);
        return;
    }
    UMockdevIoctlData* command = Argument(client, sizeof(usbdevfs_ioctl));
    const int code = reinterpret_cast<usbdevfs_ioctl*>(command->data)->ioctl_code;
    g_object_unref(command);
    if (code == static_cast<int>(USBDEVFS_CONNECT)) {
        if (!m_description.boundDriver.empty() && !m_driverBound) {
            m_driverBound = true;
            ++m_attaches;
        }
    } else if (code == static_cast<int>(USBDEVFS_DISCONNECT) && m_driverBound) {
        m_driverBound = false;
        ++m_detaches;
    }
    umockdev_ioctl_client_complete(client, 0, 0);
}

void EmulatedDevice::ClearHalt(UMockdevIoctlClient* client)
{
    UMockdevIoctlData* word = Argument(client, sizeof(unsigned));
    unsigned endpoint = 0;
    std::memcpy(&endpoint, word->data, sizeof endpoint);
    g_object_unref(word);
    const auto halted = std::find(m_halted.begin(), m_halted.end(), static_cast<std::uint8_t>(endpoint));
    if (halted != m_halted.end()) {
        m_halted.erase(halted);
        ++m_haltsCleared;
    }
    umockdev_ioctl_client_complete(client, 0, 0);
}

void EmulatedDevice::Park(UMockdevIoctlClient* client)
{
    g_object_ref(client);
    m_parked.push_back(ParkedReap{client, std::chrono::steady_clock::now() + kParkTime});
    m_changed.notify_all();
}

void EmulatedDevice::ReleaseParked()
{
    while (!m_parked.empty() && (!m_finished.empty() || m_gone)) {
        UMockdevIoctlClient* client = m_parked.front().client;
        m_parked.erase(m_parked.begin());
        if (!m_finished.empty()) {
            Urb urb = m_finished.front();
            m_finished.pop_front();
            HandOver(client, urb);
        } else {
            umockdev_ioctl_client_complete(client, -1, ENODEV);
        }
        g_object_unref(client);
    }
}

void EmulatedDevice::ParkingLoop()
{
    std::unique_lock<std::mutex> lock(m_lock);
    while (!m_stopping) {
        if (m_parked.empty()) {
            m_changed.wait(lock);
            continue;
        }
        // Parked in order, so the first is the first whose time is up.
        if (m_changed.wait_until(lock, m_parked.front().until) == std::cv_status::no_timeout) {
            continue;
        }
        const auto now = std::chrono::steady_clock::now();
        while (!m_parked.empty() && m_parked.front().until <= now) {
            UMockdevIoctlClient* client = m_parked.front().client;
            m_parked.erase(m_parked.begin());
            umockdev_ioctl_client_complete(client, -1, EAGAIN);
            g_object_unref(client);
        }
    }
}
