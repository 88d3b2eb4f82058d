// The folders and file names of the lock-file mutexes.
#include "platform/posix/CLockDirectory.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <utility>

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
    m_isDefault = configured == nullptr || configured[0] == '\0';
    m_root = m_isDefault ? "/tmp/trelox-locks" : configured;
}

CLockDirectory::CLockDirectory(std::string root, bool isDefault) : m_root(std::move(root)), m_isDefault(isDefault)
{
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
    int error = PrepareSharedFolder(m_root);
    if (error != 0) {
        return error;
    }
    std::string folder;
    if (global) {
        folder = m_root + "/global";
        error = PrepareSharedFolder(folder);
    } else {
        folder = m_root + "/local-" + std::to_string(::getuid());
        error = CreateFolder(folder, 0700);
        if (error == 0 || error == EEXIST) {
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
        return errno;
    }
    // Whatever the umask: shared folders must be open to every user.
    return ::chmod(path.c_str(), static_cast<mode_t>(mode)) == 0 ? 0 : errno;
}

int CLockDirectory::PrepareSharedFolder(const std::string& path) const
{
    const int error = CreateFolder(path, 01777);
    return error == EEXIST ? CheckSharedFolder(path) : error;
}

int CLockDirectory::CheckSharedFolder(const std::string& path) const
{
    struct stat info;
    if (!m_isDefault) {
        if (::stat(path.c_str(), &info) != 0) {
            return errno;
        }
        return S_ISDIR(info.st_mode) ? 0 : ENOTDIR;
    }
    if (::lstat(path.c_str(), &info) != 0) {
        return errno;
    }
    const bool sticky = (info.st_mode & S_ISVTX) != 0;
    const bool trustedOwner = info.st_uid == 0 || info.st_uid == ::getuid();
    const bool othersMayWrite = (info.st_mode & (S_IWGRP | S_IWOTH)) != 0;
    if (!S_ISDIR(info.st_mode) || !(trustedOwner || sticky) || (othersMayWrite && !sticky)) {
        return EACCES;
    }
    return 0;
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
