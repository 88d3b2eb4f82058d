// A window's menu as the program uses it.
#include "framework/CMenu.h"

#include "framework/CWindowSystem.h"

BOOL CMenu::AppendMenu(UINT flags, UINT_PTR id, const char* text)
{
    if (!WindowSystem().HasSystemMenu(m_window)) {
        return FALSE;
    }
    WindowSystem().AppendSystemMenu(m_window, flags, static_cast<UINT>(id), CString(text));
    return TRUE;
}
