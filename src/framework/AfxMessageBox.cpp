// The program's message box.
#include "framework/AfxMessageBox.h"

#include "framework/CWinApp.h"
#include "framework/CWindowSystem.h"
#include "framework/CWnd.h"

namespace {
UINT WithDefaultIcon(UINT type)
{
    if ((type & MB_ICONMASK) != 0) {
        return type;
    }
    switch (type & MB_TYPEMASK) {
    case MB_OK:
    case MB_OKCANCEL:
        return type | MB_ICONEXCLAMATION;
    case MB_YESNO:
    case MB_YESNOCANCEL:
        return type | MB_ICONQUESTION;
    default:
        return type;
    }
}
}  // namespace

int AfxMessageBox(const char* text, UINT type, UINT helpId)
{
    return AfxMessageBox(CString(text), type, helpId);
}

int AfxMessageBox(const CString& text, UINT type, UINT helpId)
{
    (void)helpId;  // the program has no help file
    const CWnd* mainWindow = AfxGetMainWnd();
    // The box belongs to the window in front, which it disables: a window that
    // asks (the status window's "Abbrechen") cannot be pressed again meanwhile.
    const WindowHandle owner = WindowSystem().GetFrontWindow(mainWindow != nullptr ? mainWindow->GetSafeHwnd()
                                                                                    : nullptr);
    return WindowSystem().MessageBox(owner, text, AfxGetAppTitle(), WithDefaultIcon(type));
}
