// The bus directory: its location, socket addresses and marker files.
#include "BusDirectory.h"

#include <cerrno>
#include <cstddef>
#include <cstdlib>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const std::size_t kMaxSocketPath = 107;

std::string SharedDefaultPath()
{
    return "/tmp/trelox-usb-" + std::to_string(static_cast<unsigned long>(getuid()));
}

std::string DefaultBusPath()
{
    const char* fromEnvironment = std::getenv("TRELOX_USB_BUS");
    if (fromEnvironment != nullptr && *fromEnvironment != '\0') return fromEnvironment;
    return SharedDefaultPath();
}

// The default folder lies in /tmp, where anybody could have made it first:
// serve it only as the user's private folder, as the program trusts it.
bool IsPrivateFolder(const std::string& path)
{
    struct stat info;
    return lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == getuid() &&
           (info.st_mode & 077) == 0;
}

}  // namespace

BusDirectory::~BusDirectory()
{
    if (m_fd >= 0) close(m_fd);
}

bool BusDirectory::Open(const std::string& configured, std::string* error)
{
    m_path = configured.empty() ? DefaultBusPath() : configured;
    const char* fromEnvironment = std::getenv("TRELOX_USB_BUS");
    m_named = !configured.empty() || (fromEnvironment != nullptr && *fromEnvironment != '\0');
    if (mkdir(m_path.c_str(), 0700) == 0) {
        // The umask may have narrowed the mode; the contract wants 0700.
        chmod(m_path.c_str(), 0700);
    } else if (errno != EEXIST) {
        *error = "cannot create bus directory " + m_path + ": " + std::strerror(errno);
        return false;
    }
    if (m_path == SharedDefaultPath() && !IsPrivateFolder(m_path)) {
        *error = "bus directory " + m_path + " is not a private folder of this user (mode 0700)";
        return false;
    }
    m_fd = open(m_path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (m_fd < 0) {
        *error = "cannot open bus directory " + m_path + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

bool BusDirectory::SocketAddress(const std::string& name, sockaddr_un* address, socklen_t* length) const
{
    std::string path = m_path + "/" + name;
    if (path.size() > kMaxSocketPath) {
        path = "/proc/self/fd/" + std::to_string(m_fd) + "/" + name;
        if (path.size() > kMaxSocketPath) return false;
    }
    std::memset(address, 0, sizeof *address);
    address->sun_family = AF_UNIX;
    std::memcpy(address->sun_path, path.data(), path.size());
    *length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + path.size() + 1);
    return true;
}

bool BusDirectory::Exists(const std::string& name) const
{
    struct stat info;
    return fstatat(m_fd, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0;
}

bool BusDirectory::Answers(const std::string& name) const
{
    sockaddr_un address;
    socklen_t length = 0;
    if (!SocketAddress(name, &address, &length)) return false;
    int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    const bool answered = connect(fd, reinterpret_cast<sockaddr*>(&address), length) == 0;
    close(fd);
    return answered;
}

bool BusDirectory::CreateMarker(const std::string& name, const std::string& content, std::string* error) const
{
    const std::string temporary = "." + name;
    int fd = openat(m_fd, temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        *error = "cannot create marker " + temporary + ": " + std::strerror(errno);
        return false;
    }
    bool written = write(fd, content.data(), content.size()) == static_cast<ssize_t>(content.size());
    close(fd);
    if (!written || renameat(m_fd, temporary.c_str(), m_fd, name.c_str()) != 0) {
        *error = "cannot publish marker " + name + ": " + std::strerror(errno);
        unlinkat(m_fd, temporary.c_str(), 0);
        return false;
    }
    return true;
}

void BusDirectory::Remove(const std::string& name) const
{
    unlinkat(m_fd, name.c_str(), 0);
}
