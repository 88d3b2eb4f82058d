// The framework's command-line record and the splitting into its calls.
#include "framework/CCommandLineInfo.h"

void CCommandLineInfo::ParseParam(const char* pszParam, BOOL bFlag, BOOL /*bLast*/)
{
    if (!bFlag && m_strFileName.IsEmpty()) {
        m_strFileName = pszParam;
    }
}

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
        const BOOL isFlag = (argument[0] == '-' || argument[0] == '/') ? TRUE : FALSE;
        info.ParseParam(isFlag ? argument + 1 : argument, isFlag, i == count - 1 ? TRUE : FALSE);
    }
}
