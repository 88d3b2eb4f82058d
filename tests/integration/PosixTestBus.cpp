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

std::string MakeRoot()
{
    char pattern[] = "/tmp/trelox-posix-XXXXXX";
    if (::mkdtemp(pattern) == nullptr) {
        throw std::runtime_error("no temporary folder");
    }
    return pattern;
}

}  // namespace

PosixTestBus::PosixTestBus(const std::string& busName)
    : m_root(MakeRoot()),
      m_busPath(m_root + "/" + busName),
      m_lockPath(m_root + "/locks"),
      m_environment(m_busPath, m_lockPath)
{
}

PosixTestBus::~PosixTestBus()
{
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
