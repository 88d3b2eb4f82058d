// Basic types and constants of the application framework, with the values the
// Windows user interface gives them, so that the program's code reads the same
// on every build: on top of the platform's (BOOL, DWORD, HANDLE, the error,
// wait and device-change codes), the message parameters, messages, styles and
// the other codes of windows. The Windows backends include <windows.h> before
// this header; every constant is guarded so that the system's own definition
// wins there.
#pragma once

#include <cstdint>

#include "platform/PlatformBasics.h"

typedef std::uintptr_t WPARAM;
typedef std::intptr_t LPARAM;
typedef std::intptr_t LRESULT;
typedef std::uintptr_t UINT_PTR;
typedef std::uintptr_t DWORD_PTR;

// Message boxes.
#ifndef MB_OK
#define MB_OK 0x00000000L
#define MB_OKCANCEL 0x00000001L
#define MB_YESNOCANCEL 0x00000003L
#define MB_YESNO 0x00000004L
#define MB_ICONHAND 0x00000010L
#define MB_ICONQUESTION 0x00000020L
#define MB_ICONEXCLAMATION 0x00000030L
#define MB_ICONASTERISK 0x00000040L
#define MB_TYPEMASK 0x0000000FL
#define MB_ICONMASK 0x000000F0L
#endif
#ifndef IDOK
#define IDOK 1
#define IDCANCEL 2
#define IDABORT 3
#define IDRETRY 4
#define IDIGNORE 5
#define IDYES 6
#define IDNO 7
#endif

// Window messages.
#ifndef WM_CREATE
#define WM_CREATE 0x0001
#define WM_DESTROY 0x0002
#define WM_SETFOCUS 0x0007
#define WM_KILLFOCUS 0x0008
#define WM_ENABLE 0x000A
#define WM_SETTEXT 0x000C
#define WM_GETTEXT 0x000D
#define WM_GETTEXTLENGTH 0x000E
#define WM_PAINT 0x000F
#define WM_CLOSE 0x0010
#define WM_QUERYDRAGICON 0x0037
#define WM_ICONERASEBKGND 0x0027
#define WM_SETICON 0x0080
#define WM_INITDIALOG 0x0110
#define WM_COMMAND 0x0111
#define WM_SYSCOMMAND 0x0112
#define WM_TIMER 0x0113
#define WM_KEYDOWN 0x0100
#define WM_CHAR 0x0102
#define WM_USER 0x0400
#define WM_DEVICECHANGE 0x0219
#endif
#ifndef ICON_BIG
#define ICON_SMALL 0
#define ICON_BIG 1
#endif

// Control notifications (the high word of WM_COMMAND's WPARAM).
#ifndef BN_CLICKED
#define BN_CLICKED 0
#endif
#ifndef EN_SETFOCUS
#define EN_SETFOCUS 0x0100
#define EN_KILLFOCUS 0x0200
#define EN_CHANGE 0x0300
#endif

// Progress bar.
#ifndef PBM_SETPOS
#define PBM_SETRANGE (WM_USER + 1)
#define PBM_SETPOS (WM_USER + 2)
#define PBM_GETPOS (WM_USER + 8)
#endif

// Window styles the program's windows and templates use.
#ifndef WS_POPUP
#define WS_POPUP 0x80000000L
#define WS_VISIBLE 0x10000000L
#define WS_DISABLED 0x08000000L
#define WS_CAPTION 0x00C00000L
#define WS_BORDER 0x00800000L
#define WS_SYSMENU 0x00080000L
#define WS_GROUP 0x00020000L
#define WS_TABSTOP 0x00010000L
#define WS_EX_APPWINDOW 0x00040000L
#endif
#ifndef DS_MODALFRAME
#define DS_MODALFRAME 0x80L
#define DS_SETFONT 0x40L
#define DS_FIXEDSYS 0x0008L
#endif
#ifndef SS_LEFT
#define SS_LEFT 0x0000L
#define SS_CENTER 0x0001L
#define SS_ICON 0x0003L
#define SS_NOPREFIX 0x0080L
#endif
#ifndef BS_PUSHBUTTON
#define BS_PUSHBUTTON 0x0000L
#define BS_DEFPUSHBUTTON 0x0001L
#endif
#ifndef ES_AUTOHSCROLL
#define ES_AUTOHSCROLL 0x0080L
#define ES_WANTRETURN 0x1000L
#endif

// Showing windows.
#ifndef SW_HIDE
#define SW_HIDE 0
#define SW_SHOW 5
#define SW_MINIMIZE 6
#define SW_RESTORE 9
#endif

// System menu commands and menu flags.
#ifndef SC_CLOSE
#define SC_CLOSE 0xF060
#define SC_MINIMIZE 0xF020
#define SC_RESTORE 0xF120
#endif
#ifndef MF_STRING
#define MF_STRING 0x00000000L
#define MF_SEPARATOR 0x00000800L
#endif

// System metrics the program asks for.
#ifndef SM_CXICON
#define SM_CXICON 11
#define SM_CYICON 12
#endif

// Common control classes.
#ifndef ICC_WIN95_CLASSES
#define ICC_WIN95_CLASSES 0x000000FF
#endif

// Open-file dialog flags.
#ifndef OFN_HIDEREADONLY
#define OFN_OVERWRITEPROMPT 0x00000002
#define OFN_HIDEREADONLY 0x00000004
#define OFN_EXPLORER 0x00080000
#endif

#ifndef LOWORD
#define LOWORD(l) (static_cast<unsigned short>(static_cast<std::uintptr_t>(l) & 0xFFFF))
#define HIWORD(l) (static_cast<unsigned short>((static_cast<std::uintptr_t>(l) >> 16) & 0xFFFF))
#endif
#ifndef MAKEWPARAM
#define MAKEWPARAM(l, h) (static_cast<WPARAM>((static_cast<DWORD>(l) & 0xFFFF) | ((static_cast<DWORD>(h) & 0xFFFF) << 16)))
#endif
