// The window tree of the portable window system: dialogs made from their
// templates with their controls, plain windows, their destruction with the
// windows they own, where the focus goes when a window goes, and the
// program's resources for the windows.
#include "framework/portable/CPortableWindowSystem.h"

#include <algorithm>

#include "framework/CResourceTable.h"
#include "framework/CWnd.h"

CPortableWindowSystem::CPortableWindowSystem() = default;

CPortableWindowSystem::~CPortableWindowSystem()
{
    // Windows still alive lose their system, not their objects: the objects
    // must not reach back into a system that is gone.
    for (WindowState* window : m_table.AllWindows()) {
        if (window->wnd != nullptr) {
            window->wnd->OnWindowGone();
        }
    }
}

void CPortableWindowSystem::AddControls(WindowState& dialog)
{
    for (const DialogControlTemplate& item : dialog.dialogTemplate->controls) {
        WindowState& control = m_table.Add();
        control.parent = dialog.handle;
        control.TakeControlTemplate(item);
        dialog.controls.push_back(control.handle);
    }
}

WindowHandle CPortableWindowSystem::CreateDialogWindow(CWnd& wnd, UINT templateId, WindowHandle owner)
{
    const DialogTemplate* dialogTemplate = CResourceTable::Instance().FindDialog(templateId);
    if (dialogTemplate == nullptr) {
        return nullptr;
    }
    WindowState& dialog = m_table.Add();
    dialog.wnd = &wnd;
    dialog.isDialog = true;
    dialog.dialogTemplate = dialogTemplate;
    dialog.owner = Find(owner) != nullptr ? owner : nullptr;
    dialog.flags = dialogTemplate->flags;
    dialog.text = CString(dialogTemplate->title);
    dialog.place = CRect{0, 0, dialogTemplate->cx * kPixelsPerUnit, dialogTemplate->cy * kPixelsPerUnit};
    AddControls(dialog);
    const WindowHandle handle = dialog.handle;
    wnd.m_hWnd = handle;

    const WindowHandle firstFocus = dialog.controls.empty() ? nullptr : dialog.controls.front();
    const LRESULT setDefaultFocus = wnd.DeliverMessage(WM_INITDIALOG, reinterpret_cast<WPARAM>(firstFocus), 0);
    WindowState* created = Find(handle);
    if (created == nullptr) {
        return nullptr;
    }
    if (setDefaultFocus != 0) {
        for (const WindowHandle control : created->controls) {
            const WindowState* item = Find(control);
            if ((item->flags & ctlTabStop) != 0 && item->visible && item->enabled) {
                SetFocus(control);
                break;
            }
        }
    }
    if ((created->flags & dlgVisible) != 0) {
        created->visible = true;
    }
    return handle;
}

WindowHandle CPortableWindowSystem::CreatePlainWindow(CWnd& wnd, const AfxCreateStruct& create)
{
    WindowState& window = m_table.Add();
    window.wnd = &wnd;
    window.style = static_cast<DWORD>(create.style);
    window.owner = Find(create.hwndParent) != nullptr ? create.hwndParent : nullptr;
    window.text = CString(create.lpszName);
    window.visible = (window.style & WS_VISIBLE) != 0;
    window.place = CRect{create.x, create.y, create.x + create.cx, create.y + create.cy};
    const WindowHandle handle = window.handle;
    wnd.m_hWnd = handle;

    AfxCreateStruct copy = create;
    if (wnd.DeliverMessage(WM_CREATE, 0, reinterpret_cast<LPARAM>(&copy)) == -1) {
        DestroyWindow(handle);
        return nullptr;
    }
    return Find(handle) != nullptr ? handle : nullptr;
}

void CPortableWindowSystem::DestroyWindow(WindowHandle window)
{
    WindowState* state = Find(window);
    if (state == nullptr || state->destroying) {
        return;
    }
    state->destroying = true;

    // Owned windows go before their owner, as the system does it.
    std::vector<WindowHandle> owned;
    for (const WindowState* other : m_table.AllWindows()) {
        if (other->owner == window) {
            owned.push_back(other->handle);
        }
    }
    for (const WindowHandle ownedWindow : owned) {
        DestroyWindow(ownedWindow);
    }

    OnWindowDestroying(*state);
    if (state->wnd != nullptr) {
        state->wnd->DeliverMessage(WM_DESTROY, 0, 0);
    }
    state = Find(window);
    if (state == nullptr) {
        return;
    }
    CWnd* wnd = state->wnd;
    const std::vector<WindowHandle> controls = state->controls;
    const bool hadFocus = HoldsFocus(*state);
    for (const WindowHandle control : controls) {
        ForgetWindow(control);
    }
    ForgetWindow(window);
    if (wnd != nullptr) {
        wnd->OnWindowGone();
    }
    if (hadFocus) {
        RestoreFocusOfActiveDialog();
    }
}

bool CPortableWindowSystem::HoldsFocus(const WindowState& window) const
{
    const WindowHandle focus = m_table.FocusedWindow();
    return focus != nullptr &&
           (focus == window.handle || std::find(window.controls.begin(), window.controls.end(), focus) !=
                                          window.controls.end());
}

void CPortableWindowSystem::RestoreFocusOfActiveDialog()
{
    // As the system does when a window goes: the dialog now in front gets
    // the focus back on the control that had it last.
    const WindowState* front = Find(ActiveDialog());
    if (m_table.FocusedWindow() == nullptr && front != nullptr && front->lastFocus != nullptr &&
        IsWindowVisible(front->lastFocus) && IsWindowEnabled(front->lastFocus)) {
        SetFocus(front->lastFocus);
    }
}

void CPortableWindowSystem::ForgetWindow(WindowHandle window)
{
    m_timers.KillAllOf(window);
    m_queue.erase(std::remove_if(m_queue.begin(), m_queue.end(),
                                 [window](const QueuedMessage& message) {
                                     return message.window == window && !message.input;
                                 }),
                  m_queue.end());
    m_table.Remove(window);
}

bool CPortableWindowSystem::IsWindow(WindowHandle window)
{
    return Find(window) != nullptr;
}

WindowHandle CPortableWindowSystem::GetDlgItem(WindowHandle dialog, int id)
{
    const WindowState* state = Find(dialog);
    if (state == nullptr) {
        return nullptr;
    }
    for (const WindowHandle control : state->controls) {
        if (Find(control)->controlId == id) {
            return control;
        }
    }
    return nullptr;
}

CString CPortableWindowSystem::LoadString(UINT id)
{
    CString text;
    CResourceTable::Instance().FindString(id, &text);
    return text;
}

HANDLE CPortableWindowSystem::LoadIcon(UINT id)
{
    return CResourceTable::Instance().FindIcon(id);
}

void CPortableWindowSystem::InitCommonControls(DWORD classes)
{
    m_commonControlClasses |= classes;
}
