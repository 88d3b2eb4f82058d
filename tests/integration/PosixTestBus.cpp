// A private simulated bus and lock root for one test of the POSIX platform.
#include "PosixTestBus.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>

const char PosixTestBus::kClassSuffix[] = "#{c0558574-212d-4625-8877-fe9c2e8ed396}";

namespace {

bool SaveVariable(const char* name, std::string* saved)
{
    const char* value = std::getenv(name);
    if (value != nullptr) {
        *saved = value;
    }
    return value != nullptr;
}

void RestoreVariable(const char* name, bool had, const std::string& saved)
{
    if (had) {
        ::setenv(name, saved.c_str(), 1);
    } else {
        ::unsetenv(name);
    }
}

}  // namespace

PosixTestBus::PosixTestBus(const std::string& busName)
{
    char pattern[] = "/tmp/trelox-posix-XXXXXX";
    if (::mkdtemp(pattern) == nullptr) {
        throw std::runtime_error("no temporary folder");
    }
    m_root = pattern;
    m_busPath = m_root + "/" + busName;
    m_lockPath = m_root + "/locks";
    m_hadBus = SaveVariable("TRELOX_USB_BUS", &m_savedBus);
    m_hadLocks = SaveVariable("TRELOX_LOCK_DIR", &m_savedLocks);
    ::setenv("TRELOX_USB_BUS", m_busPath.c_str(), 1);
    ::setenv("TRELOX_LOCK_DIR", m_lockPath.c_str(), 1);
}

PosixTestBus::~PosixTestBus()
{
    RestoreVariable("TRELOX_USB_BUS", m_hadBus, m_savedBus);
    RestoreVariable("TRELOX_LOCK_DIR", m_hadLocks, m_savedLocks);
    std::error_code ignored;
    std::filesystem::remove_all(m_root, ignored);
}

void PosixTestBus::CreateBus() const
{
    ::mkdir(m_busPath.c_str(), 0700);
}

void PosixTestBus::PutMarker(const std::string& interfacePath) const
{
    const std::string hidden = m_busPath + "/." + interfacePath;
    PutFile("." + interfacePath);
    if (std::rename(hidden.c_str(), (m_busPath + "/" + interfacePath).c_str()) != 0) {
        throw std::runtime_error("marker not renamed");
    }
}

void PosixTestBus::RemoveMarker(const std::string& interfacePath) const
{
    ::unlink((m_busPath + "/" + interfacePath).c_str());
}

void PosixTestBus::PutFile(const std::string& name) const
{
    const int fd = ::open((m_busPath + "/" + name).c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (fd < 0) {
        throw std::runtime_error("file not created");
    }
    ::close(fd);
}
