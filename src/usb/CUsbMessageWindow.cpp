// The hidden window that hears the device's arrival and removal.
#include "usb/CUsbMessageWindow.h"

#include <cstddef>
#include <cstring>

#include "platform/CPlatform.h"
#include "usb/CUsbDevice.h"
#include "usb/DeviceContract.h"

IMPLEMENT_DYNAMIC(CUsbMessageWindow, CWnd)

BEGIN_MESSAGE_MAP(CUsbMessageWindow, CWnd)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_DEVICECHANGE()
END_MESSAGE_MAP()

namespace {
constexpr DWORD kFilterSize = 32;
// A record must reach past its class to be compared at all.
constexpr std::size_t kRecordThroughClass = offsetof(DevBroadcastDeviceInterface, dbcc_name);

// True when `data` is a device-interface record of the device's own class.
bool IsNoticeOfDeviceClass(DWORD_PTR data)
{
    if (data == 0) {
        return false;
    }
    const auto* header = reinterpret_cast<const DevBroadcastHeader*>(data);
    if (header->dbch_devicetype != DBT_DEVTYP_DEVICEINTERFACE || header->dbch_size < kRecordThroughClass) {
        return false;
    }
    const auto* record = reinterpret_cast<const DevBroadcastDeviceInterface*>(data);
    return std::memcmp(record->dbcc_classguid.bytes, kDeviceInterfaceClass.bytes, sizeof kDeviceInterfaceClass.bytes) ==
           0;
}

// The interface path a record of the class names: its text up to the first
// zero byte, never past the size the record gives itself. Empty when the
// record names none.
CString InterfacePathOf(DWORD_PTR data)
{
    const auto* header = reinterpret_cast<const DevBroadcastHeader*>(data);
    const char* name = reinterpret_cast<const char*>(data) + kRecordThroughClass;
    const std::size_t room = header->dbch_size - kRecordThroughClass;
    const void* end = std::memchr(name, '\0', room);
    const std::size_t length = end != nullptr ? static_cast<std::size_t>(static_cast<const char*>(end) - name) : room;
    return CString(name, static_cast<int>(length));
}
}  // namespace

CUsbMessageWindow::CUsbMessageWindow() : m_hDevNotify(nullptr), m_pDevice(nullptr) {}

CUsbMessageWindow::~CUsbMessageWindow()
{
    // Here, not in the base destructor, so that OnDestroy still runs.
    DestroyWindow();
}

BOOL CUsbMessageWindow::CreateFor(CUsbDevice* device)
{
    m_pDevice = device;
    return CreateEx(0, AfxRegisterWndClass(0), "TreloxMessageWindow", WS_POPUP, 0, 0, 0, 0, nullptr, 0, nullptr);
}

int CUsbMessageWindow::OnCreate(AfxCreateStruct* createStruct)
{
    if (CWnd::OnCreate(createStruct) == -1) {
        return -1;
    }
    DevBroadcastDeviceInterface filter = {};
    filter.dbcc_size = kFilterSize;
    filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    filter.dbcc_reserved = 0;
    filter.dbcc_classguid = kDeviceInterfaceClass;
    filter.dbcc_name[0] = '\0';
    // Without a registration the window simply hears nothing.
    m_hDevNotify = Platform().RegisterDeviceNotification(m_hWnd, filter);
    return 0;
}

void CUsbMessageWindow::OnDestroy()
{
    if (m_hDevNotify != nullptr) {
        Platform().UnregisterDeviceNotification(m_hDevNotify);
        m_hDevNotify = nullptr;
    }
    CWnd::OnDestroy();
}

BOOL CUsbMessageWindow::OnDeviceChange(UINT eventType, DWORD_PTR data)
{
    // The device object decides whether the device the notice names is its own.
    if (IsNoticeOfDeviceClass(data) && m_pDevice != nullptr) {
        if (eventType == DBT_DEVICEARRIVAL) {
            m_pDevice->OnDeviceArrival(InterfacePathOf(data));
        } else if (eventType == DBT_DEVICEREMOVECOMPLETE) {
            m_pDevice->OnDeviceRemoval(InterfacePathOf(data));
        }
    }
    return CWnd::OnDeviceChange(eventType, data);
}
