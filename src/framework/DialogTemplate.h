// A dialog template as data, for the window systems that build dialogs
// themselves: the dialog's title, size and kind, and its controls in
// template (tab) order. Positions and sizes are in dialog units.
#pragma once

#include <vector>

#include "framework/AfxTypes.h"

enum class ControlKind {
    Label,        // static text, left-aligned
    CentredText,  // static text, centred
    Icon,         // static icon
    Edit,
    PushButton,
    ProgressBar,
};

// Flags of a control (bits).
enum ControlFlag : DWORD {
    ctlDefaultButton = 0x0001,
    ctlHidden = 0x0002,  // not visible when the dialog is created
    ctlGroup = 0x0004,
    ctlTabStop = 0x0008,
    ctlBorder = 0x0010,
    ctlAutoHScroll = 0x0020,
    ctlWantReturn = 0x0040,
    ctlNoPrefix = 0x0080,
};

// Flags of a dialog (bits).
enum DialogFlag : DWORD {
    dlgVisible = 0x0001,     // shown as soon as it is created
    dlgSystemMenu = 0x0002,  // caption with system menu and close box
    dlgModalFrame = 0x0004,
    dlgAppWindow = 0x0008,   // has a taskbar button of its own
};

struct DialogControlTemplate {
    int id;  // -1: no id of its own
    ControlKind kind;
    const char* text;  // code page 1252
    short x;
    short y;
    short cx;
    short cy;
    DWORD flags;
    UINT iconId;  // ControlKind::Icon: the icon resource
};

struct DialogTemplate {
    UINT id;
    const char* title;  // code page 1252
    short cx;
    short cy;
    DWORD flags;
    int fontWeight;
    std::vector<DialogControlTemplate> controls;
};
