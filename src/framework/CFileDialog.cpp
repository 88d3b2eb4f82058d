// The open-file dialog.
#include "framework/CFileDialog.h"

#include "framework/CWinApp.h"
#include "framework/CWindowSystem.h"
#include "framework/CWnd.h"

CFileDialog::CFileDialog(BOOL openFileDialog, const char* defaultExtension, const char* fileName, DWORD flags,
                         const char* filter, CWnd* parent, DWORD size, BOOL vistaStyle)
    : m_dwFlags(flags | OFN_EXPLORER),
      m_bOpenFileDialog(openFileDialog),
      m_strInitialFile(fileName),
      m_pParentWnd(parent)
{
    (void)defaultExtension;
    (void)filter;
    (void)size;
    (void)vistaStyle;
}

int CFileDialog::DoModal()
{
    if (!m_bOpenFileDialog) {
        return IDCANCEL;
    }
    const CWnd* owner = m_pParentWnd != nullptr ? m_pParentWnd : AfxGetMainWnd();
    const WindowHandle ownerWindow = owner != nullptr ? owner->GetSafeHwnd() : nullptr;
    CString path;
    if (!WindowSystem().GetOpenFileName(ownerWindow, m_strInitialFile, m_dwFlags, &path)) {
        return IDCANCEL;
    }
    m_strPathName = path;
    return IDOK;
}
