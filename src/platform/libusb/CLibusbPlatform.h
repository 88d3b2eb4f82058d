// The platform services on Linux with real USB devices, through libusb: the
// devices that the device table lists, in the interface paths of their
// Windows form, their bulk pipes, transfers that keep the overlapped
// contract, and arrival and removal notices; lock files, files and the clock
// as with the simulated bus. libusb is set up, and the table read, when a
// device is first looked for.
#pragma once

#include <map>
#include <memory>
#include <ostream>
#include <string>

#include "platform/libusb/CDeviceSetupReport.h"
#include "platform/libusb/CDeviceTable.h"
#include "platform/libusb/CDeviceTableLoader.h"
#include "platform/libusb/CLibusbContext.h"
#include "platform/libusb/CLibusbNotices.h"
#include "platform/libusb/CUdevTags.h"
#include "platform/posix/CPosixServices.h"

class CLibusbDeviceLink;
class CListedDevices;

class CLibusbPlatform : public CPosixServices {
public:
    // Reports on set-up problems, and which device is used, go to `report`
    // (standard error); `udevTags` tells whether a rule tagged a device.
    CLibusbPlatform(CDeviceTableLoader tableLoader, std::ostream& report,
                    CLibusbNotices::Source noticeSource = CLibusbNotices::Source::Hotplug,
                    CUdevTags udevTags = CUdevTags());
    ~CLibusbPlatform() override;

    HANDLE GetClassDevs(const DeviceClassGuid& interfaceClass) override;

    // A listed device's pipe, its endpoint made ready for a first request
    // (CLibusbDeviceLink::Refresh); EACCES without permission, ENOENT for a
    // device that is not there or a pipe that does not fit, an errno
    // otherwise.
    HANDLE OpenPipe(const char* pipePath, PipeAccess access) override;

    // Always pending at first: the completion comes through libusb's events.
    BOOL WriteFile(HANDLE pipe, const void* bytes, DWORD count, DWORD* transferred, Overlapped* overlapped) override;
    BOOL ReadFile(HANDLE pipe, void* buffer, DWORD size, DWORD* transferred, Overlapped* overlapped) override;
    // An I/O error of a device that has left the bus is reported as ENODEV.
    BOOL GetOverlappedResult(HANDLE pipe, Overlapped* overlapped, DWORD* transferred, BOOL wait) override;
    // Cancels the transfer and waits for its cancelled completion.
    void CancelTransfer(HANDLE pipe, Overlapped* overlapped) override;

    HANDLE RegisterDeviceNotification(WindowHandle window, const DevBroadcastDeviceInterface& filter) override;
    int DeviceNoticeDescriptor() override;
    bool TakeDeviceNotice(DeviceNotice* notice) override;
    // Whether notices come from libusb's hotplug callbacks now, not a scan.
    bool NoticesUseHotplug() const { return m_notices && m_notices->UsesHotplug(); }

protected:
    // Completions come from libusb's event handling, which waits for them.
    bool PollTransfers(CPosixEvent& event) override;
    void WaitForTransfers(CPosixEvent& event, int milliseconds) override;

private:
    // Sets up libusb and reads the table when first needed: 0 or an errno.
    int Prepare();
    BOOL StartTransfer(HANDLE pipe, PipeAccess direction, void* data, DWORD count, DWORD* transferred,
                       Overlapped* overlapped);
    // The link to the listed device at `interfacePath`, opened when no pipe
    // holds one: 0 or an errno.
    int LinkTo(const std::string& interfacePath, std::shared_ptr<CLibusbDeviceLink>* link);

    CDeviceTableLoader m_tableLoader;
    CDeviceSetupReport m_report;
    CLibusbNotices::Source m_noticeSource;
    CUdevTags m_udevTags;
    bool m_prepared = false;
    int m_prepareError = 0;
    CDeviceTable m_table;
    CLibusbContext m_context;
    std::unique_ptr<CListedDevices> m_devices;
    std::unique_ptr<CLibusbNotices> m_notices;
    std::map<std::string, std::weak_ptr<CLibusbDeviceLink>> m_links;
};
