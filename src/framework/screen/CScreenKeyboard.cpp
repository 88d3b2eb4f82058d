// The keyboard of the full-screen terminal front end.
#include "framework/screen/CScreenKeyboard.h"

#include "framework/screen/ScreenKey.h"

namespace {
// The dialog's own key that a screen key is (Tab, Shift-Tab, Enter or Esc).
DialogKey DialogKeyOf(int key)
{
    switch (key) {
    case skTab:
        return DialogKey::Tab;
    case skBackTab:
        return DialogKey::BackTab;
    case skEscape:
        return DialogKey::Escape;
    default:
        return DialogKey::Enter;
    }
}
}  // namespace

CScreenKeyboard::CScreenKeyboard(const CWindowView& windows, CEditViews& edits) : m_windows(windows), m_edits(edits)
{
}

CScreenKeyboard::~CScreenKeyboard() = default;

std::vector<InputRequest> CScreenKeyboard::RestoreFocus() const
{
    const WindowHandle dialog = m_windows.ActiveDialog();
    const WindowState* front = m_windows.FindWindow(dialog);
    if (front == nullptr) {
        return {};
    }
    const WindowState* focused = m_windows.FindWindow(m_windows.FocusedWindow());
    if (focused != nullptr && focused->parent == dialog) {
        return {};
    }
    const WindowState* last = m_windows.FindWindow(front->lastFocus);
    if (last == nullptr || !m_windows.IsShown(last->handle) || !last->enabled) {
        return {};
    }
    return {InputRequest::Focus(last->handle)};
}

std::vector<InputRequest> CScreenKeyboard::HandleKey(int key)
{
    if (m_menu) {
        return HandleMenuKey(key);
    }
    const WindowHandle dialog = m_windows.ActiveDialog();
    if (dialog == nullptr) {
        return {};
    }
    // The key goes to the dialog in front with the focus back in it.
    std::vector<InputRequest> requests = RestoreFocus();
    const WindowHandle focus = requests.empty() ? m_windows.FocusedWindow() : requests.front().window;
    switch (key) {
    case skSystemMenu: {
        const WindowState* front = m_windows.FindWindow(dialog);
        if (front->HasSystemMenu()) {
            m_menu = std::make_unique<CScreenSystemMenu>(dialog, front->systemMenu);
        }
        break;
    }
    case skInterrupt:
        requests.push_back(InputRequest::PressButton(dialog, IDCANCEL));
        break;
    case skTab:
    case skBackTab:
    case skEnter:
    case skEscape:
        requests.push_back(InputRequest::Key(dialog, DialogKeyOf(key)));
        break;
    default:
        for (const InputRequest& request : HandleControlKey(dialog, focus, key)) {
            requests.push_back(request);
        }
        break;
    }
    return requests;
}

std::vector<InputRequest> CScreenKeyboard::HandleMenuKey(int key)
{
    const int command = m_menu->HandleKey(key);
    if (command == CScreenSystemMenu::kStays) {
        return {};
    }
    const WindowHandle window = m_menu->Window();
    m_menu.reset();
    if (command == CScreenSystemMenu::kClosed) {
        return {};
    }
    return {InputRequest::SystemCommand(window, static_cast<UINT>(command))};
}

std::vector<InputRequest> CScreenKeyboard::HandleControlKey(WindowHandle dialog, WindowHandle focus, int key)
{
    const WindowState* control = m_windows.FindWindow(focus);
    if (control == nullptr || control->parent != dialog || !control->enabled) {
        return {};
    }
    if (control->kind == ControlKind::PushButton) {
        if (key == ' ') {
            return {InputRequest::PressButton(dialog, control->controlId)};
        }
        return {};
    }
    if (control->kind != ControlKind::Edit) {
        return {};
    }
    CLineEdit& line = m_edits.For(focus, control->text);
    const CString before = line.Text();
    if (line.HandleKey(key) && line.Text() != before) {
        // The edit reports its new text to the dialog (EN_CHANGE).
        return {InputRequest::Type(focus, line.Text())};
    }
    return {};
}
