// What the portable window system knows of one window or control: the state
// it keeps, front ends draw (through CWindowView) and its tests look at.
#pragma once

#include <vector>

#include "framework/AfxTypes.h"
#include "framework/CModalLoopState.h"
#include "framework/CRect.h"
#include "framework/CString.h"
#include "framework/DialogTemplate.h"

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
    CRect place;   // dialogs and plain windows: where they stand, in pixels
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
    CModalLoopState modal;  // dialogs

    // A dialog has a system menu when its template gives it one, a plain
    // window when its style does.
    bool HasSystemMenu() const
    {
        return isDialog ? (flags & dlgSystemMenu) != 0 : (style & WS_SYSMENU) != 0;
    }

    // A control as its template item lays it out: id, kind, flags, place,
    // size, text, and shown unless the template hides it.
    void TakeControlTemplate(const DialogControlTemplate& item)
    {
        isControl = true;
        controlId = item.id;
        kind = item.kind;
        flags = item.flags;
        x = item.x;
        y = item.y;
        cx = item.cx;
        cy = item.cy;
        text = CString(item.text);
        visible = (item.flags & ctlHidden) == 0;
    }
};
