// Opening, registering and closing a FunctionFS function's files.
#include "FunctionFsFiles.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

bool WriteBlock(int fd, const std::string& block, const char* what, std::string* error)
{
    const ssize_t written = write(fd, block.data(), block.size());
    if (written == static_cast<ssize_t>(block.size())) return true;
    *error = std::string("FunctionFS refused the ") + what + ": " + std::strerror(written < 0 ? errno : EIO);
    return false;
}

}  // namespace

FunctionFsFiles::~FunctionFsFiles()
{
    Close();
}

bool FunctionFsFiles::Open(const std::string& mountPoint, std::string* error)
{
    const std::string control = mountPoint + "/ep0";
    m_control = open(control.c_str(), O_RDWR | O_CLOEXEC);
    if (m_control < 0) {
        *error = "cannot open " + control + ": " + std::strerror(errno);
        return false;
    }
    if (!WriteBlock(m_control, FfsDescriptors::Descriptors(), "descriptors", error) ||
        !WriteBlock(m_control, FfsDescriptors::Strings(), "strings", error)) {
        Close();
        return false;
    }
    // Events are taken when poll says they wait; a read must never block the loop.
    fcntl(m_control, F_SETFL, fcntl(m_control, F_GETFL) | O_NONBLOCK);
    for (int index = 0; index < FfsDescriptors::kEndpoints; ++index) {
        const std::string path = mountPoint + "/ep" + std::to_string(index + 1);
        m_endpoints[index] = open(path.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
        if (m_endpoints[index] < 0) {
            *error = "cannot open " + path + ": " + std::strerror(errno);
            Close();
            return false;
        }
    }
    return true;
}

void FunctionFsFiles::Close()
{
    for (int& fd : m_endpoints) {
        if (fd >= 0) close(fd);
        fd = -1;
    }
    if (m_control >= 0) close(m_control);
    m_control = -1;
}

bool FunctionFsFiles::TakeEvent(usb_functionfs_event* event) const
{
    return read(m_control, event, sizeof *event) == static_cast<ssize_t>(sizeof *event);
}

void FunctionFsFiles::RefuseSetup(const usb_ctrlrequest& setup) const
{
    // An I/O against the request's data direction makes ep0 answer STALL.
    char byte = 0;
    if ((setup.bRequestType & USB_DIR_IN) != 0) {
        if (read(m_control, &byte, 0) < 0) return;
    } else if (write(m_control, &byte, 0) < 0) {
        return;
    }
}

int FunctionFsFiles::Halt(int index) const
{
    char byte = 0;
    const int fd = m_endpoints[index];
    const ssize_t done = FfsDescriptors::IsInput(index) ? read(fd, &byte, 1) : write(fd, &byte, 1);
    // FunctionFS reports a halt carried out as EBADMSG.
    if (done < 0 && errno == EBADMSG) return 0;
    return done < 0 ? errno : EIO;
}
