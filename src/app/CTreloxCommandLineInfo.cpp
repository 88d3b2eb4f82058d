// The program's command-line record.
#include "app/CTreloxCommandLineInfo.h"

void CTreloxCommandLineInfo::ParseParam(const char* pszParam, BOOL bFlag, BOOL /*bLast*/)
{
    const CString param(pszParam);
    if (bFlag) {
        m_nParamSlot = 0;
        if (param.CompareNoCase("I") == 0) {
            m_bInteractive = true;
        } else if (param.CompareNoCase("S") == 0) {
            m_nParamSlot = 1;  // the next plain argument is the serial number
        } else if (param.CompareNoCase("P") == 0) {
            m_nParamSlot = 2;  // ... the product designation
        } else if (param.CompareNoCase("M") == 0) {
            m_nParamSlot = 3;  // ... the manufacturer
        }
        return;
    }
    if (m_nParamSlot == 1 && m_strSerialNumber.IsEmpty()) {
        m_strSerialNumber = param;
    } else if (m_nParamSlot == 2 && m_strProductName.IsEmpty()) {
        m_strProductName = param;
    } else if (m_nParamSlot == 3 && m_strManufacturer.IsEmpty()) {
        m_strManufacturer = param;
    } else if (m_strFileName.IsEmpty()) {
        m_strFileName = param;
    }
}
