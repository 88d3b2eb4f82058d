// Paths of the programs and modules the Windows tests use.
#include "TestPaths.h"

#include "platform/win32/Win32Api.h"

std::string SiblingOfTestProgram(const char* fileName)
{
    char self[MAX_PATH] = {};
    const DWORD length = ::GetModuleFileNameA(nullptr, self, MAX_PATH);
    const std::string path(self, length);
    return path.substr(0, path.find_last_of("\\/") + 1) + fileName;
}

std::string SystemPathOf(const std::string& buildPath)
{
    if (buildPath.empty() || buildPath[0] != '/') {
        return buildPath;
    }
    std::string path = "Z:" + buildPath;
    for (char& ch : path) {
        if (ch == '/') {
            ch = '\\';
        }
    }
    return path;
}
