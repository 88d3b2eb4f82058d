// A window's system menu opened on the full screen.
#include "framework/screen/CScreenSystemMenu.h"

#include "framework/screen/ScreenKey.h"

namespace {
bool IsSeparator(const SystemMenuItem& item)
{
    return (item.flags & MF_SEPARATOR) != 0;
}

int LowerCase(int letter)
{
    return letter >= 'A' && letter <= 'Z' ? letter - 'A' + 'a' : letter;
}
}  // namespace

CScreenSystemMenu::CScreenSystemMenu(WindowHandle window, const std::vector<SystemMenuItem>& appended)
    : m_window(window)
{
    m_items.push_back(SystemMenuItem{MF_STRING, SC_CLOSE, CString("&Schlie\xDF" "en")});
    m_items.insert(m_items.end(), appended.begin(), appended.end());
}

CString CScreenSystemMenu::ShownText(const CString& text, int* markedAt)
{
    CString shown;
    *markedAt = -1;
    for (int index = 0; index < text.GetLength(); ++index) {
        const char ch = text.GetAt(index);
        if (ch == '&' && index + 1 < text.GetLength()) {
            ++index;
            if (text.GetAt(index) != '&' && *markedAt < 0) {
                *markedAt = shown.GetLength();
            }
        }
        shown += text.GetAt(index);
    }
    return shown;
}

void CScreenSystemMenu::MoveSelection(int step)
{
    const int count = static_cast<int>(m_items.size());
    int next = static_cast<int>(m_selected);
    for (int tries = 0; tries < count; ++tries) {
        next = (next + step + count) % count;
        if (!IsSeparator(m_items[static_cast<std::size_t>(next)])) {
            m_selected = static_cast<std::size_t>(next);
            return;
        }
    }
}

int CScreenSystemMenu::HandleKey(int key)
{
    switch (key) {
    case skDown:
    case skTab:
        MoveSelection(1);
        return kStays;
    case skUp:
    case skBackTab:
        MoveSelection(-1);
        return kStays;
    case skEnter:
    case ' ':
        return static_cast<int>(m_items[m_selected].id);
    case skEscape:
    case skSystemMenu:
    case skInterrupt:
        return kClosed;
    default:
        break;
    }
    for (const SystemMenuItem& item : m_items) {
        int marked = -1;
        const CString shown = ShownText(item.text, &marked);
        if (!IsSeparator(item) && marked >= 0 &&
            LowerCase(static_cast<unsigned char>(shown.GetAt(marked))) == LowerCase(key)) {
            return static_cast<int>(item.id);
        }
    }
    return kStays;
}
