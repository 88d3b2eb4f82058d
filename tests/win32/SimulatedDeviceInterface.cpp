// Registering a simulated device interface in a Wine prefix.
#include "SimulatedDeviceInterface.h"

#include <cctype>
#include <cstdio>
#include <cstring>

SimulatedDeviceInterface::SimulatedDeviceInterface(const DeviceClassGuid& interfaceClass,
                                                   const std::string& instance)
    : m_class(interfaceClass), m_instance(instance)
{
    GUID guid;
    std::memcpy(&guid, m_class.bytes, sizeof guid);
    m_set = ::SetupDiCreateDeviceInfoList(&guid, nullptr);
    if (m_set == INVALID_HANDLE_VALUE) {
        return;
    }
    SP_DEVINFO_DATA device{};
    device.cbSize = sizeof device;
    const std::string instanceId = "ROOT\\TRELOXTEST\\" + m_instance;
    if (!::SetupDiCreateDeviceInfoA(m_set, instanceId.c_str(), &guid, nullptr, nullptr, 0, &device) ||
        !::SetupDiRegisterDeviceInfo(m_set, &device, 0, nullptr, nullptr, nullptr)) {
        return;
    }
    SP_DEVICE_INTERFACE_DATA face{};
    face.cbSize = sizeof face;
    m_registered = ::SetupDiCreateDeviceInterfaceA(m_set, &device, &guid, nullptr, 0, &face) != FALSE;
}

SimulatedDeviceInterface::~SimulatedDeviceInterface()
{
    SetPresent(false);
    if (m_set != INVALID_HANDLE_VALUE) {
        ::SetupDiDestroyDeviceInfoList(m_set);
    }
}

std::string SimulatedDeviceInterface::ClassText() const
{
    GUID guid;
    std::memcpy(&guid, m_class.bytes, sizeof guid);
    char text[40];
    std::snprintf(text, sizeof text, "{%08lx-%04x-%04x-%02x%02x-%02x%02x%02x%02x%02x%02x}",
                  static_cast<unsigned long>(guid.Data1), guid.Data2, guid.Data3, guid.Data4[0], guid.Data4[1],
                  guid.Data4[2], guid.Data4[3], guid.Data4[4], guid.Data4[5], guid.Data4[6], guid.Data4[7]);
    return text;
}

std::string SimulatedDeviceInterface::ExpectedPath() const
{
    std::string instance = m_instance;
    for (char& ch : instance) {
        ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    }
    return "\\\\?\\root#treloxtest#" + instance + "#" + ClassText();
}

bool SimulatedDeviceInterface::SetPresent(bool present)
{
    if (!m_registered) {
        return false;
    }
    const std::string key = "System\\CurrentControlSet\\Control\\DeviceClasses\\" + ClassText() +
                            "\\##?#ROOT#TRELOXTEST#" + m_instance + "#" + ClassText() + "\\#\\Control";
    HKEY control = nullptr;
    if (::RegCreateKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &control,
                          nullptr) != ERROR_SUCCESS) {
        return false;
    }
    const DWORD linked = present ? 1 : 0;
    const LONG result = ::RegSetValueExA(control, "Linked", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&linked),
                                         sizeof linked);
    ::RegCloseKey(control);
    return result == ERROR_SUCCESS;
}

bool RunningUnderWine()
{
    HMODULE ntdll = ::GetModuleHandleA("ntdll.dll");
    return ntdll != nullptr && ::GetProcAddress(ntdll, "wine_get_version") != nullptr;
}
