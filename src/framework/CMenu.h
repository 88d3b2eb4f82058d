// A window's menu as the program uses it: the system menu, appended to.
#pragma once

#include "framework/AfxTypes.h"
#include "framework/CString.h"

class CMenu {
public:
    explicit CMenu(WindowHandle window) : m_window(window) {}

    // Appends a text item (MF_STRING) or a separator (MF_SEPARATOR).
    BOOL AppendMenu(UINT flags, UINT_PTR id = 0, const char* text = nullptr);

private:
    WindowHandle m_window;
};
