// A message box on the full screen: its caption, text and buttons, the
// button that has the focus, and the answer a key gives. Tab and the arrow
// keys move between the buttons, Enter and Space press the focused one; Esc,
// Ctrl-C and the buttons' letters answer as in direct mode.
#pragma once

#include <vector>

#include "framework/AfxTypes.h"
#include "framework/CString.h"

class CScreenMessageBox {
public:
    CScreenMessageBox(const CString& caption, const CString& text, UINT type);

    const CString& Caption() const { return m_caption; }
    const CString& Text() const { return m_text; }
    UINT Type() const { return m_type; }
    // Button ids in the order shown; the first has the focus at the start.
    const std::vector<int>& Buttons() const { return m_buttons; }
    int FocusedButton() const { return m_buttons[m_focused]; }

    // The button chosen by `key`, or 0 while the box waits.
    int HandleKey(int key);

private:
    CString m_caption;
    CString m_text;
    UINT m_type;
    std::vector<int> m_buttons;
    std::size_t m_focused = 0;
};
