// The windows of the portable window system, their focus and wait cursor.
#include "framework/state/CWindowTable.h"

namespace {
std::uintptr_t Key(WindowHandle window)
{
    return reinterpret_cast<std::uintptr_t>(window);
}
}  // namespace

WindowState* CWindowTable::Find(WindowHandle window) const
{
    const auto found = m_windows.find(Key(window));
    return found != m_windows.end() ? found->second.get() : nullptr;
}

WindowState& CWindowTable::Add()
{
    auto state = std::make_unique<WindowState>();
    state->handle = reinterpret_cast<WindowHandle>(m_nextHandle++);
    WindowState& added = *state;
    m_windows[Key(added.handle)] = std::move(state);
    return added;
}

void CWindowTable::Remove(WindowHandle window)
{
    if (m_focus == window) {
        m_focus = nullptr;
    }
    m_windows.erase(Key(window));
}

std::vector<WindowState*> CWindowTable::AllWindows() const
{
    std::vector<WindowState*> windows;
    for (const auto& entry : m_windows) {
        windows.push_back(entry.second.get());
    }
    return windows;
}

std::vector<const WindowState*> CWindowTable::AllDialogs() const
{
    std::vector<const WindowState*> dialogs;
    for (const auto& entry : m_windows) {
        if (entry.second->isDialog && !entry.second->destroying) {
            dialogs.push_back(entry.second.get());
        }
    }
    return dialogs;
}

std::vector<const WindowState*> CWindowTable::VisibleDialogs() const
{
    std::vector<const WindowState*> dialogs;
    for (const WindowState* dialog : AllDialogs()) {
        if (dialog->visible) {
            dialogs.push_back(dialog);
        }
    }
    return dialogs;
}

WindowHandle CWindowTable::ActiveDialog() const
{
    const std::vector<const WindowState*> dialogs = VisibleDialogs();
    for (auto it = dialogs.rbegin(); it != dialogs.rend(); ++it) {
        if ((*it)->enabled) {
            return (*it)->handle;
        }
    }
    return nullptr;
}

bool CWindowTable::IsShown(WindowHandle window) const
{
    const WindowState* state = Find(window);
    if (state == nullptr || !state->visible) {
        return false;
    }
    return state->parent == nullptr || IsShown(state->parent);
}

void CWindowTable::EndWaitCursor()
{
    if (m_waitCursorDepth > 0) {
        --m_waitCursorDepth;
    }
}
