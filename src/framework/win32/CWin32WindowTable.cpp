// The program's real windows and the window procedure that feeds their
// message maps.
#include "framework/win32/CWin32WindowTable.h"

#include <cstddef>

#include "framework/CWnd.h"

// WM_CREATE hands the system's creation record to the message map as the
// framework's own: both must be laid out alike.
static_assert(sizeof(AfxCreateStruct) == sizeof(CREATESTRUCTA), "creation record size");
static_assert(offsetof(AfxCreateStruct, style) == offsetof(CREATESTRUCTA, style), "creation record style");
static_assert(offsetof(AfxCreateStruct, lpszName) == offsetof(CREATESTRUCTA, lpszName), "creation record name");
static_assert(offsetof(AfxCreateStruct, dwExStyle) == offsetof(CREATESTRUCTA, dwExStyle), "creation record ex style");

CWin32WindowTable& CWin32WindowTable::Instance()
{
    // Never destroyed: windows of static objects still go at process end.
    static CWin32WindowTable* const table = new CWin32WindowTable();
    return *table;
}

const char* CWin32WindowTable::PlainWindowClassName()
{
    return AfxRegisterWndClass(0);
}

bool CWin32WindowTable::RegisterPlainWindowClass(HINSTANCE module)
{
    if (m_classRegistered) {
        return true;
    }
    WNDCLASSA windowClass{};
    windowClass.style = 0;
    windowClass.lpfnWndProc = &CWin32WindowTable::WindowProcedure;
    windowClass.hInstance = module;
    windowClass.hIcon = nullptr;
    windowClass.hCursor = nullptr;
    windowClass.hbrBackground = nullptr;
    windowClass.lpszClassName = PlainWindowClassName();
    m_classRegistered = ::RegisterClassA(&windowClass) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    return m_classRegistered;
}

HWND CWin32WindowTable::CreateDialogWindow(HINSTANCE module, UINT templateId, HWND owner, CWnd& wnd)
{
    return ::CreateDialogParamA(module, MAKEINTRESOURCEA(templateId), owner, &CWin32WindowTable::DialogProcedure,
                                reinterpret_cast<LPARAM>(&wnd));
}

HWND CWin32WindowTable::CreatePlainWindow(HINSTANCE module, const CREATESTRUCTA& create, CWnd& wnd)
{
    if (!RegisterPlainWindowClass(module)) {
        return nullptr;
    }
    // Only a child window takes an id in place of a menu.
    HMENU menuOrId = (create.style & WS_CHILD) != 0 ? create.hMenu : nullptr;
    m_creating = &wnd;
    HWND window = ::CreateWindowExA(create.dwExStyle, PlainWindowClassName(), create.lpszName,
                                    static_cast<DWORD>(create.style), create.x, create.y, create.cx, create.cy,
                                    create.hwndParent, menuOrId, module, create.lpCreateParams);
    m_creating = nullptr;
    return window;
}

Win32WindowRecord* CWin32WindowTable::Find(HWND window)
{
    const auto found = m_windows.find(window);
    return found != m_windows.end() ? &found->second : nullptr;
}

void CWin32WindowTable::Attach(HWND window, CWnd& wnd, WNDPROC previousProc)
{
    Win32WindowRecord& record = m_windows[window];
    record = Win32WindowRecord{};
    record.wnd = &wnd;
    record.previousProc = previousProc;
    wnd.m_hWnd = window;
}

LRESULT CWin32WindowTable::CallPrevious(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    const Win32WindowRecord* record = Find(window);
    if (record != nullptr && record->previousProc != nullptr) {
        return ::CallWindowProcA(record->previousProc, window, message, wParam, lParam);
    }
    return ::DefWindowProcA(window, message, wParam, lParam);
}

INT_PTR CALLBACK CWin32WindowTable::DialogProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    // The dialog manager asks here for what the window procedure passed on:
    // nothing more is handled, except taking the window over when it is
    // about to be initialised.
    if (message != WM_INITDIALOG) {
        return FALSE;
    }
    CWnd* wnd = reinterpret_cast<CWnd*>(lParam);
    CWin32WindowTable& table = Instance();
    const LONG_PTR dialogManager = ::SetWindowLongPtrA(
        window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWin32WindowTable::WindowProcedure));
    table.Attach(window, *wnd, reinterpret_cast<WNDPROC>(dialogManager));
    // The answer decides whether the system puts the focus on the first
    // control that takes it.
    return wnd->DeliverMessage(WM_INITDIALOG, wParam, 0);
}

LRESULT CALLBACK CWin32WindowTable::WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return Instance().Deliver(window, message, wParam, lParam);
}

LRESULT CWin32WindowTable::Deliver(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    Win32WindowRecord* record = Find(window);
    if (record == nullptr && m_creating != nullptr) {
        // The first message of a plain window in creation, before WM_CREATE.
        Attach(window, *m_creating, nullptr);
        m_creating = nullptr;
        record = Find(window);
    }
    if (record == nullptr) {
        return ::DefWindowProcA(window, message, wParam, lParam);
    }
    if (message == WM_NCDESTROY) {
        // The last message: the window is gone when its processing ends.
        CWnd* wnd = record->wnd;
        const LRESULT result = CallPrevious(window, message, wParam, lParam);
        m_windows.erase(window);
        wnd->OnWindowGone();
        return result;
    }
    return record->wnd->DeliverMessage(message, wParam, lParam);
}
