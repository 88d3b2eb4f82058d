// The window-system logic the terminal and in-memory backends share.
#include "framework/portable/CPortableWindowSystem.h"

#include <algorithm>
#include <cstdint>

#include "framework/CResourceTable.h"
#include "framework/CWnd.h"
#include "platform/CPlatform.h"

namespace {
// The system's shortest timer period.
constexpr DWORD kMinimumTimerPeriod = 10;

bool IsDue(DWORD now, DWORD due)
{
    return static_cast<std::int32_t>(now - due) >= 0;
}
}  // namespace

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
    m_timers.erase(std::remove_if(m_timers.begin(), m_timers.end(),
                                  [window](const Timer& timer) { return timer.window == window; }),
                   m_timers.end());
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
    // Dialog units at a base of 8 by 16 pixels.
    const WindowState* state = Find(window);
    const bool sized = state != nullptr && state->dialogTemplate != nullptr;
    *width = sized ? state->dialogTemplate->cx * 2 : 0;
    *height = sized ? state->dialogTemplate->cy * 2 : 0;
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

int CPortableWindowSystem::AskWithOwnerDisabled(WindowHandle owner, const std::function<int()>& ask)
{
    const bool disableOwner = IsWindow(owner) && IsWindowEnabled(owner);
    if (disableOwner) {
        EnableWindow(owner, false);
    }
    Present();
    const int result = ask();
    if (disableOwner) {
        EnableWindow(owner, true);
    }
    return result;
}

int CPortableWindowSystem::MessageBox(WindowHandle owner, const CString& text, const CString& caption, UINT type)
{
    return AskWithOwnerDisabled(owner, [&] { return AskMessageBox(owner, text, caption, type); });
}

WindowHandle CPortableWindowSystem::GetFrontWindow(WindowHandle mainWindow)
{
    const WindowHandle front = ActiveDialog();
    if (front != nullptr) {
        return front;
    }
    return IsWindow(mainWindow) ? mainWindow : nullptr;
}

UINT_PTR CPortableWindowSystem::SetTimer(WindowHandle window, UINT_PTR id, UINT elapse)
{
    if (Find(window) == nullptr) {
        return 0;
    }
    const DWORD period = std::max<DWORD>(elapse, kMinimumTimerPeriod);
    const DWORD due = Platform().GetTickCount() + period;
    for (Timer& timer : m_timers) {
        if (timer.window == window && timer.id == id) {
            timer.elapse = period;
            timer.due = due;
            return id;
        }
    }
    m_timers.push_back(Timer{window, id, period, due});
    return id;
}

void CPortableWindowSystem::KillTimer(WindowHandle window, UINT_PTR id)
{
    m_timers.erase(std::remove_if(m_timers.begin(), m_timers.end(),
                                  [window, id](const Timer& timer) {
                                      return timer.window == window && timer.id == id;
                                  }),
                   m_timers.end());
}

DWORD CPortableWindowSystem::TimeUntilNextTimer() const
{
    if (m_timers.empty()) {
        return INFINITE;
    }
    const DWORD now = Platform().GetTickCount();
    DWORD shortest = INFINITE;
    for (const Timer& timer : m_timers) {
        const DWORD wait = IsDue(now, timer.due) ? 0 : timer.due - now;
        shortest = std::min(shortest, wait);
    }
    return shortest;
}

bool CPortableWindowSystem::TakeDueTimer(Timer* taken)
{
    const DWORD now = Platform().GetTickCount();
    for (Timer& timer : m_timers) {
        if (IsDue(now, timer.due)) {
            // The next tick counts from now: a late timer does not fire in bursts.
            timer.due = now + timer.elapse;
            *taken = timer;
            return true;
        }
    }
    return false;
}

void CPortableWindowSystem::PostMessage(WindowHandle window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (Find(window) == nullptr) {
        return;
    }
    QueuedMessage queued;
    queued.window = window;
    queued.message = message;
    queued.wParam = wParam;
    queued.lParam = lParam;
    m_queue.push_back(std::move(queued));
}

void CPortableWindowSystem::QueueInput(std::function<void()> action)
{
    QueuedMessage queued;
    queued.input = std::move(action);
    m_queue.push_back(std::move(queued));
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

void CPortableWindowSystem::QueueDialogKey(WindowHandle dialog, DialogKey key)
{
    QueueInput([this, dialog, key] { TakeDialogKey(dialog, key); });
}

bool CPortableWindowSystem::TakesInput(WindowHandle control)
{
    const WindowState* state = Find(control);
    return state != nullptr && state->enabled && IsWindowEnabled(state->parent);
}

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

void CPortableWindowSystem::CollectDeviceNotices()
{
    DeviceNotice notice;
    while (Platform().TakeDeviceNotice(&notice)) {
        if (Find(notice.window) == nullptr) {
            continue;
        }
        QueuedMessage queued;
        queued.window = notice.window;
        queued.message = WM_DEVICECHANGE;
        queued.wParam = notice.eventType;
        queued.record = std::move(notice.record);
        m_queue.push_back(std::move(queued));
        notice = DeviceNotice();
    }
}

void CPortableWindowSystem::Dispatch(QueuedMessage& message)
{
    if (message.input) {
        message.input();
        return;
    }
    if (message.message == WM_DEVICECHANGE) {
        // The record lives in the message while its window handles it.
        message.lParam = message.record.empty() ? 0 : reinterpret_cast<LPARAM>(message.record.data());
    }
    SendMessage(message.window, message.message, message.wParam, message.lParam);
}

bool CPortableWindowSystem::DispatchOneWaiting()
{
    CollectDeviceNotices();
    if (!m_queue.empty()) {
        QueuedMessage message = std::move(m_queue.front());
        m_queue.pop_front();
        Dispatch(message);
        OnDispatched();
        return true;
    }
    Timer timer{};
    if (TakeDueTimer(&timer)) {
        SendMessage(timer.window, WM_TIMER, timer.id, 0);
        OnDispatched();
        return true;
    }
    return false;
}

void CPortableWindowSystem::PumpWaitingMessages()
{
    // Inside a modal loop the pump still gives no dialog-keyboard processing.
    const int outerDepth = m_modalDispatchDepth;
    m_modalDispatchDepth = 0;
    PollInput();
    while (DispatchOneWaiting()) {
    }
    m_modalDispatchDepth = outerDepth;
    Present();
}

int CPortableWindowSystem::RunModalLoop(WindowHandle dialog)
{
    WindowState* state = Find(dialog);
    if (state == nullptr) {
        return -1;
    }
    state->modalRunning = true;
    if (!state->modalEnded) {
        state->visible = true;
    }
    m_modalStack.push_back(dialog);
    int result = -1;
    for (;;) {
        state = Find(dialog);
        if (state == nullptr) {
            break;
        }
        if (state->modalEnded) {
            result = state->modalResult;
            break;
        }
        PollInput();
        ++m_modalDispatchDepth;
        const bool dispatched = DispatchOneWaiting();
        --m_modalDispatchDepth;
        if (dispatched) {
            continue;
        }
        Present();
        state = Find(dialog);
        if (state == nullptr || state->modalEnded) {
            continue;
        }
        if (!WaitForInput(TimeUntilNextTimer())) {
            state = Find(dialog);
            if (state != nullptr && !state->modalEnded) {
                state->modalEnded = true;
                state->modalResult = -1;
            }
        }
    }
    m_modalStack.erase(std::find(m_modalStack.begin(), m_modalStack.end(), dialog));
    state = Find(dialog);
    if (state != nullptr) {
        state->modalRunning = false;
    }
    return result;
}

void CPortableWindowSystem::EndModalLoop(WindowHandle dialog, int result)
{
    WindowState* state = Find(dialog);
    if (state == nullptr || state->modalEnded) {
        return;
    }
    state->modalEnded = true;
    state->modalResult = result;
    if (!state->modalRunning) {
        state->visible = false;  // a modeless dialog ended: it only hides
    }
}

bool CPortableWindowSystem::GetOpenFileName(WindowHandle owner, const CString& initialFile, DWORD flags,
                                            CString* path)
{
    return AskWithOwnerDisabled(owner, [&] { return AskOpenFileName(owner, initialFile, flags, path) ? 1 : 0; }) != 0;
}

void CPortableWindowSystem::BeginWaitCursor()
{
    m_table.BeginWaitCursor();
}

void CPortableWindowSystem::EndWaitCursor()
{
    m_table.EndWaitCursor();
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

WindowHandle CPortableWindowSystem::CurrentModalDialog() const
{
    return m_modalStack.empty() ? nullptr : m_modalStack.back();
}
