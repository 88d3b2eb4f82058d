// The program's command-line record: the switch "I" and the flash file name
// (and the identity strings the main dialog can be handed).
#pragma once

#include <cstdint>

#include "framework/CCommandLineInfo.h"

class CTreloxCommandLineInfo : public CCommandLineInfo {
public:
    CTreloxCommandLineInfo() = default;

    // A flag clears the identity slot; the flag "I" (either case) asks for the
    // main dialog, and the flags "S", "P" and "M" select the serial number,
    // product designation or manufacturer slot for the next plain argument.
    // A plain argument fills the selected, still empty identity string, else
    // the still empty file name; otherwise it is dropped.
    void ParseParam(const char* pszParam, BOOL bFlag, BOOL bLast) override;

    // Which identity string the next plain argument fills: 0 none, 1 serial
    // number, 2 product designation, 3 manufacturer.
    std::int32_t m_nParamSlot = 0;
    bool m_bInteractive = false;
    CString m_strSerialNumber;
    CString m_strProductName;
    CString m_strManufacturer;
};
