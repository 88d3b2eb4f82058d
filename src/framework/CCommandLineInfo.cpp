// The framework's command-line record and the splitting into its calls.
#include "framework/CCommandLineInfo.h"

#include <cstring>

void CCommandLineInfo::ParseParam(const char* pszParam, BOOL bFlag, BOOL /*bLast*/)
{
    if (!bFlag && m_strFileName.IsEmpty()) {
        m_strFileName = pszParam;
    }
}

namespace {
// Where absolute paths begin with "/", "/I" is still a switch, but an
// argument with a second "/" ("/home/me/fw.s19") is a file, not a flag.
#if defined(_WIN32)
constexpr bool kSlashBeginsPaths = false;
#else
constexpr bool kSlashBeginsPaths = true;
#endif

bool IsFlag(const char* argument)
{
    if (argument[0] == '-') {
        return true;
    }
    if (argument[0] != '/') {
        return false;
    }
    return !kSlashBeginsPaths || std::strchr(argument + 1, '/') == nullptr;
}
}  // namespace

void AfxParseCommandLine(CCommandLineInfo& info, int argc, char* argv[])
{
    if (argv == nullptr) {
        return;
    }
    int count = 1;
    while (count < argc && argv[count] != nullptr) {
        ++count;
    }
    for (int i = 1; i < count; ++i) {
        const char* argument = argv[i];
        const BOOL isFlag = IsFlag(argument) ? TRUE : FALSE;
        info.ParseParam(isFlag ? argument + 1 : argument, isFlag, i == count - 1 ? TRUE : FALSE);
    }
}
