// The wizard of the setup program or of its uninstaller, worked from outside
// as a technician works it: the pages read, their fields typed into, the
// buttons of the wizard's frame clicked. Found by its caption among the
// windows of every process, as the uninstaller runs on from a copy of itself.
#pragma once

#include "framework/win32/Win32UserApi.h"

#include <string>

class SetupWizard {
public:
    // The buttons of the wizard's frame and the fields of its pages.
    static constexpr int kNext = IDOK;  // also "Installieren", "Fertig stellen"
    static constexpr int kCancel = IDCANCEL;
    static constexpr int kInstallFolderField = 1019;
    static constexpr int kStartMenuFolderField = 1002;

    // Waits up to `timeoutMs` for a wizard captioned `caption`; IsOpen()
    // tells whether one came.
    SetupWizard(const std::string& caption, DWORD timeoutMs);

    bool IsOpen() const;
    HWND Frame() const { return m_frame; }
    // The page shown now (a child dialog of the frame); null between pages.
    HWND Page() const;
    // Every text of the page shown, its fields' contents included, one a line.
    std::string PageText() const;
    // The text of a control of the page, or of a button of the frame.
    std::string PageItemText(int id) const;
    std::string ButtonText(int id) const;
    // The line under the pages, where an install system puts its name.
    std::string BrandingText() const;

    // Clicks a button of the frame, as a technician does, and returns at once.
    void Click(int id) const;
    // Clicks Next (Install, Finish) once it can be clicked, and waits until
    // another page stands (or the wizard closed); false when neither came.
    bool Next(DWORD timeoutMs) const;
    // Waits up to `timeoutMs` until button `id` of the frame reads `label`
    // and can be clicked: the page that ends a step that takes its time.
    bool WaitForButton(int id, const std::string& label, DWORD timeoutMs) const;
    // Types `text` into field `id` of the page (what it held is replaced).
    void Type(int id, const std::string& text) const;
    // The check box of the page that reads `label`; null when it has none.
    HWND CheckBox(const std::string& label) const;

    // The frame's message box (same caption) waiting for an answer; null
    // when none came within `timeoutMs`.
    HWND WaitForMessageBox(DWORD timeoutMs) const;
    // Waits up to `timeoutMs` for the wizard to close.
    bool WaitUntilClosed(DWORD timeoutMs) const;

private:
    std::string m_caption;
    HWND m_frame = nullptr;
};
