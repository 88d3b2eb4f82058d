// The framework's command-line record: the application's parser receives the
// arguments one at a time through ParseParam.
#pragma once

#include "framework/AfxTypes.h"
#include "framework/CString.h"

class CCommandLineInfo {
public:
    CCommandLineInfo() = default;
    virtual ~CCommandLineInfo() = default;

    // One argument: its text (after the "-" or "/" of a flag), whether it is a
    // flag, and whether it is the last argument. The framework's own rule
    // takes the first plain argument as the file name.
    virtual void ParseParam(const char* pszParam, BOOL bFlag, BOOL bLast);

    CString m_strFileName;
};

// Feeds `info` the arguments argv[1] to argv[argc - 1], in order. An argument
// that begins with "-" or "/" is a flag and is passed without that character
// (except, where absolute paths begin with "/", one with a further "/");
// bLast is TRUE for the final argument only. A null entry ends the arguments.
void AfxParseCommandLine(CCommandLineInfo& info, int argc, char* argv[]);
