// A window of the program and its message map dispatch.
#include "framework/CWnd.h"

#include "framework/CMenu.h"
#include "framework/CWindowSystem.h"

IMPLEMENT_DYNAMIC(CWnd, CCmdTarget)

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
END_MESSAGE_MAP()

const char* AfxRegisterWndClass(UINT classStyle)
{
    // One class serves every plain window: the program registers only one.
    (void)classStyle;
    return "TreloxWindowClass";
}

CWnd::CWnd() = default;

CWnd::~CWnd()
{
    // Virtual dispatch is gone here: a derived window that wants its own
    // WM_DESTROY handling destroys itself in its own destructor.
    if (m_hWnd != nullptr && m_createdHere && WindowSystem().IsWindow(m_hWnd)) {
        WindowSystem().DestroyWindow(m_hWnd);
    }
}

BOOL CWnd::CreateEx(DWORD exStyle, const char* className, const char* windowName, DWORD style, int x, int y,
                    int width, int height, WindowHandle parent, UINT id, void* param)
{
    AfxCreateStruct create{};
    create.lpCreateParams = param;
    create.hMenu = reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(id));
    create.hwndParent = parent;
    create.cx = width;
    create.cy = height;
    create.x = x;
    create.y = y;
    create.style = static_cast<std::int32_t>(style);
    create.lpszName = windowName;
    create.lpszClass = className;
    create.dwExStyle = exStyle;
    m_createdHere = true;
    return WindowSystem().CreatePlainWindow(*this, create) != nullptr ? TRUE : FALSE;
}

BOOL CWnd::DestroyWindow()
{
    if (m_hWnd == nullptr || !WindowSystem().IsWindow(m_hWnd)) {
        return FALSE;
    }
    WindowSystem().DestroyWindow(m_hWnd);
    return TRUE;
}

void CWnd::OnWindowGone()
{
    m_hWnd = nullptr;
    m_itemWrappers.clear();
    m_systemMenu.reset();
}

CWnd* CWnd::GetDlgItem(int id) const
{
    const WindowHandle item = WindowSystem().GetDlgItem(m_hWnd, id);
    if (item == nullptr) {
        return nullptr;
    }
    for (const auto& wrapper : m_itemWrappers) {
        if (wrapper->m_hWnd == item) {
            return wrapper.get();
        }
    }
    m_itemWrappers.push_back(std::make_unique<CWnd>());
    m_itemWrappers.back()->m_hWnd = item;
    return m_itemWrappers.back().get();
}

void CWnd::SetDlgItemText(int id, const CString& text)
{
    const WindowHandle item = WindowSystem().GetDlgItem(m_hWnd, id);
    if (item != nullptr) {
        WindowSystem().SetWindowText(item, text);
    }
}

int CWnd::GetDlgItemText(int id, CString& text) const
{
    const WindowHandle item = WindowSystem().GetDlgItem(m_hWnd, id);
    text = item != nullptr ? WindowSystem().GetWindowText(item) : CString();
    return text.GetLength();
}

void CWnd::SetWindowText(const CString& text)
{
    WindowSystem().SetWindowText(m_hWnd, text);
}

void CWnd::GetWindowText(CString& text) const
{
    text = WindowSystem().GetWindowText(m_hWnd);
}

int CWnd::GetWindowTextLength() const
{
    return WindowSystem().GetWindowText(m_hWnd).GetLength();
}

BOOL CWnd::EnableWindow(BOOL enable)
{
    const bool wasDisabled = !WindowSystem().IsWindowEnabled(m_hWnd);
    WindowSystem().EnableWindow(m_hWnd, enable != FALSE);
    return wasDisabled ? TRUE : FALSE;
}

BOOL CWnd::ShowWindow(int command)
{
    const bool wasVisible = WindowSystem().IsWindowVisible(m_hWnd);
    WindowSystem().ShowWindow(m_hWnd, command);
    return wasVisible ? TRUE : FALSE;
}

void CWnd::UpdateWindow()
{
    WindowSystem().UpdateWindow(m_hWnd);
}

BOOL CWnd::IsWindowEnabled() const
{
    return WindowSystem().IsWindowEnabled(m_hWnd) ? TRUE : FALSE;
}

BOOL CWnd::IsWindowVisible() const
{
    return WindowSystem().IsWindowVisible(m_hWnd) ? TRUE : FALSE;
}

BOOL CWnd::IsIconic() const
{
    return WindowSystem().IsIconic(m_hWnd) ? TRUE : FALSE;
}

void CWnd::GetClientRect(CRect* rect) const
{
    *rect = CRect();
    WindowSystem().GetClientSize(m_hWnd, &rect->right, &rect->bottom);
}

void CWnd::SetFocus()
{
    WindowSystem().SetFocus(m_hWnd);
}

UINT_PTR CWnd::SetTimer(UINT_PTR id, UINT elapse, void* timerProc)
{
    // The program's timers arrive as WM_TIMER; a callback is not supported.
    if (timerProc != nullptr) {
        return 0;
    }
    return WindowSystem().SetTimer(m_hWnd, id, elapse);
}

BOOL CWnd::KillTimer(UINT_PTR id)
{
    if (m_hWnd == nullptr) {
        return FALSE;
    }
    WindowSystem().KillTimer(m_hWnd, id);
    return TRUE;
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    return WindowSystem().SendMessage(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!WindowSystem().IsWindow(m_hWnd)) {
        return FALSE;
    }
    WindowSystem().PostMessage(m_hWnd, message, wParam, lParam);
    return TRUE;
}

CMenu* CWnd::GetSystemMenu(BOOL revert)
{
    (void)revert;
    if (!WindowSystem().HasSystemMenu(m_hWnd)) {
        return nullptr;
    }
    if (!m_systemMenu) {
        m_systemMenu = std::make_unique<CMenu>(m_hWnd);
    }
    return m_systemMenu.get();
}

HANDLE CWnd::SetIcon(HANDLE icon, BOOL bigIcon)
{
    const WPARAM which = bigIcon ? ICON_BIG : ICON_SMALL;
    return reinterpret_cast<HANDLE>(SendMessage(WM_SETICON, which, reinterpret_cast<LPARAM>(icon)));
}

void CWnd::BeginWaitCursor()
{
    WindowSystem().BeginWaitCursor();
}

void CWnd::EndWaitCursor()
{
    WindowSystem().EndWaitCursor();
}

LRESULT CWnd::DeliverMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    const CurrentMessage outer = m_currentMessage;
    m_currentMessage = CurrentMessage{message, wParam, lParam};
    const LRESULT result = WindowProc(message, wParam, lParam);
    m_currentMessage = outer;
    return result;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (!OnWndMsg(message, wParam, lParam, &result)) {
        result = DefWindowProc(message, wParam, lParam);
    }
    return result;
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (message == WM_COMMAND) {
        if (OnCommand(wParam, lParam)) {
            *result = 0;
            return TRUE;
        }
        return FALSE;
    }
    const AFX_MSGMAP_ENTRY* entry = FindMessageEntry(message, 0, 0);
    if (entry == nullptr) {
        return FALSE;
    }
    *result = entry->pfn(this, wParam, lParam);
    return TRUE;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const AFX_MSGMAP_ENTRY* entry = FindMessageEntry(WM_COMMAND, HIWORD(wParam), LOWORD(wParam));
    if (entry == nullptr) {
        return FALSE;
    }
    entry->pfn(this, wParam, lParam);
    return TRUE;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return WindowSystem().DefWindowProc(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default()
{
    return DefWindowProc(m_currentMessage.message, m_currentMessage.wParam, m_currentMessage.lParam);
}

int CWnd::OnCreate(AfxCreateStruct* createStruct)
{
    (void)createStruct;
    return static_cast<int>(Default());
}

void CWnd::OnDestroy()
{
    Default();
}

BOOL CWnd::OnDeviceChange(UINT eventType, DWORD_PTR data)
{
    (void)eventType;
    (void)data;
    return static_cast<BOOL>(Default());
}

void CWnd::OnTimer(UINT_PTR id)
{
    (void)id;
    Default();
}

void CWnd::OnSysCommand(UINT id, LPARAM lParam)
{
    (void)id;
    (void)lParam;
    Default();
}

void CWnd::OnPaint()
{
    Default();
}

HANDLE CWnd::OnQueryDragIcon()
{
    return reinterpret_cast<HANDLE>(Default());
}

void CWnd::OnClose()
{
    Default();
}
