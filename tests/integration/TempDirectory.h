// A private temporary directory for one test, removed with everything in it
// when the object goes.
#pragma once

#include <string>
#include <vector>

class TempDirectory {
public:
    // Creates /tmp/trx-XXXXXX (short, so that bus socket paths stay short).
    TempDirectory();
    TempDirectory(const TempDirectory&) = delete;
    TempDirectory& operator=(const TempDirectory&) = delete;
    ~TempDirectory();

    const std::string& Path() const { return m_path; }
    // Path() + "/" + name.
    std::string File(const std::string& name) const;
    // Creates the subdirectory `name` (mode 0700) and returns its path.
    std::string MakeSubdirectory(const std::string& name) const;
    // The names in the directory `path`, sorted; no "." or "..".
    static std::vector<std::string> List(const std::string& path);
    // The bytes of the file `path`; empty when it cannot be read.
    static std::string Read(const std::string& path);

private:
    std::string m_path;
};
