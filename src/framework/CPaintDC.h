// The device context of one paint of a window: begun when made, ended when
// it goes.
#pragma once

#include "framework/AfxTypes.h"

class CWnd;

class CPaintDC {
public:
    explicit CPaintDC(CWnd* window);
    ~CPaintDC();
    CPaintDC(const CPaintDC&) = delete;
    CPaintDC& operator=(const CPaintDC&) = delete;

    HANDLE GetSafeHdc() const { return m_hDC; }
    BOOL DrawIcon(int x, int y, HANDLE icon);

private:
    WindowHandle m_window;
    HANDLE m_hDC;
};

// The system's metric `index` (SM_CXICON, SM_CYICON).
int AfxGetSystemMetrics(int index);
