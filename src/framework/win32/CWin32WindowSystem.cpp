// The window system of the Windows build: real windows and controls of the
// system, made from the executable's resources, their state, place and text,
// the focus, messages sent to them, painting, the system menu, the wait
// cursor and the program's resources.
#include "framework/win32/CWin32WindowSystem.h"

#include <vector>

#include "framework/CWnd.h"
#include "framework/win32/CWin32WindowTable.h"

namespace {
// Room for the longest entry of a string table.
constexpr int kStringBufferSize = 65536;
}  // namespace

CWin32WindowSystem::CWin32WindowSystem() : m_module(::GetModuleHandleA(nullptr)) {}

WindowHandle CWin32WindowSystem::CreateDialogWindow(CWnd& wnd, UINT templateId, WindowHandle owner)
{
    return CWin32WindowTable::Instance().CreateDialogWindow(m_module, templateId, AsWindow(owner), wnd);
}

WindowHandle CWin32WindowSystem::CreatePlainWindow(CWnd& wnd, const AfxCreateStruct& create)
{
    CREATESTRUCTA system{};
    system.lpCreateParams = create.lpCreateParams;
    system.hMenu = static_cast<HMENU>(create.hMenu);
    system.hwndParent = AsWindow(create.hwndParent);
    system.cx = create.cx;
    system.cy = create.cy;
    system.x = create.x;
    system.y = create.y;
    system.style = create.style;
    system.lpszName = create.lpszName;
    system.dwExStyle = create.dwExStyle;
    return CWin32WindowTable::Instance().CreatePlainWindow(m_module, system, wnd);
}

void CWin32WindowSystem::DestroyWindow(WindowHandle window)
{
    ::DestroyWindow(AsWindow(window));
}

bool CWin32WindowSystem::IsWindow(WindowHandle window)
{
    return window != nullptr && ::IsWindow(AsWindow(window)) != FALSE;
}

WindowHandle CWin32WindowSystem::GetDlgItem(WindowHandle dialog, int id)
{
    return dialog != nullptr ? ::GetDlgItem(AsWindow(dialog), id) : nullptr;
}

void CWin32WindowSystem::ShowWindow(WindowHandle window, int command)
{
    ::ShowWindow(AsWindow(window), command);
}

void CWin32WindowSystem::UpdateWindow(WindowHandle window)
{
    ::UpdateWindow(AsWindow(window));
    // The system may hold a window's drawing back until the thread next waits
    // for messages (Wine copies it to the display only then): a wait that
    // takes no message and lasts no time hands it over now, so that it is
    // seen even while the thread then pauses.
    ::GdiFlush();
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 0, 0);
}

bool CWin32WindowSystem::IsWindowVisible(WindowHandle window)
{
    return ::IsWindowVisible(AsWindow(window)) != FALSE;
}

void CWin32WindowSystem::EnableWindow(WindowHandle window, bool enable)
{
    ::EnableWindow(AsWindow(window), enable ? TRUE : FALSE);
}

bool CWin32WindowSystem::IsWindowEnabled(WindowHandle window)
{
    return ::IsWindowEnabled(AsWindow(window)) != FALSE;
}

bool CWin32WindowSystem::IsIconic(WindowHandle window)
{
    return ::IsIconic(AsWindow(window)) != FALSE;
}

bool CWin32WindowSystem::GetWindowRect(WindowHandle window, CRect* rect)
{
    RECT frame{};
    if (!::GetWindowRect(AsWindow(window), &frame)) {
        return false;
    }
    *rect = CRect{frame.left, frame.top, frame.right, frame.bottom};
    return true;
}

void CWin32WindowSystem::SetWindowPosition(WindowHandle window, int x, int y)
{
    ::SetWindowPos(AsWindow(window), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

CRect CWin32WindowSystem::GetWorkArea(WindowHandle window)
{
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (!::GetMonitorInfoA(::MonitorFromWindow(AsWindow(window), MONITOR_DEFAULTTOPRIMARY), &monitor)) {
        RECT area{};
        ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
        return CRect{area.left, area.top, area.right, area.bottom};
    }
    return CRect{monitor.rcWork.left, monitor.rcWork.top, monitor.rcWork.right, monitor.rcWork.bottom};
}

void CWin32WindowSystem::SetWindowText(WindowHandle window, const CString& text)
{
    ::SetWindowTextA(AsWindow(window), text.GetString());
}

CString CWin32WindowSystem::GetWindowText(WindowHandle window)
{
    const int length = ::GetWindowTextLengthA(AsWindow(window));
    if (length <= 0) {
        return CString();
    }
    std::vector<char> text(static_cast<std::size_t>(length) + 1, '\0');
    const int copied = ::GetWindowTextA(AsWindow(window), text.data(), length + 1);
    return CString(text.data(), copied > 0 ? copied : 0);
}

void CWin32WindowSystem::SetFocus(WindowHandle window)
{
    ::SetFocus(AsWindow(window));
}

WindowHandle CWin32WindowSystem::GetFocus()
{
    return ::GetFocus();
}

LRESULT CWin32WindowSystem::SendMessage(WindowHandle window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::SendMessageA(AsWindow(window), message, wParam, lParam);
}

LRESULT CWin32WindowSystem::DefWindowProc(WindowHandle window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return CWin32WindowTable::Instance().CallPrevious(AsWindow(window), message, wParam, lParam);
}

HANDLE CWin32WindowSystem::BeginPaint(WindowHandle window)
{
    PAINTSTRUCT paint{};
    HDC dc = ::BeginPaint(AsWindow(window), &paint);
    if (dc != nullptr) {
        m_paints[dc] = paint;
    }
    return dc;
}

void CWin32WindowSystem::EndPaint(WindowHandle window, HANDLE dc)
{
    const auto found = m_paints.find(static_cast<HDC>(dc));
    if (found == m_paints.end()) {
        return;
    }
    ::EndPaint(AsWindow(window), &found->second);
    m_paints.erase(found);
}

void CWin32WindowSystem::GetClientSize(WindowHandle window, int* width, int* height)
{
    RECT client{};
    ::GetClientRect(AsWindow(window), &client);
    *width = client.right - client.left;
    *height = client.bottom - client.top;
}

int CWin32WindowSystem::GetSystemMetrics(int index)
{
    return ::GetSystemMetrics(index);
}

void CWin32WindowSystem::DrawIcon(HANDLE dc, int x, int y, HANDLE icon)
{
    ::DrawIcon(static_cast<HDC>(dc), x, y, static_cast<HICON>(icon));
}

bool CWin32WindowSystem::HasSystemMenu(WindowHandle window)
{
    const LONG style = ::GetWindowLongA(AsWindow(window), GWL_STYLE);
    return (style & WS_SYSMENU) != 0 && ::GetSystemMenu(AsWindow(window), FALSE) != nullptr;
}

void CWin32WindowSystem::AppendSystemMenu(WindowHandle window, UINT flags, UINT id, const CString& text)
{
    HMENU menu = ::GetSystemMenu(AsWindow(window), FALSE);
    if (menu == nullptr) {
        return;
    }
    const char* item = (flags & MF_SEPARATOR) != 0 ? nullptr : text.GetString();
    ::AppendMenuA(menu, flags, id, item);
}

void CWin32WindowSystem::BeginWaitCursor()
{
    ++m_waitCursorDepth;
    ::SetCursor(::LoadCursorA(nullptr, IDC_WAIT));
}

void CWin32WindowSystem::EndWaitCursor()
{
    if (m_waitCursorDepth > 0) {
        --m_waitCursorDepth;
    }
    if (m_waitCursorDepth == 0) {
        ::SetCursor(::LoadCursorA(nullptr, IDC_ARROW));
    }
}

CString CWin32WindowSystem::LoadString(UINT id)
{
    std::vector<char> text(kStringBufferSize, '\0');
    const int length = ::LoadStringA(m_module, id, text.data(), kStringBufferSize);
    return length > 0 ? CString(text.data(), length) : CString();
}

HANDLE CWin32WindowSystem::LoadIcon(UINT id)
{
    return ::LoadIconA(m_module, MAKEINTRESOURCEA(id));
}

void CWin32WindowSystem::InitCommonControls(DWORD classes)
{
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = classes;
    ::InitCommonControlsEx(&controls);
}

CWindowSystem& BuildWindowSystem()
{
    // Never destroyed: windows of static objects still close at exit.
    static CWin32WindowSystem* const windows = new CWin32WindowSystem();
    return *windows;
}
