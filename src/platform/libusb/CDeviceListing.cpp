// trelox --list.
#include "platform/libusb/CDeviceListing.h"

#include <cerrno>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/libusb/CDeviceSetupReport.h"
#include "platform/libusb/CLibusbContext.h"
#include "platform/libusb/CLibusbDeviceLink.h"
#include "platform/libusb/CListedDevices.h"

namespace {
// The pipes the program opens, by their index among the endpoints.
constexpr int kWritePipeIndex = 2;
constexpr int kReadPipeIndex = 3;
constexpr int kNoDeviceStatus = 2;

const char kNoPermission[] = "no permission (the udev rule that gives it follows on standard error)";

// Why the program could not use `device`; empty when it could.
std::string WhyNotUsable(const CListedDevices::Device& device, bool* noPermission)
{
    std::string reason;
    std::shared_ptr<CLibusbDeviceLink> link;
    const int opened = CLibusbDeviceLink::Open(device.device.get(), *device.entry, &reason, &link);
    *noPermission = opened == EACCES;
    if (opened != 0) {
        return *noPermission ? kNoPermission : reason;
    }
    std::uint8_t endpoint = 0;
    if (!link->FindPipeEndpoint(kWritePipeIndex, PipeAccess::Write, &reason, &endpoint) ||
        !link->FindPipeEndpoint(kReadPipeIndex, PipeAccess::Read, &reason, &endpoint)) {
        return reason;
    }
    return std::string();
}
}  // namespace

int CDeviceListing::Run(std::ostream& out, std::ostream& report) const
{
    CDeviceSetupReport setup(report);
    CLibusbContext context(report);
    const int error = context.Open();
    if (error != 0) {
        report << "trelox: USB devices cannot be reached (" << std::strerror(error) << ")" << std::endl;
        return kNoDeviceStatus;
    }
    const CDeviceTable table = m_tableLoader.Load(report);
    if (!table.Exists()) {
        setup.NoTable(m_tableLoader.Places());
        return kNoDeviceStatus;
    }
    std::vector<CListedDevices::Device> devices;
    {
        CListedDevices listed(context, table);
        const int listError = listed.List(&devices);
        if (listError != 0) {
            report << "trelox: the USB devices cannot be listed (" << std::strerror(listError) << ")" << std::endl;
            return kNoDeviceStatus;
        }
    }
    if (devices.empty()) {
        setup.NothingListedAttached(table.Source(), table.Entries().size());
        return kNoDeviceStatus;
    }
    int usable = 0;
    for (const CListedDevices::Device& device : devices) {
        bool noPermission = false;
        const std::string reason = WhyNotUsable(device, &noPermission);
        out << CDeviceSetupReport::DeviceId(device.entry->vendorId, device.entry->productId) << "  serial "
            << (device.serial.empty() ? "none" : device.serial) << "  port " << device.port << "  " << device.path
            << "  " << (reason.empty() ? "usable" : "not usable: " + reason) << std::endl;
        usable += reason.empty() ? 1 : 0;
        if (noPermission) {
            setup.NoPermission(CListedDevices::DeviceNode(device.device.get()), device.entry->vendorId,
                               device.entry->productId, m_udevTags.HasTag(device.device.get(), "uaccess"));
        }
    }
    return usable > 0 ? 0 : kNoDeviceStatus;
}
