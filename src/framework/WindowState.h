// What the portable window system knows of one window or control: the state
// its backends show and its tests look at.
#pragma once

#include <vector>

#include "AfxTypes.h"
#include "CString.h"
#include "DialogTemplate.h"

class CWnd;

struct SystemMenuItem {
    UINT flags;
    UINT id;
    CString text;
};

struct WindowState {
    WindowHandle handle = nullptr;
    CWnd* wnd = nullptr;             // the window's object; null for controls
    WindowHandle parent = nullptr;   // a control's dialog
    WindowHandle owner = nullptr;    // a dialog's or plain window's owner
    bool isDialog = false;
    bool isControl = false;
    const DialogTemplate* dialogTemplate = nullptr;  // dialogs
    int controlId = 0;                               // controls
    ControlKind kind = ControlKind::Label;           // controls
    DWORD flags = 0;                                 // ControlFlag / DialogFlag bits
    DWORD style = 0;                                 // plain windows
    short x = 0;   // controls: position and size in dialog units
    short y = 0;
    short cx = 0;
    short cy = 0;
    CString text;
    bool visible = false;
    bool enabled = true;
    bool iconic = false;
    int position = 0;  // progress bars
    int rangeLow = 0;
    int rangeHigh = 100;
    std::vector<WindowHandle> controls;  // dialogs, in template order
    WindowHandle lastFocus = nullptr;    // dialogs: the control that had the focus last
    std::vector<SystemMenuItem> systemMenu;
    HANDLE bigIcon = nullptr;
    HANDLE smallIcon = nullptr;
    bool destroying = false;
    bool modalRunning = false;
    bool modalEnded = false;
    int modalResult = 0;
};
