// The Windows headers as the user-interface backend includes them: the
// system's window, dialog, common-control and common-dialog declarations,
// without the macros that would rename the framework's own methods
// (SendMessage, LoadString, MessageBox, ...). The backend calls the "A"
// functions by their full names.
#pragma once

#include "platform/win32/Win32Api.h"

#include <commctrl.h>
#include <commdlg.h>

#undef AppendMenu
#undef DefWindowProc
#undef DrawIcon
#undef GetDlgItemText
#undef GetOpenFileName
#undef GetWindowText
#undef GetWindowTextLength
#undef LoadIcon
#undef LoadString
#undef MessageBox
#undef PostMessage
#undef SendMessage
#undef SetDlgItemText
#undef SetWindowText
