// Puts the system's message box where the program's dialogs go: the box is
// the system's own dialog, so a hook of the thread catches the end of its
// initialisation and centres it over its owner, before it is shown.
#pragma once

#include "framework/win32/Win32UserApi.h"

class CWindowSystem;

class CWin32BoxPlacement {
public:
    // From now until destroyed, the first dialog of the system's own that
    // this thread initialises (the message box about to be asked) is
    // centred over `owner` (null: on the work area).
    CWin32BoxPlacement(CWindowSystem& windows, HWND owner);
    ~CWin32BoxPlacement();
    CWin32BoxPlacement(const CWin32BoxPlacement&) = delete;
    CWin32BoxPlacement& operator=(const CWin32BoxPlacement&) = delete;

private:
    static LRESULT CALLBACK AfterWindowProcedure(int code, WPARAM wParam, LPARAM lParam);
    void Place(HWND window);

    CWindowSystem& m_windows;
    HWND m_owner;
    HHOOK m_hook;
    bool m_placed = false;
    // The placement whose box is being asked now; a box asked while another
    // waits has its own, and the outer one is current again after it.
    CWin32BoxPlacement* m_outer;
    static CWin32BoxPlacement* s_current;
};
