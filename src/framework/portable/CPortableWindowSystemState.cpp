// The state of the portable window system's windows and controls: shown,
// enabled, iconic, where they stand, their text and the focus, which edits
// report to their dialog; the messages a control answers itself and the
// default processing; painting, the system menu and the wait cursor.
#include "framework/portable/CPortableWindowSystem.h"

#include <algorithm>

#include "framework/CWnd.h"

void CPortableWindowSystem::ShowWindow(WindowHandle window, int command)
{
    WindowState* state = Find(window);
    if (state == nullptr) {
        return;
    }
    switch (command) {
    case SW_HIDE:
        state->visible = false;
        if (state->parent == nullptr && HoldsFocus(*state)) {
            // Hiding the window in front activates the one now in front,
            // as the system does it: only an enabled one can take it.
            m_table.SetFocusedWindow(nullptr);
            RestoreFocusOfActiveDialog();
        }
        break;
    case SW_MINIMIZE:
        state->visible = true;
        state->iconic = true;
        break;
    case SW_RESTORE:
        state->visible = true;
        state->iconic = false;
        break;
    default:
        state->visible = true;
        break;
    }
}

void CPortableWindowSystem::UpdateWindow(WindowHandle window)
{
    if (Find(window) != nullptr) {
        Present();
    }
}

bool CPortableWindowSystem::IsWindowVisible(WindowHandle window)
{
    return m_table.IsShown(window);
}

void CPortableWindowSystem::EnableWindow(WindowHandle window, bool enable)
{
    WindowState* state = Find(window);
    if (state != nullptr) {
        state->enabled = enable;
    }
}

bool CPortableWindowSystem::IsWindowEnabled(WindowHandle window)
{
    const WindowState* state = Find(window);
    return state != nullptr && state->enabled;
}

bool CPortableWindowSystem::IsIconic(WindowHandle window)
{
    const WindowState* state = Find(window);
    return state != nullptr && state->iconic;
}

bool CPortableWindowSystem::GetWindowRect(WindowHandle window, CRect* rect)
{
    const WindowState* state = Find(window);
    if (state == nullptr) {
        return false;
    }
    const WindowState* dialog = state->isControl ? Find(state->parent) : nullptr;
    if (dialog == nullptr) {
        *rect = state->place;
        return true;
    }
    rect->left = dialog->place.left + kPixelsPerUnit * state->x;
    rect->top = dialog->place.top + kPixelsPerUnit * state->y;
    rect->right = rect->left + kPixelsPerUnit * state->cx;
    rect->bottom = rect->top + kPixelsPerUnit * state->cy;
    return true;
}

void CPortableWindowSystem::SetWindowPosition(WindowHandle window, int x, int y)
{
    WindowState* state = Find(window);
    if (state == nullptr || state->isControl) {
        return;
    }
    state->place.right += x - state->place.left;
    state->place.bottom += y - state->place.top;
    state->place.left = x;
    state->place.top = y;
}

CRect CPortableWindowSystem::GetWorkArea(WindowHandle window)
{
    (void)window;
    return m_workArea;
}

void CPortableWindowSystem::SetWindowText(WindowHandle window, const CString& text)
{
    WindowState* state = Find(window);
    if (state == nullptr) {
        return;
    }
    state->text = text;
    // An edit reports every new text, also one the program set.
    if (state->isControl && state->kind == ControlKind::Edit) {
        NotifyParent(*state, EN_CHANGE);
    }
}

CString CPortableWindowSystem::GetWindowText(WindowHandle window)
{
    const WindowState* state = Find(window);
    return state != nullptr ? state->text : CString();
}

void CPortableWindowSystem::NotifyParent(const WindowState& control, UINT code)
{
    const WindowState* dialog = Find(control.parent);
    if (dialog == nullptr || dialog->wnd == nullptr) {
        return;
    }
    dialog->wnd->DeliverMessage(WM_COMMAND, MAKEWPARAM(control.controlId, code),
                                reinterpret_cast<LPARAM>(control.handle));
}

void CPortableWindowSystem::SetFocus(WindowHandle window)
{
    if (window != nullptr && Find(window) == nullptr) {
        return;
    }
    const WindowHandle previous = m_table.FocusedWindow();
    if (previous == window) {
        return;
    }
    m_table.SetFocusedWindow(window);
    const WindowState* left = Find(previous);
    if (left != nullptr && left->isControl && left->kind == ControlKind::Edit) {
        NotifyParent(*left, EN_KILLFOCUS);
    }
    WindowState* entered = Find(window);
    WindowState* enteredDialog = entered != nullptr ? Find(entered->parent) : nullptr;
    if (enteredDialog != nullptr) {
        enteredDialog->lastFocus = window;
    }
    if (entered != nullptr && entered->isControl && entered->kind == ControlKind::Edit &&
        m_table.FocusedWindow() == window) {
        NotifyParent(*entered, EN_SETFOCUS);
    }
}

WindowHandle CPortableWindowSystem::GetFocus()
{
    return m_table.FocusedWindow();
}

LRESULT CPortableWindowSystem::SendMessage(WindowHandle window, UINT message, WPARAM wParam, LPARAM lParam)
{
    WindowState* state = Find(window);
    if (state == nullptr) {
        return 0;
    }
    if (state->wnd != nullptr) {
        return state->wnd->DeliverMessage(message, wParam, lParam);
    }
    return ControlMessage(*state, message, wParam, lParam);
}

LRESULT CPortableWindowSystem::ControlMessage(WindowState& control, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case PBM_SETPOS: {
        const int previous = control.position;
        control.position = std::clamp(static_cast<int>(wParam), control.rangeLow, control.rangeHigh);
        return previous;
    }
    case PBM_GETPOS:
        return control.position;
    case PBM_SETRANGE: {
        const LRESULT previous = MAKEWPARAM(control.rangeLow, control.rangeHigh);
        control.rangeLow = LOWORD(lParam);
        control.rangeHigh = HIWORD(lParam);
        control.position = std::clamp(control.position, control.rangeLow, control.rangeHigh);
        return previous;
    }
    default:
        return DefWindowProc(control.handle, message, wParam, lParam);
    }
}

LRESULT CPortableWindowSystem::DefWindowProc(WindowHandle window, UINT message, WPARAM wParam, LPARAM lParam)
{
    WindowState* state = Find(window);
    if (state == nullptr) {
        return 0;
    }
    switch (message) {
    case WM_SETTEXT:
        SetWindowText(window, CString(reinterpret_cast<const char*>(lParam)));
        return TRUE;
    case WM_GETTEXTLENGTH:
        return state->text.GetLength();
    case WM_SETICON: {
        HANDLE& slot = wParam == ICON_BIG ? state->bigIcon : state->smallIcon;
        const HANDLE previous = slot;
        slot = reinterpret_cast<HANDLE>(lParam);
        return reinterpret_cast<LRESULT>(previous);
    }
    case WM_SYSCOMMAND:
        switch (wParam & 0xFFF0) {
        case SC_CLOSE:
            return SendMessage(window, WM_CLOSE, 0, 0);
        case SC_MINIMIZE:
            ShowWindow(window, SW_MINIMIZE);
            return 0;
        case SC_RESTORE:
            ShowWindow(window, SW_RESTORE);
            return 0;
        default:
            return 0;
        }
    case WM_CLOSE:
        // A dialog's close box is its Cancel button; other windows go.
        if (state->isDialog) {
            return SendMessage(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        }
        DestroyWindow(window);
        return 0;
    case WM_DEVICECHANGE:
        return TRUE;
    default:
        return 0;
    }
}

HANDLE CPortableWindowSystem::BeginPaint(WindowHandle window)
{
    // The window's handle serves as its device context.
    return Find(window) != nullptr ? window : nullptr;
}

void CPortableWindowSystem::EndPaint(WindowHandle window, HANDLE dc)
{
    (void)window;
    (void)dc;
}

void CPortableWindowSystem::GetClientSize(WindowHandle window, int* width, int* height)
{
    const WindowState* state = Find(window);
    const bool sized = state != nullptr && state->dialogTemplate != nullptr;
    *width = sized ? state->dialogTemplate->cx * kPixelsPerUnit : 0;
    *height = sized ? state->dialogTemplate->cy * kPixelsPerUnit : 0;
}

int CPortableWindowSystem::GetSystemMetrics(int index)
{
    return index == SM_CXICON || index == SM_CYICON ? 32 : 0;
}

void CPortableWindowSystem::DrawIcon(HANDLE dc, int x, int y, HANDLE icon)
{
    (void)dc;
    (void)x;
    (void)y;
    (void)icon;
}

bool CPortableWindowSystem::HasSystemMenu(WindowHandle window)
{
    const WindowState* state = Find(window);
    return state != nullptr && state->HasSystemMenu();
}

void CPortableWindowSystem::AppendSystemMenu(WindowHandle window, UINT flags, UINT id, const CString& text)
{
    WindowState* state = Find(window);
    if (state != nullptr) {
        state->systemMenu.push_back(SystemMenuItem{flags, id, text});
    }
}

void CPortableWindowSystem::BeginWaitCursor()
{
    m_table.BeginWaitCursor();
}

void CPortableWindowSystem::EndWaitCursor()
{
    m_table.EndWaitCursor();
}
