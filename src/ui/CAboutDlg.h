// The about box: the program's name, version and notice, opened from the main
// dialog's system menu. OK, Enter, Escape and the close box all end it.
#pragma once

#include "framework/CDialog.h"

class CAboutDlg : public CDialog {
public:
    CAboutDlg();
    ~CAboutDlg() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;

    DECLARE_MESSAGE_MAP()
};
