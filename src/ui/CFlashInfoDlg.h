// The programming status window: shown while the device, having taken the
// flash file, leaves the bus, writes its flash and comes back. It shows the
// state and the running time; the device's notices write the state and end
// it; "Abbrechen" gives up waiting after a confirmation.
#pragma once

#include <cstdint>

#include "framework/CDialog.h"

class CFlashInfoDlg : public CDialog {
public:
    CFlashInfoDlg();
    ~CFlashInfoDlg() override;

    // The tick count when the window opened.
    DWORD m_dwStartTick;
    // The id the window's timer was started with.
    UINT_PTR m_nTimerId;

    // Whole seconds last written into the time field; -1 before the first.
    static std::int32_t s_nLastShownSeconds;

    BOOL OnInitDialog() override;

protected:
    void OnCancel() override;
    void OnTimer(UINT_PTR id);

    DECLARE_MESSAGE_MAP()
    DECLARE_DYNAMIC(CFlashInfoDlg)
};
