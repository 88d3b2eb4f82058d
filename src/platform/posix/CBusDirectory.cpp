// The simulated USB bus directory: markers, listing and pipe sockets.
#include "platform/posix/CBusDirectory.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "platform/DeviceInterfaceClass.h"

namespace {

char LowerAscii(char ch)
{
    return (ch >= 'A' && ch <= 'Z') ? static_cast<char>(ch - 'A' + 'a') : ch;
}

bool EndsWithNoCase(const std::string& text, const char* suffix)
{
    const std::size_t suffixLength = std::strlen(suffix);
    if (text.size() < suffixLength) {
        return false;
    }
    const std::size_t start = text.size() - suffixLength;
    for (std::size_t i = 0; i < suffixLength; ++i) {
        if (LowerAscii(text[start + i]) != LowerAscii(suffix[i])) {
            return false;
        }
    }
    return true;
}

// Fills `address` with `path`; false when it does not fit.
bool FillAddress(const std::string& path, sockaddr_un* address)
{
    if (path.size() >= sizeof(address->sun_path)) {
        return false;
    }
    std::memset(address, 0, sizeof(*address));
    address->sun_family = AF_UNIX;
    std::memcpy(address->sun_path, path.data(), path.size());
    return true;
}

int ConnectTo(const sockaddr_un& address)
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return -1;
    }
    int result;
    do {
        result = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address));
    } while (result != 0 && errno == EINTR);
    if (result != 0) {
        const int error = errno;
        ::close(fd);
        errno = error;
        return -1;
    }
    // Transfers never block: large frames go out while the reply is awaited.
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
    return fd;
}

}  // namespace

CBusDirectory::CBusDirectory()
{
    const char* configured = std::getenv("TRELOX_USB_BUS");
    m_isDefault = configured == nullptr || configured[0] == '\0';
    m_path = m_isDefault ? "/tmp/trelox-usb-" + std::to_string(::getuid()) : configured;
}

CBusDirectory::CBusDirectory(std::string path, bool isDefault) : m_path(std::move(path)), m_isDefault(isDefault) {}

bool CBusDirectory::IsMarkerName(const std::string& name)
{
    return !name.empty() && name[0] != '.' && EndsWithNoCase(name, kDeviceInterfaceClassSuffix.text);
}

int CBusDirectory::Create() const
{
    if (::mkdir(m_path.c_str(), 0700) != 0) {
        return errno == EEXIST ? CheckFolder() : errno;
    }
    // The umask may have narrowed the mode; the bus is the user's alone.
    return ::chmod(m_path.c_str(), 0700) == 0 ? 0 : errno;
}

int CBusDirectory::CheckFolder() const
{
    struct stat info;
    if (!m_isDefault) {
        if (::stat(m_path.c_str(), &info) != 0) {
            return errno;
        }
        return S_ISDIR(info.st_mode) ? 0 : ENOTDIR;
    }
    if (::lstat(m_path.c_str(), &info) != 0) {
        return errno;
    }
    // Anyone can make the default folder first: a folder of another user, or
    // one that others may write into, could present a device that is none.
    if (!S_ISDIR(info.st_mode) || info.st_uid != ::getuid() || (info.st_mode & 077) != 0) {
        return EACCES;
    }
    return 0;
}

int CBusDirectory::ListMarkers(std::vector<std::string>* names) const
{
    names->clear();
    const int folder = CheckFolder();
    if (folder != 0) {
        return folder == ENOENT ? 0 : folder;
    }
    DIR* directory = ::opendir(m_path.c_str());
    if (directory == nullptr) {
        return errno == ENOENT ? 0 : errno;
    }
    const int directoryFd = ::dirfd(directory);
    while (const dirent* entry = ::readdir(directory)) {
        const std::string name = entry->d_name;
        struct stat info;
        if (IsMarkerName(name) && ::fstatat(directoryFd, entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(info.st_mode)) {
            names->push_back(name);
        }
    }
    ::closedir(directory);
    // std::string compares bytes as unsigned: the byte order of the names.
    std::sort(names->begin(), names->end());
    return 0;
}

int CBusDirectory::ConnectPipe(const std::string& pipePath, int* socketFd) const
{
    *socketFd = -1;
    // A pipe path is a name inside the bus, never a way out of it.
    if (pipePath.empty() || pipePath.find('/') != std::string::npos) {
        return ENOENT;
    }
    const int folder = CheckFolder();
    if (folder != 0) {
        return folder;
    }
    sockaddr_un address;
    if (FillAddress(m_path + "/" + pipePath, &address)) {
        *socketFd = ConnectTo(address);
        return *socketFd >= 0 ? 0 : errno;
    }
    // Too long for a socket address: reach the socket through the open
    // directory's descriptor, as the device does when it binds.
    const int directoryFd = ::open(m_path.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (directoryFd < 0) {
        return errno;
    }
    int error = ENAMETOOLONG;
    if (FillAddress("/proc/self/fd/" + std::to_string(directoryFd) + "/" + pipePath, &address)) {
        *socketFd = ConnectTo(address);
        error = *socketFd >= 0 ? 0 : errno;
    }
    ::close(directoryFd);
    return error;
}
