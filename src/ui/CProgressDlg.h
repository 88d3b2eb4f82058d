// The small modeless window that stands while a flash file is sent: the
// operation's name, a bar and a percentage, and "Abbrechen", which only
// raises a flag that the download looks at after each record.
#pragma once

#include "framework/CDialog.h"
#include "framework/CProgressCtrl.h"
#include "framework/CString.h"

class CProgressDlg : public CDialog {
public:
    CProgressDlg();
    ~CProgressDlg() override;

    // Names the operation "Download", disables the main window if there is
    // one, and creates and shows the window. False (main window enabled
    // again) when the window could not be made.
    bool ShowModeless();
    // Shows `percent` as text and on the bar; the bar's previous position.
    int SetPercent(int percent);

    CProgressCtrl m_progress;
    CString m_strDescription;
    // Set by "Abbrechen"; the window stays until the download takes it down.
    bool m_bCancel;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    // Enter never closes the window.
    void OnOK() override;
    void OnCancel() override;

    DECLARE_MESSAGE_MAP()
    DECLARE_DYNAMIC(CProgressDlg)
};
