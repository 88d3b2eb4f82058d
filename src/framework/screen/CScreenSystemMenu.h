// A window's system menu opened on the full screen: the close item and the items
// the program appended, one of them selected. The arrow keys move the
// selection, Enter or Space choose it, an item's marked letter chooses that
// item, Esc or the menu key close the menu.
#pragma once

#include <vector>

#include "framework/AfxTypes.h"
#include "framework/state/WindowState.h"

class CScreenSystemMenu {
public:
    static constexpr int kStays = 0;
    static constexpr int kClosed = -1;

    CScreenSystemMenu(WindowHandle window, const std::vector<SystemMenuItem>& appended);

    WindowHandle Window() const { return m_window; }
    const std::vector<SystemMenuItem>& Items() const { return m_items; }
    std::size_t Selected() const { return m_selected; }

    // The command chosen by `key`, kStays, or kClosed.
    int HandleKey(int key);

    // An item's text without its "&" and the position of the marked letter
    // (-1 when none).
    static CString ShownText(const CString& text, int* markedAt);

private:
    void MoveSelection(int step);

    WindowHandle m_window;
    std::vector<SystemMenuItem> m_items;
    std::size_t m_selected = 0;
};
