// The device context of one paint of a window.
#include "framework/CPaintDC.h"

#include "framework/CWindowSystem.h"
#include "framework/CWnd.h"

CPaintDC::CPaintDC(CWnd* window)
    : m_window(window != nullptr ? window->GetSafeHwnd() : nullptr), m_hDC(WindowSystem().BeginPaint(m_window))
{
}

CPaintDC::~CPaintDC()
{
    WindowSystem().EndPaint(m_window, m_hDC);
}

BOOL CPaintDC::DrawIcon(int x, int y, HANDLE icon)
{
    if (m_hDC == nullptr || icon == nullptr) {
        return FALSE;
    }
    WindowSystem().DrawIcon(m_hDC, x, y, icon);
    return TRUE;
}

int AfxGetSystemMetrics(int index)
{
    return WindowSystem().GetSystemMetrics(index);
}
