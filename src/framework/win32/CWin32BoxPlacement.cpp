// Puts the system's message box where the program's dialogs go.
#include "framework/win32/CWin32BoxPlacement.h"

#include <cstring>

#include "framework/CWindowPlacement.h"
#include "framework/win32/CWin32WindowTable.h"

namespace {
// The class of the system's dialogs.
constexpr char kDialogClass[] = "#32770";

bool IsSystemDialog(HWND window)
{
    char name[16] = {};
    return ::GetClassNameA(window, name, sizeof name) > 0 && std::strcmp(name, kDialogClass) == 0 &&
           CWin32WindowTable::Instance().Find(window) == nullptr;
}
}  // namespace

CWin32BoxPlacement* CWin32BoxPlacement::s_current = nullptr;

CWin32BoxPlacement::CWin32BoxPlacement(CWindowSystem& windows, HWND owner)
    : m_windows(windows),
      m_owner(owner),
      m_hook(::SetWindowsHookExA(WH_CALLWNDPROCRET, &CWin32BoxPlacement::AfterWindowProcedure, nullptr,
                                 ::GetCurrentThreadId())),
      m_outer(s_current)
{
    s_current = this;
}

CWin32BoxPlacement::~CWin32BoxPlacement()
{
    s_current = m_outer;
    if (m_hook != nullptr) {
        ::UnhookWindowsHookEx(m_hook);
    }
}

LRESULT CALLBACK CWin32BoxPlacement::AfterWindowProcedure(int code, WPARAM wParam, LPARAM lParam)
{
    const auto* call = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    CWin32BoxPlacement* current = s_current;
    if (code == HC_ACTION && call != nullptr && call->message == WM_INITDIALOG && current != nullptr &&
        !current->m_placed && IsSystemDialog(call->hwnd)) {
        current->Place(call->hwnd);
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

void CWin32BoxPlacement::Place(HWND window)
{
    m_placed = true;
    // The system placed its box in its initialisation; where it belongs is
    // over its owner.
    CWindowPlacement::Centre(m_windows, window, m_owner);
}
