// The system's message loops under the Windows build's window system:
// timers and posted messages, the pump, a dialog's modal loop and its end,
// and the system's own modal asks, the message box and the open-file dialog.
#include "framework/win32/CWin32WindowSystem.h"

#include <string>
#include <vector>

#include "framework/win32/CWin32BoxPlacement.h"
#include "framework/win32/CWin32WindowTable.h"

namespace {
// Room for the longest path the system's file functions take.
constexpr DWORD kFileNameBufferSize = 32768;

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
    if (record->modal.Start()) {
        ::ShowWindow(window, SW_SHOW);
    }
    int result = -1;
    MSG message{};
    for (;;) {
        record = table.Find(window);
        if (record == nullptr) {
            break;
        }
        if (record->modal.Ended()) {
            result = record->modal.Result();
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
        record->modal.Stop();
    }
    return result;
}

void CWin32WindowSystem::EndModalLoop(WindowHandle dialog, int result)
{
    Win32WindowRecord* record = CWin32WindowTable::Instance().Find(AsWindow(dialog));
    const CModalLoopState::Ending ending =
        record != nullptr ? record->modal.End(result) : CModalLoopState::Ending::AlreadyEnded;
    if (ending == CModalLoopState::Ending::AlreadyEnded) {
        return;
    }
    if (ending == CModalLoopState::Ending::HidesDialog) {
        ::ShowWindow(AsWindow(dialog), SW_HIDE);
    }
    // Wakes the loop if it waits for a message.
    ::PostMessageA(AsWindow(dialog), WM_NULL, 0, 0);
}

int CWin32WindowSystem::MessageBox(WindowHandle owner, const CString& text, const CString& caption, UINT type)
{
    const CWin32BoxPlacement placement(*this, AsWindow(owner));
    return ::MessageBoxA(AsWindow(owner), ShownText(text).c_str(), ShownText(caption).c_str(), type);
}

WindowHandle CWin32WindowSystem::GetFrontWindow(WindowHandle mainWindow)
{
    if (IsWindow(mainWindow)) {
        return ::GetLastActivePopup(AsWindow(mainWindow));
    }
    return ::GetActiveWindow();
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
