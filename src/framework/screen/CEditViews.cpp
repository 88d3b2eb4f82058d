// The caret and sideways scroll of each edit control on the terminal.
#include "framework/screen/CEditViews.h"

CLineEdit& CEditViews::For(WindowHandle edit, const CString& text)
{
    const auto found = m_views.find(edit);
    if (found == m_views.end()) {
        return m_views.emplace(edit, CLineEdit(text)).first->second;
    }
    if (found->second.Text() != text) {
        found->second.Reset(text);
    }
    return found->second;
}
