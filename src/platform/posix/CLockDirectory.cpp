// The folders and file names of the lock-file mutexes.
#include "CLockDirectory.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace {

const char kGlobalPrefix[] = "Global\\";
const char kLocalPrefix[] = "Local\\";

bool StartsWith(const std::string& text, const std::string& prefix)
{
    return text.compare(0, prefix.size(), prefix) == 0;
}

bool IsPlainByte(unsigned char byte)
{
    return (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') || (byte >= '0' && byte <= '9') ||
           byte == '.' || byte == '_' || byte == '-';
}

}  // namespace

CLockDirectory::CLockDirectory()
{
    const char* configured = std::getenv("TRELOX_LOCK_DIR");
    m_root = (configured != nullptr && configured[0] != '\0') ? configured : "/tmp/trelox-locks";
}

std::string CLockDirectory::Escape(const std::string& name)
{
    static const char kHex[] = "0123456789ABCDEF";
    const bool namesFolder = name == "." || name == "..";
    std::string escaped;
    for (const char ch : name) {
        const auto byte = static_cast<unsigned char>(ch);
        if (IsPlainByte(byte) && !namesFolder) {
            escaped += ch;
        } else {
            escaped += '%';
            escaped += kHex[byte >> 4];
            escaped += kHex[byte & 0x0F];
        }
    }
    return escaped;
}

int CLockDirectory::PrepareLockFile(const std::string& mutexName, std::string* path) const
{
    const bool global = StartsWith(mutexName, kGlobalPrefix);
    std::string name = mutexName;
    if (global) {
        name.erase(0, sizeof(kGlobalPrefix) - 1);
    } else if (StartsWith(mutexName, kLocalPrefix)) {
        name.erase(0, sizeof(kLocalPrefix) - 1);
    }
    if (name.empty()) {
        return EINVAL;
    }
    int error = CreateFolder(m_root, 01777);
    if (error != 0) {
        return error;
    }
    std::string folder;
    if (global) {
        folder = m_root + "/global";
        error = CreateFolder(folder, 01777);
    } else {
        folder = m_root + "/local-" + std::to_string(::getuid());
        error = CreateFolder(folder, 0700);
        if (error == 0) {
            error = CheckOwnFolder(folder);
        }
    }
    if (error != 0) {
        return error;
    }
    *path = folder + "/" + Escape(name);
    return 0;
}

int CLockDirectory::CreateFolder(const std::string& path, unsigned mode)
{
    if (::mkdir(path.c_str(), 0700) != 0) {
        return errno == EEXIST ? 0 : errno;
    }
    // Shared folders must be open to every user whatever this user's umask.
    return ::chmod(path.c_str(), static_cast<mode_t>(mode)) == 0 ? 0 : errno;
}

int CLockDirectory::CheckOwnFolder(const std::string& path)
{
    struct stat info;
    if (::lstat(path.c_str(), &info) != 0) {
        return errno;
    }
    if (!S_ISDIR(info.st_mode) || info.st_uid != ::getuid()) {
        return EACCES;
    }
    return 0;
}
