// The window system of the Windows build: real windows of the Windows user
// interface. Dialogs come from the executable's own resources, modal loops
// give dialog-keyboard processing (IsDialogMessageA), the pump does not, and
// the system delivers timers and device notices to the windows itself.
// CWin32WindowSystem.cpp holds the windows and their state,
// CWin32WindowSystemLoops.cpp the message loops and the system's own asks.
#pragma once

#include "framework/win32/Win32UserApi.h"

#include <map>

#include "framework/CWindowSystem.h"

class CWin32WindowSystem : public CWindowSystem {
public:
    CWin32WindowSystem();

    WindowHandle CreateDialogWindow(CWnd& wnd, UINT templateId, WindowHandle owner) override;
    WindowHandle CreatePlainWindow(CWnd& wnd, const AfxCreateStruct& create) override;
    void DestroyWindow(WindowHandle window) override;
    bool IsWindow(WindowHandle window) override;

    WindowHandle GetDlgItem(WindowHandle dialog, int id) override;
    void ShowWindow(WindowHandle window, int command) override;
    void UpdateWindow(WindowHandle window) override;
    bool IsWindowVisible(WindowHandle window) override;
    void EnableWindow(WindowHandle window, bool enable) override;
    bool IsWindowEnabled(WindowHandle window) override;
    bool IsIconic(WindowHandle window) override;
    void SetWindowText(WindowHandle window, const CString& text) override;
    CString GetWindowText(WindowHandle window) override;
    void SetFocus(WindowHandle window) override;
    WindowHandle GetFocus() override;
    bool GetWindowRect(WindowHandle window, CRect* rect) override;
    void SetWindowPosition(WindowHandle window, int x, int y) override;
    CRect GetWorkArea(WindowHandle window) override;
    LRESULT SendMessage(WindowHandle window, UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT DefWindowProc(WindowHandle window, UINT message, WPARAM wParam, LPARAM lParam) override;

    HANDLE BeginPaint(WindowHandle window) override;
    void EndPaint(WindowHandle window, HANDLE dc) override;
    void GetClientSize(WindowHandle window, int* width, int* height) override;
    int GetSystemMetrics(int index) override;
    void DrawIcon(HANDLE dc, int x, int y, HANDLE icon) override;

    bool HasSystemMenu(WindowHandle window) override;
    void AppendSystemMenu(WindowHandle window, UINT flags, UINT id, const CString& text) override;

    int MessageBox(WindowHandle owner, const CString& text, const CString& caption, UINT type) override;
    WindowHandle GetFrontWindow(WindowHandle mainWindow) override;

    UINT_PTR SetTimer(WindowHandle window, UINT_PTR id, UINT elapse) override;
    void KillTimer(WindowHandle window, UINT_PTR id) override;

    void PostMessage(WindowHandle window, UINT message, WPARAM wParam, LPARAM lParam) override;
    void PumpWaitingMessages() override;
    int RunModalLoop(WindowHandle dialog) override;
    void EndModalLoop(WindowHandle dialog, int result) override;

    bool GetOpenFileName(WindowHandle owner, const CString& initialFile, DWORD flags, CString* path) override;

    void BeginWaitCursor() override;
    void EndWaitCursor() override;

    CString LoadString(UINT id) override;
    HANDLE LoadIcon(UINT id) override;
    void InitCommonControls(DWORD classes) override;

    int WaitCursorDepth() const { return m_waitCursorDepth; }

private:
    // The framework's window handles are the system's.
    static HWND AsWindow(WindowHandle window) { return static_cast<HWND>(window); }

    // The module whose resources the program's windows, icon and string
    // come from: the executable.
    HINSTANCE m_module;
    int m_waitCursorDepth = 0;
    // The paint in progress of each window that began one.
    std::map<HDC, PAINTSTRUCT> m_paints;
};
