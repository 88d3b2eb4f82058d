// Creating, listing and removing a test's private temporary directory, and
// reading the files in it.
#include "TempDirectory.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include <sys/stat.h>

TempDirectory::TempDirectory()
{
    char pattern[] = "/tmp/trx-XXXXXX";
    if (mkdtemp(pattern) == nullptr) throw std::runtime_error("mkdtemp failed");
    m_path = pattern;
}

TempDirectory::~TempDirectory()
{
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

std::string TempDirectory::File(const std::string& name) const
{
    return m_path + "/" + name;
}

std::string TempDirectory::MakeSubdirectory(const std::string& name) const
{
    const std::string path = File(name);
    if (mkdir(path.c_str(), 0700) != 0) throw std::runtime_error("mkdir failed: " + path);
    return path;
}

std::vector<std::string> TempDirectory::List(const std::string& path)
{
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(path, error)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string TempDirectory::Read(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}
