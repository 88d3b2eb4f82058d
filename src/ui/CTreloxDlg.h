// The main dialog: the device's five identity items with a "?" query each,
// the flash file with "..." to choose it, "Flashen" to program it and
// the close button to end the program; the about box from the system menu.
#pragma once

#include "framework/CDialog.h"

class CUsbDevice;

class CTreloxDlg : public CDialog {
public:
    // For template 102 without a parent; loads the application icon.
    CTreloxDlg();
    ~CTreloxDlg() override;

    // Filled in by the application before DoModal; the device is not owned.
    CUsbDevice* m_pDevice = nullptr;
    CString m_strFlashFile;
    CString m_strSerialNumber;
    CString m_strProductName;
    CString m_strManufacturer;
    CString m_strVersion;
    CString m_strErrorInfo;
    HANDLE m_hIcon = nullptr;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    // Programs the flash file named in the field; the dialog stays open.
    void OnOK() override;

    void OnSysCommand(UINT id, LPARAM lParam);
    void OnPaint();
    HANDLE OnQueryDragIcon();
    void OnBrowse();
    void OnKillFocusFlashFile();
    void OnChangeFlashFile();
    void OnQuerySerialNumber();
    void OnQueryProductName();
    void OnQueryManufacturer();
    void OnQueryVersion();
    void OnQueryErrorInfo();

    DECLARE_MESSAGE_MAP()

private:
    // Reads one identity item into `field`; an item the device does not
    // give leaves the field empty. The other fields are written back too.
    void QueryItem(char letter, CString& field);
    void EnableFlashButton(bool enable);
};
