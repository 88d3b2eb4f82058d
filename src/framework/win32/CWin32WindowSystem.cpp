// The window system of the Windows build: real windows and the system's
// message loop, message boxes, file dialog, cursor and resources.
#include "framework/win32/CWin32WindowSystem.h"

#include <string>
#include <vector>

#include "framework/CWnd.h"
#include "framework/win32/CWin32WindowTable.h"

namespace {
HWND AsWindow(WindowHandle window)
{
    return static_cast<HWND>(window);
}

// Room for the longest path the system's file functions take.
constexpr DWORD kFileNameBufferSize = 32768;
// Room for the longest entry of a string table.
constexpr int kStringBufferSize = 65536;

// A message box text without zero bytes: the system would end the text at
// the first one, so each is shown as a question mark.
std::string ShownText(const CString& text)
{
    std::string shown = text.Bytes();
    for (char& ch : shown) {
        if (ch == '\0') {
            ch = '?';
        }
    }
    return shown;
}
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

int CWin32WindowSystem::MessageBox(WindowHandle owner, const CString& text, const CString& caption, UINT type)
{
    return ::MessageBoxA(AsWindow(owner), ShownText(text).c_str(), ShownText(caption).c_str(), type);
}

WindowHandle CWin32WindowSystem::GetFrontWindow(WindowHandle mainWindow)
{
    if (IsWindow(mainWindow)) {
        return ::GetLastActivePopup(AsWindow(mainWindow));
    }
    return ::GetActiveWindow();
}

UINT_PTR CWin32WindowSystem::SetTimer(WindowHandle window, UINT_PTR id, UINT elapse)
{
    return ::SetTimer(AsWindow(window), id, elapse, nullptr);
}

void CWin32WindowSystem::KillTimer(WindowHandle window, UINT_PTR id)
{
    ::KillTimer(AsWindow(window), id);
}

void CWin32WindowSystem::PostMessage(WindowHandle window, UINT message, WPARAM wParam, LPARAM lParam)
{
    ::PostMessageA(AsWindow(window), message, wParam, lParam);
}

void CWin32WindowSystem::PumpWaitingMessages()
{
    MSG message{};
    while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            // Left for the loop that ends the program.
            ::PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        ::TranslateMessage(&message);
        ::DispatchMessageA(&message);
    }
}

int CWin32WindowSystem::RunModalLoop(WindowHandle dialog)
{
    CWin32WindowTable& table = CWin32WindowTable::Instance();
    HWND window = AsWindow(dialog);
    Win32WindowRecord* record = table.Find(window);
    if (record == nullptr) {
        return -1;
    }
    record->modalRunning = true;
    if (!record->modalEnded) {
        ::ShowWindow(window, SW_SHOW);
    }
    int result = -1;
    MSG message{};
    for (;;) {
        record = table.Find(window);
        if (record == nullptr) {
            break;
        }
        if (record->modalEnded) {
            result = record->modalResult;
            break;
        }
        const BOOL got = ::GetMessageA(&message, nullptr, 0, 0);
        if (got == -1) {
            break;
        }
        if (got == 0) {
            ::PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        if (!::IsDialogMessageA(window, &message)) {
            ::TranslateMessage(&message);
            ::DispatchMessageA(&message);
        }
    }
    record = table.Find(window);
    if (record != nullptr) {
        record->modalRunning = false;
    }
    return result;
}

void CWin32WindowSystem::EndModalLoop(WindowHandle dialog, int result)
{
    Win32WindowRecord* record = CWin32WindowTable::Instance().Find(AsWindow(dialog));
    if (record == nullptr || record->modalEnded) {
        return;
    }
    record->modalEnded = true;
    record->modalResult = result;
    if (!record->modalRunning) {
        ::ShowWindow(AsWindow(dialog), SW_HIDE);  // a modeless dialog ended: it only hides
    }
    // Wakes the loop if it waits for a message.
    ::PostMessageA(AsWindow(dialog), WM_NULL, 0, 0);
}

bool CWin32WindowSystem::GetOpenFileName(WindowHandle owner, const CString& initialFile, DWORD flags,
                                         CString* path)
{
    std::vector<char> file(kFileNameBufferSize, '\0');
    const std::string initial = initialFile.GetString();
    if (initial.size() < file.size()) {
        initial.copy(file.data(), initial.size());
    }
    OPENFILENAMEA request{};
    request.lStructSize = sizeof request;
    request.hwndOwner = AsWindow(owner);
    request.hInstance = nullptr;
    request.lpstrFilter = nullptr;
    request.lpstrFile = file.data();
    request.nMaxFile = kFileNameBufferSize;
    request.Flags = flags;
    if (!::GetOpenFileNameA(&request)) {
        return false;
    }
    *path = CString(file.data());
    return true;
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
