// The open-file dialog: asks for one file and gives its full path.
#pragma once

#include "framework/AfxTypes.h"
#include "framework/CString.h"

class CWnd;

class CFileDialog {
public:
    // Only the open mode is offered; a save dialog is refused by DoModal.
    // The filter is not used: every file is listed.
    explicit CFileDialog(BOOL openFileDialog, const char* defaultExtension = nullptr,
                         const char* fileName = nullptr, DWORD flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                         const char* filter = nullptr, CWnd* parent = nullptr, DWORD size = 0,
                         BOOL vistaStyle = TRUE);
    virtual ~CFileDialog() = default;

    // IDOK with a file chosen, else IDCANCEL. Owned by the parent or else
    // by the application's main window, which takes no input meanwhile.
    virtual int DoModal();
    CString GetPathName() const { return m_strPathName; }

    DWORD m_dwFlags;

private:
    BOOL m_bOpenFileDialog;
    CString m_strInitialFile;
    CWnd* m_pParentWnd;
    CString m_strPathName;
};
