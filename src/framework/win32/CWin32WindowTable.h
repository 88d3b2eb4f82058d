// The program's real windows and the CWnd objects they belong to. Every
// window the framework makes runs through one window procedure that hands
// its messages to CWnd::DeliverMessage, so that the message maps see them;
// what a map does not handle goes on to the procedure the window had before
// (the dialog manager's for a dialog, DefWindowProcA for a plain window).
#pragma once

#include "framework/win32/Win32UserApi.h"

#include <map>

#include "framework/CModalLoopState.h"

class CWnd;

struct Win32WindowRecord {
    CWnd* wnd = nullptr;
    WNDPROC previousProc = nullptr;  // null: DefWindowProcA
    CModalLoopState modal;
};

class CWin32WindowTable {
public:
    static CWin32WindowTable& Instance();

    // The framework's one class for plain windows: class style 0, no
    // cursor, no background brush, no icon. Registered on first use.
    static const char* PlainWindowClassName();

    // A dialog from template `templateId` of `module`; WM_INITDIALOG already
    // went to `wnd`. Null when the system could not make it.
    HWND CreateDialogWindow(HINSTANCE module, UINT templateId, HWND owner, CWnd& wnd);
    // A window of the framework's class; WM_CREATE already went to `wnd`.
    HWND CreatePlainWindow(HINSTANCE module, const CREATESTRUCTA& create, CWnd& wnd);

    // Null when `window` is not one of the framework's windows.
    Win32WindowRecord* Find(HWND window);
    // The processing the window had before it became the framework's.
    LRESULT CallPrevious(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

private:
    CWin32WindowTable() = default;

    static INT_PTR CALLBACK DialogProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    bool RegisterPlainWindowClass(HINSTANCE module);
    void Attach(HWND window, CWnd& wnd, WNDPROC previousProc);
    LRESULT Deliver(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    std::map<HWND, Win32WindowRecord> m_windows;
    // The plain window whose creation runs: its first message attaches it.
    CWnd* m_creating = nullptr;
    bool m_classRegistered = false;
};
