// The device object's link: finding the device, opening and closing its pipes.
#include "usb/CUsbDevice.h"

#include <algorithm>

#include "platform/CPlatform.h"
#include "usb/DeviceContract.h"

namespace {

const DWORD kInstancePieceMax = 255;

// Characters from `text` up to the next "#" or the end.
std::size_t PieceLength(const char* text)
{
    std::size_t length = 0;
    while (text[length] != '\0' && text[length] != '#') {
        ++length;
    }
    return length;
}

void ClosePipe(HANDLE& pipe)
{
    if (pipe != INVALID_HANDLE_VALUE) {
        Platform().CloseHandle(pipe);
        pipe = INVALID_HANDLE_VALUE;
    }
}

// Opens both pipes of the interface at `path`; on failure neither stays open.
bool OpenPipes(const CString& path, HANDLE& writePipe, HANDLE& readPipe)
{
    CPlatform& platform = Platform();
    writePipe = platform.OpenPipe((path + kWritePipeSuffix).GetString(), PipeAccess::Write);
    if (writePipe == INVALID_HANDLE_VALUE) {
        return false;
    }
    readPipe = platform.OpenPipe((path + kReadPipeSuffix).GetString(), PipeAccess::Read);
    if (readPipe == INVALID_HANDLE_VALUE) {
        ClosePipe(writePipe);
        return false;
    }
    return true;
}

// True when the device list holds an interface at `path`.
bool IsListed(HANDLE list, const CString& path)
{
    CPlatform& platform = Platform();
    for (DWORD index = 0; platform.EnumDeviceInterface(list, kDeviceInterfaceClass, index); ++index) {
        char listed[kDetailRecordSize - kDetailRecordHeaderSize] = {};
        DWORD required = 0;
        if (platform.GetDeviceInterfacePath(list, index, listed, kDetailRecordSize, &required)) {
            listed[sizeof listed - 1] = '\0';
            if (CUsbDevice::SamePath(path, listed)) {
                return true;
            }
        }
    }
    return false;
}

}  // namespace

CUsbDevice::CUsbDevice() : m_hReadPipe(INVALID_HANDLE_VALUE), m_hWritePipe(INVALID_HANDLE_VALUE) {}

CUsbDevice::~CUsbDevice()
{
    Close();
}

int CUsbDevice::Open()
{
    return Search(nullptr);
}

int CUsbDevice::OpenDevice(const CString& interfacePath)
{
    return Search(&interfacePath);
}

int CUsbDevice::Search(const CString* onlyPath)
{
    CPlatform& platform = Platform();
    HANDLE list = platform.GetClassDevs(kDeviceInterfaceClass);
    if (list == INVALID_HANDLE_VALUE) {
        return static_cast<int>(platform.GetLastError());
    }
    const bool keep = onlyPath == nullptr || SamePath(*onlyPath, m_strInterfacePath);
    if (IsOpen() && keep && IsListed(list, m_strInterfacePath)) {
        // The device in use is still there: another one of the class that
        // arrived must not take over the records still to come.
        platform.DestroyDeviceInfoList(list);
        return 0;
    }

    int result = 0;
    for (DWORD index = 0;; ++index) {
        if (!platform.EnumDeviceInterface(list, kDeviceInterfaceClass, index)) {
            result = static_cast<int>(platform.GetLastError());
            break;
        }
        char path[kDetailRecordSize - kDetailRecordHeaderSize] = {};
        DWORD required = 0;
        if (!platform.GetDeviceInterfacePath(list, index, path, kDetailRecordSize, &required)) {
            result = static_cast<int>(platform.GetLastError());
            break;
        }
        path[sizeof path - 1] = '\0';  // whatever the backend left, the path ends here
        if (onlyPath != nullptr && !SamePath(*onlyPath, path)) {
            continue;  // another device: not tried, and not judged either
        }
        if (required > kMaxDetailRequiredSize) {
            result = ERROR_OUTOFMEMORY;
            break;
        }

        HANDLE writePipe = INVALID_HANDLE_VALUE;
        HANDLE readPipe = INVALID_HANDLE_VALUE;
        if (OpenPipes(CString(path), writePipe, readPipe)) {
            // A link that was still open gives way only now, so that a search
            // that finds nothing leaves it working.
            Close();
            m_hWritePipe = writePipe;
            m_hReadPipe = readPipe;
            m_strInstanceId = ParseInstanceId(CString(path));
            m_strInterfacePath = path;
            result = 0;
            break;
        }
    }
    platform.DestroyDeviceInfoList(list);
    return result;
}

bool CUsbDevice::IsPresent(const CString& interfacePath)
{
    CPlatform& platform = Platform();
    HANDLE list = platform.GetClassDevs(kDeviceInterfaceClass);
    if (list == INVALID_HANDLE_VALUE) {
        return false;
    }
    const bool listed = IsListed(list, interfacePath);
    platform.DestroyDeviceInfoList(list);
    return listed;
}

bool CUsbDevice::SamePath(const CString& a, const CString& b)
{
    return a.CompareNoCase(b.GetString()) == 0;
}

void CUsbDevice::Close()
{
    ClosePipe(m_hWritePipe);
    ClosePipe(m_hReadPipe);
    m_strInstanceId.Empty();
    m_strInterfacePath.Empty();
}

CString CUsbDevice::GetInstanceId() const
{
    return m_strInstanceId;
}

bool CUsbDevice::IsOpen() const
{
    return m_hWritePipe != INVALID_HANDLE_VALUE && m_hReadPipe != INVALID_HANDLE_VALUE;
}

CString CUsbDevice::ParseInstanceId(const CString& interfacePath)
{
    // Like scanning "%*[^#]#%255[^#]#%255[^#]": a non-empty prefix, "#", a
    // hardware id of 1 to 255 characters, "#", then the instance id (cut at
    // 255 characters). The text ends at its first zero byte, as a scan would.
    const char* text = interfacePath.GetString();
    const std::size_t prefix = PieceLength(text);
    if (prefix == 0 || text[prefix] != '#') {
        return CString();
    }
    text += prefix + 1;
    const std::size_t hardwareId = PieceLength(text);
    if (hardwareId == 0 || hardwareId > kInstancePieceMax || text[hardwareId] != '#') {
        return CString();
    }
    text += hardwareId + 1;
    const std::size_t instanceId = std::min<std::size_t>(PieceLength(text), kInstancePieceMax);
    return CString(text, static_cast<int>(instanceId));
}
