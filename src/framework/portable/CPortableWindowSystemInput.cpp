// The user's input in the portable window system: the requests front ends
// hand back, taken only as the user could, button presses, and the keys a
// dialog takes as its own in its modal loop.
#include "framework/portable/CPortableWindowSystem.h"

void CPortableWindowSystem::CarryOut(const std::vector<InputRequest>& requests)
{
    for (const InputRequest& request : requests) {
        CarryOut(request);
    }
}

void CPortableWindowSystem::CarryOut(const InputRequest& request)
{
    switch (request.kind) {
    case InputRequest::Kind::PressButton:
        PressButton(request.window, request.id);
        return;
    case InputRequest::Kind::Key:
        TakeDialogKey(request.window, request.key);
        return;
    case InputRequest::Kind::Focus:
        if (TakesInput(request.window)) {
            SetFocus(request.window);
        }
        return;
    case InputRequest::Kind::Type:
        if (TakesInput(request.window)) {
            SetWindowText(request.window, request.text);
        }
        return;
    case InputRequest::Kind::SystemCommand:
        if (IsWindow(request.window) && IsWindowEnabled(request.window)) {
            SendMessage(request.window, WM_SYSCOMMAND, request.command, 0);
        }
        return;
    }
}

bool CPortableWindowSystem::TakesInput(WindowHandle control)
{
    const WindowState* state = Find(control);
    return state != nullptr && state->enabled && IsWindowEnabled(state->parent);
}

bool CPortableWindowSystem::PressButton(WindowHandle dialog, int id)
{
    const WindowHandle button = GetDlgItem(dialog, id);
    if (button == nullptr || !IsWindowVisible(button) || !IsWindowEnabled(button) || !IsWindowEnabled(dialog)) {
        return false;
    }
    SendMessage(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
    return true;
}

void CPortableWindowSystem::TakeDialogKey(WindowHandle dialog, DialogKey key)
{
    if (m_modalDispatchDepth == 0 || !IsWindowEnabled(dialog)) {
        return;
    }
    if (key == DialogKey::Escape) {
        const WindowHandle cancel = GetDlgItem(dialog, IDCANCEL);
        if (cancel == nullptr || IsWindowEnabled(cancel)) {
            SendMessage(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(cancel));
        }
        return;
    }
    if (key == DialogKey::Tab || key == DialogKey::BackTab) {
        MoveFocusInTabOrder(dialog, key == DialogKey::Tab);
        return;
    }
    int id = IDOK;
    const WindowState* focused = Find(m_table.FocusedWindow());
    if (focused != nullptr && focused->parent == dialog && focused->kind == ControlKind::PushButton) {
        id = focused->controlId;
    } else {
        for (const WindowHandle control : Find(dialog)->controls) {
            const WindowState* item = Find(control);
            if (item->kind == ControlKind::PushButton && (item->flags & ctlDefaultButton) != 0) {
                id = item->controlId;
                break;
            }
        }
    }
    const WindowHandle button = GetDlgItem(dialog, id);
    if (button == nullptr || IsWindowEnabled(button)) {
        SendMessage(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
    }
}

void CPortableWindowSystem::MoveFocusInTabOrder(WindowHandle dialog, bool forward)
{
    const std::vector<WindowHandle>& controls = Find(dialog)->controls;
    const int count = static_cast<int>(controls.size());
    int current = -1;
    for (int index = 0; index < count; ++index) {
        if (controls[static_cast<std::size_t>(index)] == m_table.FocusedWindow()) {
            current = index;
        }
    }
    if (current < 0) {
        current = forward ? count - 1 : 0;  // from outside: the first or last stop
    }
    for (int step = 1; step <= count; ++step) {
        const int index = ((forward ? current + step : current - step) % count + count) % count;
        const WindowHandle control = controls[static_cast<std::size_t>(index)];
        const WindowState* item = Find(control);
        if ((item->flags & ctlTabStop) != 0 && IsWindowVisible(control) && item->enabled) {
            SetFocus(control);
            return;
        }
    }
}
