// Working a setup wizard from outside its process.
#include "SetupWizard.h"

#include "WindowProbe.h"

namespace {
// The frame's placeholder for its pages: only a wizard's frame has it.
constexpr int kPageArea = 1018;
constexpr int kBrandingLine = 1028;
constexpr int kMessageBoxText = 0xFFFF;
constexpr DWORD kControlsMs = 2000;

// The frame's caption is the wizard's, followed by a word on the page shown.
bool IsFrame(HWND window, const std::string& caption)
{
    return WindowProbe::ClassOf(window) == "#32770" && ::GetDlgItem(window, kPageArea) != nullptr &&
           WindowProbe::StoredTextOf(window).compare(0, caption.size(), caption) == 0;
}
}  // namespace

SetupWizard::SetupWizard(const std::string& caption, DWORD timeoutMs) : m_caption(caption)
{
    m_frame = WindowProbe::WaitForAnyWindow([&](HWND w) { return IsFrame(w, m_caption); }, timeoutMs);
    // The first page comes a moment after the frame.
    WindowProbe::WaitUntil([this] { return Page() != nullptr; }, timeoutMs);
}

bool SetupWizard::IsOpen() const
{
    return m_frame != nullptr && WindowProbe::StillStands(m_frame);
}

HWND SetupWizard::Page() const
{
    for (HWND child = ::GetWindow(m_frame, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (WindowProbe::ClassOf(child) == "#32770" && ::IsWindowVisible(child)) {
            return child;
        }
    }
    return nullptr;
}

std::string SetupWizard::PageText() const
{
    std::string text;
    for (const std::string& line : WindowProbe::ChildTexts(Page())) {
        text += line + "\n";
    }
    return text;
}

std::string SetupWizard::PageItemText(int id) const
{
    // A page that has just come may still be making its controls.
    WindowProbe::WaitUntil([&] { return ::GetDlgItem(Page(), id) != nullptr; }, kControlsMs);
    return WindowProbe::ItemTextOf(Page(), id);
}

std::string SetupWizard::ButtonText(int id) const
{
    return WindowProbe::ItemTextOf(m_frame, id);
}

std::string SetupWizard::BrandingText() const
{
    return WindowProbe::ItemTextOf(m_frame, kBrandingLine);
}

void SetupWizard::Click(int id) const
{
    WindowProbe::PressButton(m_frame, id);
}

bool SetupWizard::Next(DWORD timeoutMs) const
{
    HWND button = ::GetDlgItem(m_frame, kNext);
    if (!WindowProbe::WaitUntil([button] { return ::IsWindowEnabled(button) != FALSE; }, timeoutMs)) {
        return false;
    }
    const HWND before = Page();
    Click(kNext);
    return WindowProbe::WaitUntil(
        [&] {
            const HWND now = Page();
            return !IsOpen() || (now != nullptr && now != before);
        },
        timeoutMs);
}

bool SetupWizard::WaitForButton(int id, const std::string& label, DWORD timeoutMs) const
{
    HWND button = ::GetDlgItem(m_frame, id);
    return WindowProbe::WaitUntil(
        [&] { return ::IsWindowEnabled(button) && WindowProbe::TextOf(button) == label; }, timeoutMs);
}

void SetupWizard::Type(int id, const std::string& text) const
{
    WindowProbe::TypeInto(Page(), id, text);
}

HWND SetupWizard::CheckBox(const std::string& label) const
{
    for (HWND child = ::GetWindow(Page(), GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
        const LONG_PTR kind = ::GetWindowLongPtrA(child, GWL_STYLE) & BS_TYPEMASK;
        if (WindowProbe::ClassOf(child) == "Button" && (kind == BS_AUTOCHECKBOX || kind == BS_CHECKBOX) &&
            WindowProbe::TextOf(child) == label) {
            return child;
        }
    }
    return nullptr;
}

HWND SetupWizard::WaitForMessageBox(DWORD timeoutMs) const
{
    return WindowProbe::WaitForAnyWindow(
        [this](HWND w) {
            return WindowProbe::ClassOf(w) == "#32770" && ::GetDlgItem(w, kPageArea) == nullptr &&
                   ::GetDlgItem(w, kMessageBoxText) != nullptr && WindowProbe::StoredTextOf(w) == m_caption;
        },
        timeoutMs);
}

bool SetupWizard::WaitUntilClosed(DWORD timeoutMs) const
{
    return m_frame == nullptr || WindowProbe::WaitUntilGone(m_frame, timeoutMs);
}
