// Fuzz target: the instance id taken from an interface path, checked against
// the formatted scan whose result it must equal.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "usb/CUsbDevice.h"

namespace {

// The scan "%*[^#]#%255[^#]#%255[^#]#" into two zeroed 256-byte buffers: the
// second piece when both were taken, else nothing.
std::string ScannedInstanceId(const std::string& path)
{
    char hardwareId[256] = {};
    char instanceId[256] = {};
    const int taken = std::sscanf(path.c_str(), "%*[^#]#%255[^#]#%255[^#]#", hardwareId, instanceId);
    return taken == 2 ? std::string(instanceId) : std::string();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string path(reinterpret_cast<const char*>(data), size);
    const CString parsed = CUsbDevice::ParseInstanceId(CString(path));
    const std::string expected = ScannedInstanceId(path);
    if (parsed.Bytes() != expected) {
        std::fprintf(stderr, "instance id \"%s\", the scan gives \"%s\"\n", parsed.GetString(), expected.c_str());
        std::abort();
    }
    if (parsed.GetLength() > 255 || parsed.Bytes().find('#') != std::string::npos) {
        std::abort();
    }
    return 0;
}
