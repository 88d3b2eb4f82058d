// The choice between direct mode and dialog mode.
#include "app/StartMode.h"

#include "app/CTreloxCommandLineInfo.h"

StartMode ChooseStartMode(const CTreloxCommandLineInfo& info)
{
    if (info.m_bInteractive) {
        return StartMode::Dialog;
    }
    if (!info.m_strFileName.IsEmpty()) {
        return StartMode::Direct;
    }
    if (info.m_strSerialNumber.IsEmpty() && info.m_strProductName.IsEmpty() && info.m_strManufacturer.IsEmpty()) {
        return StartMode::Dialog;
    }
    return StartMode::None;
}
