// The platform services on Linux with real USB devices through libusb.
#include "platform/libusb/CLibusbPlatform.h"

#include <cerrno>
#include <climits>
#include <cstring>
#include <vector>

#include "platform/DeviceInterfaceClass.h"
#include "platform/libusb/CLibusbDeviceLink.h"
#include "platform/libusb/CLibusbPipe.h"
#include "platform/libusb/CListedDevices.h"
#include "platform/libusb/CUsbInterfacePath.h"
#include "platform/posix/CDeviceNoticeRegistration.h"
#include "platform/posix/CPosixEvent.h"

CLibusbPlatform::CLibusbPlatform(CDeviceTableLoader tableLoader, std::ostream& report,
                                 CLibusbNotices::Source noticeSource, CUdevTags udevTags)
    : m_tableLoader(std::move(tableLoader)),
      m_report(report),
      m_noticeSource(noticeSource),
      m_udevTags(std::move(udevTags)),
      m_context(report)
{
}

CLibusbPlatform::~CLibusbPlatform()
{
    // Pipes end their transfers and registrations their notices while the
    // context is still there.
    m_handles.CloseAll();
    m_notices.reset();
    m_devices.reset();
}

int CLibusbPlatform::Prepare()
{
    if (!m_prepared) {
        m_prepared = true;
        m_table = m_tableLoader.Load(m_report.Stream());
        m_prepareError = m_context.Open();
        if (m_prepareError != 0) {
            m_report.Stream() << "trelox: USB devices cannot be reached (" << std::strerror(m_prepareError) << ")"
                              << std::endl;
            return m_prepareError;
        }
        m_devices = std::make_unique<CListedDevices>(m_context, m_table);
        m_notices = std::make_unique<CLibusbNotices>(m_context, *m_devices, m_noticeSource);
    }
    return m_prepareError;
}

// ---- Device lists.

HANDLE CLibusbPlatform::GetClassDevs(const DeviceClassGuid& interfaceClass)
{
    std::vector<std::string> paths;
    // Listed devices carry the one class; any other has no devices present.
    if (IsDeviceInterfaceClass(interfaceClass)) {
        const int error = Prepare();
        std::vector<CListedDevices::Device> devices;
        const int listError = error != 0 ? error : m_devices->List(&devices);
        if (listError != 0) {
            SetLastError(static_cast<DWORD>(listError));
            return INVALID_HANDLE_VALUE;
        }
        for (const auto& device : devices) {
            paths.push_back(device.path);
        }
        if (!m_table.Exists()) {
            m_report.NoTable(m_tableLoader.Places());
        } else if (paths.empty()) {
            m_report.NothingListedAttached(m_table.Source(), m_table.Entries().size());
        }
    }
    return AddDeviceList(std::move(paths));
}

// ---- Pipes.

HANDLE CLibusbPlatform::OpenPipe(const char* pipePath, PipeAccess access)
{
    std::string interfacePath;
    int pipeIndex = 0;
    if (pipePath == nullptr || !CUsbInterfacePath::SplitPipePath(pipePath, &interfacePath, &pipeIndex)) {
        SetLastError(pipePath == nullptr ? EINVAL : ENOENT);
        return INVALID_HANDLE_VALUE;
    }
    std::shared_ptr<CLibusbDeviceLink> link;
    int error = Prepare();
    if (error == 0) {
        error = LinkTo(interfacePath, &link);
    }
    std::uint8_t endpoint = 0;
    std::string reason;
    if (error == 0 && !link->FindPipeEndpoint(pipeIndex, access, &reason, &endpoint)) {
        m_report.Skipped(CListedDevices::DeviceNode(link->Device()), link->Entry().vendorId, link->Entry().productId,
                         reason);
        error = ENOENT;
    }
    if (error != 0) {
        SetLastError(static_cast<DWORD>(error));
        return INVALID_HANDLE_VALUE;
    }
    link->Refresh(endpoint);
    return m_handles.Add(std::make_shared<CLibusbPipe>(m_context, std::move(link), endpoint, access));
}

int CLibusbPlatform::LinkTo(const std::string& interfacePath, std::shared_ptr<CLibusbDeviceLink>* link)
{
    std::vector<CListedDevices::Device> devices;
    const int error = m_devices->List(&devices);
    if (error != 0) {
        return error;
    }
    for (const auto& device : devices) {
        if (device.path != interfacePath) {
            continue;
        }
        // The other pipe of the same device shares its link.
        *link = m_links[interfacePath].lock();
        if (*link && (*link)->Device() == device.device.get()) {
            return 0;
        }
        std::string reason;
        const int opened = CLibusbDeviceLink::Open(device.device.get(), *device.entry, &reason, link);
        const std::string node = CListedDevices::DeviceNode(device.device.get());
        if (opened == EACCES) {
            m_report.NoPermission(node, device.entry->vendorId, device.entry->productId,
                                  m_udevTags.HasTag(device.device.get(), "uaccess"));
        } else if (opened != 0) {
            m_report.Skipped(node, device.entry->vendorId, device.entry->productId, reason);
        } else {
            m_links[interfacePath] = *link;
            m_report.Using(device.entry->vendorId, device.entry->productId, device.serial, device.port,
                           devices.size());
        }
        return opened;
    }
    return ENOENT;
}

// ---- Transfers.

BOOL CLibusbPlatform::WriteFile(HANDLE pipe, const void* bytes, DWORD count, DWORD* transferred,
                                Overlapped* overlapped)
{
    if (!CheckTransferArguments(true, bytes, nullptr, count, overlapped)) {
        return FALSE;
    }
    // libusb only reads from the bytes of an OUT transfer.
    return StartTransfer(pipe, PipeAccess::Write, const_cast<void*>(bytes), count, transferred, overlapped);
}

BOOL CLibusbPlatform::ReadFile(HANDLE pipe, void* buffer, DWORD size, DWORD* transferred, Overlapped* overlapped)
{
    if (!CheckTransferArguments(false, nullptr, buffer, size, overlapped)) {
        return FALSE;
    }
    return StartTransfer(pipe, PipeAccess::Read, buffer, size, transferred, overlapped);
}

BOOL CLibusbPlatform::StartTransfer(HANDLE pipe, PipeAccess direction, void* data, DWORD count,
                                    DWORD* /*transferred*/, Overlapped* overlapped)
{
    const auto usbPipe = m_handles.Find<CLibusbPipe>(pipe);
    if (!usbPipe || !usbPipe->IsOpen() || usbPipe->Access() != direction) {
        return Fail(EBADF);
    }
    if (count > static_cast<DWORD>(INT_MAX)) {
        return Fail(EINVAL);
    }
    const int error = usbPipe->Start(data, count, overlapped, ResetEventOf(*overlapped));
    return Fail(error != 0 ? static_cast<DWORD>(error) : ERROR_IO_PENDING);
}

bool CLibusbPlatform::PollTransfers(CPosixEvent& /*event*/)
{
    return m_context.TransfersInFlight() > 0;
}

void CLibusbPlatform::WaitForTransfers(CPosixEvent& /*event*/, int milliseconds)
{
    m_context.HandleEvents(milliseconds < 0 ? static_cast<std::uint64_t>(INT_MAX)
                                            : static_cast<std::uint64_t>(milliseconds));
}

BOOL CLibusbPlatform::GetOverlappedResult(HANDLE pipe, Overlapped* overlapped, DWORD* transferred, BOOL wait)
{
    const BOOL result = PipeTransferResult<CLibusbPipe>(pipe, overlapped, transferred, wait);
    if (result == FALSE && GetLastError() == EIO) {
        // An unplugged device is reported as such, whatever the host
        // controller said first.
        const auto usbPipe = m_handles.Find<CLibusbPipe>(pipe);
        if (usbPipe && usbPipe->Link() != nullptr && usbPipe->Link()->HasGone()) {
            SetLastError(ENODEV);
        }
    }
    return result;
}

void CLibusbPlatform::CancelTransfer(HANDLE pipe, Overlapped* overlapped)
{
    CancelPipeTransfer<CLibusbPipe>(pipe, overlapped);
}

// ---- Device notices.

HANDLE CLibusbPlatform::RegisterDeviceNotification(WindowHandle window, const DevBroadcastDeviceInterface& filter)
{
    int error = Prepare();
    int id = 0;
    // A filter for anything but the devices' class registers but hears nothing.
    if (error == 0 && filter.dbcc_devicetype == DBT_DEVTYP_DEVICEINTERFACE &&
        IsDeviceInterfaceClass(filter.dbcc_classguid)) {
        error = m_notices->Register(window, &id);
    }
    if (error != 0) {
        SetLastError(static_cast<DWORD>(error));
        return nullptr;
    }
    return m_handles.Add(std::make_shared<CDeviceNoticeRegistration>(*m_notices, id));
}

int CLibusbPlatform::DeviceNoticeDescriptor()
{
    return m_notices ? m_notices->Descriptor() : -1;
}

bool CLibusbPlatform::TakeDeviceNotice(DeviceNotice* notice)
{
    return m_notices && m_notices->Take(notice);
}
