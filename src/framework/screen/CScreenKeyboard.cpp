// The keyboard of the full-screen terminal front end.
#include "framework/screen/CScreenKeyboard.h"

#include "framework/portable/CPortableWindowSystem.h"
#include "framework/screen/ScreenKey.h"

CScreenKeyboard::CScreenKeyboard(CPortableWindowSystem& windows, CEditViews& edits)
    : m_windows(windows), m_edits(edits)
{
}

CScreenKeyboard::~CScreenKeyboard() = default;

void CScreenKeyboard::RestoreFocus()
{
    const WindowHandle dialog = m_windows.ActiveDialog();
    const WindowState* front = m_windows.FindWindow(dialog);
    if (front == nullptr) {
        return;
    }
    const WindowState* focused = m_windows.FindWindow(m_windows.FocusedWindow());
    if (focused != nullptr && focused->parent == dialog) {
        return;
    }
    const WindowHandle last = front->lastFocus;
    if (last != nullptr && m_windows.IsWindowVisible(last) && m_windows.IsWindowEnabled(last)) {
        m_windows.SetFocus(last);
    }
}

void CScreenKeyboard::HandleKey(int key)
{
    if (m_menu) {
        HandleMenuKey(key);
        return;
    }
    const WindowHandle dialog = m_windows.ActiveDialog();
    if (dialog == nullptr) {
        return;
    }
    RestoreFocus();
    switch (key) {
    case skSystemMenu:
        if (m_windows.HasSystemMenu(dialog)) {
            m_menu = std::make_unique<CScreenSystemMenu>(dialog, m_windows.FindWindow(dialog)->systemMenu);
        }
        return;
    case skInterrupt:
        m_windows.PressButton(dialog, IDCANCEL);
        return;
    case skTab:
    case skBackTab:
    case skEnter:
    case skEscape:
        m_windows.TakeDialogKey(dialog, key);
        return;
    default:
        HandleControlKey(dialog, key);
        return;
    }
}

void CScreenKeyboard::HandleMenuKey(int key)
{
    const int command = m_menu->HandleKey(key);
    if (command == CScreenSystemMenu::kStays) {
        return;
    }
    const WindowHandle window = m_menu->Window();
    m_menu.reset();
    if (command != CScreenSystemMenu::kClosed && m_windows.IsWindow(window) && m_windows.IsWindowEnabled(window)) {
        m_windows.SendMessage(window, WM_SYSCOMMAND, static_cast<WPARAM>(command), 0);
    }
}

void CScreenKeyboard::HandleControlKey(WindowHandle dialog, int key)
{
    const WindowHandle focus = m_windows.FocusedWindow();
    const WindowState* control = m_windows.FindWindow(focus);
    if (control == nullptr || control->parent != dialog || !control->enabled) {
        return;
    }
    if (control->kind == ControlKind::PushButton) {
        if (key == ' ') {
            m_windows.PressButton(dialog, control->controlId);
        }
        return;
    }
    if (control->kind != ControlKind::Edit) {
        return;
    }
    CLineEdit& line = m_edits.For(focus, control->text);
    const CString before = line.Text();
    if (line.HandleKey(key) && line.Text() != before) {
        // The edit reports its new text to the dialog (EN_CHANGE).
        m_windows.SetWindowText(focus, line.Text());
    }
}
