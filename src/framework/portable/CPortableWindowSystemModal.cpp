// Modal work in the portable window system: a dialog's modal loop and its
// end, a modeless dialog that ends, and asking the user (a message box, the
// file prompt) with the owner taking no input meanwhile.
#include "framework/portable/CPortableWindowSystem.h"

#include <algorithm>

int CPortableWindowSystem::RunModalLoop(WindowHandle dialog)
{
    WindowState* state = Find(dialog);
    if (state == nullptr) {
        return -1;
    }
    if (state->modal.Start()) {
        state->visible = true;
    }
    m_modalStack.push_back(dialog);
    int result = -1;
    for (;;) {
        state = Find(dialog);
        if (state == nullptr) {
            break;
        }
        if (state->modal.Ended()) {
            result = state->modal.Result();
            break;
        }
        TakeArrivals();
        ++m_modalDispatchDepth;
        const bool dispatched = DispatchOneWaiting();
        --m_modalDispatchDepth;
        if (dispatched) {
            continue;
        }
        Present();
        state = Find(dialog);
        if (state == nullptr || state->modal.Ended()) {
            continue;
        }
        if (!WaitForInput(TimeUntilNextTimer())) {
            state = Find(dialog);
            if (state != nullptr) {
                state->modal.End(-1);
            }
        }
    }
    m_modalStack.erase(std::find(m_modalStack.begin(), m_modalStack.end(), dialog));
    state = Find(dialog);
    if (state != nullptr) {
        state->modal.Stop();
    }
    return result;
}

void CPortableWindowSystem::EndModalLoop(WindowHandle dialog, int result)
{
    WindowState* state = Find(dialog);
    if (state != nullptr && state->modal.End(result) == CModalLoopState::Ending::HidesDialog) {
        state->visible = false;
    }
}

WindowHandle CPortableWindowSystem::CurrentModalDialog() const
{
    return m_modalStack.empty() ? nullptr : m_modalStack.back();
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

bool CPortableWindowSystem::GetOpenFileName(WindowHandle owner, const CString& initialFile, DWORD flags,
                                            CString* path)
{
    return AskWithOwnerDisabled(owner, [&] { return AskOpenFileName(owner, initialFile, flags, path) ? 1 : 0; }) != 0;
}

WindowHandle CPortableWindowSystem::GetFrontWindow(WindowHandle mainWindow)
{
    const WindowHandle front = ActiveDialog();
    if (front != nullptr) {
        return front;
    }
    return IsWindow(mainWindow) ? mainWindow : nullptr;
}
