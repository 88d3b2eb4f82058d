// The program's message box: modal, captioned with the program's title,
// owned by the window in front (the main window's last active pop-up, or the
// main window itself), which takes no input while the box is shown.
#pragma once

#include "framework/AfxTypes.h"
#include "framework/CString.h"

// Shows `text` with the buttons of `type`; without an icon in `type`, OK and
// OK/Cancel boxes get the exclamation mark and Yes/No boxes the question
// mark. Returns the id of the button chosen (IDOK, IDCANCEL, IDYES, IDNO).
int AfxMessageBox(const char* text, UINT type = MB_OK, UINT helpId = 0);
// The same for a text that may hold zero bytes: they are shown, not cut.
int AfxMessageBox(const CString& text, UINT type = MB_OK, UINT helpId = 0);
