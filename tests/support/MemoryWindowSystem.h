// The in-memory window system of the tests: dialogs from the registered
// templates with every control's state readable, user input simulated
// (clicks, typing, focus moves, the close box, system menu commands), message
// boxes answered from a script and logged, the file dialog's answer, and the
// wait cursor counted. Modal loops run on the test's thread; when a loop has
// nothing to do it calls the idle hook, which may click, answer, advance the
// fake platform's clock or queue device notices. A loop with nothing to do
// and no hook (or a hook that gives up) fails the test and ends with -1.
#pragma once

#include <deque>
#include <functional>
#include <vector>

#include "framework/portable/CPortableWindowSystem.h"

struct MessageBoxRecord {
    CString caption;
    CString text;
    UINT type = 0;
    WindowHandle owner = nullptr;
    int answer = 0;
};

struct IconDrawRecord {
    WindowHandle window = nullptr;
    int x = 0;
    int y = 0;
    HANDLE icon = nullptr;
};

struct FileDialogRecord {
    WindowHandle owner = nullptr;
    CString initialFile;
    DWORD flags = 0;
};

class MemoryWindowSystem : public CPortableWindowSystem {
public:
    // Installs itself in place of the build's window system, unless told not
    // to; the build's window system is back when it is destroyed.
    explicit MemoryWindowSystem(bool install = true);
    ~MemoryWindowSystem() override;
    MemoryWindowSystem(const MemoryWindowSystem&) = delete;
    MemoryWindowSystem& operator=(const MemoryWindowSystem&) = delete;

    // ---- Message boxes. OK boxes are passed with IDOK and take no scripted
    // answer; every other box takes the next one (or asks the hook), and
    // without one the test fails. The log holds every box with its answer.
    void AnswerMessageBox(int button);
    void SetMessageBoxHook(std::function<int(const MessageBoxRecord&)> hook);
    const std::vector<MessageBoxRecord>& MessageBoxes() const { return m_boxes; }
    int PendingAnswers() const { return static_cast<int>(m_answers.size()); }

    // ---- The open-file dialog: chosen path, or cancelled. Without an answer
    // the dialog is cancelled and the test fails.
    void AnswerFileDialog(const CString& path);
    void CancelFileDialog();
    const std::vector<FileDialogRecord>& FileDialogs() const { return m_fileDialogs; }

    // ---- Modal loops: the hook runs when a loop has nothing to do; false
    // from it means the test has nothing more to offer.
    void SetIdleHook(std::function<bool()> hook);

    // ---- Looking at windows.
    // The newest dialog made from `templateId` that still exists; null if none.
    WindowHandle FindDialog(UINT templateId) const;
    WindowHandle Control(WindowHandle dialog, int id) const;
    CString Text(WindowHandle dialog, int id) const;
    bool IsEnabled(WindowHandle dialog, int id) const;
    bool IsVisible(WindowHandle dialog, int id) const;
    int ProgressPosition(WindowHandle dialog, int id) const;
    // Id of the focused control of a dialog; 0 when the focus is elsewhere.
    int FocusedControlId(WindowHandle dialog) const;
    const std::vector<SystemMenuItem>& SystemMenu(WindowHandle window) const;
    int WaitCursorBegins() const { return m_waitCursorBegins; }
    const std::vector<CString>& ClosingLines() const { return m_closingLines; }
    const std::vector<IconDrawRecord>& IconDraws() const { return m_iconDraws; }

    // ---- User input, queued: carried out when the program takes messages
    // (a modal loop, the pump), in order, against the state at that time.
    void Click(WindowHandle dialog, int id);
    // Replaces the text of an edit as typing would (EN_CHANGE follows).
    void Type(WindowHandle dialog, int id, const CString& text);
    // Puts the focus on a control (the edit that had it reports EN_KILLFOCUS).
    void MoveFocus(WindowHandle dialog, int id);
    void CloseBox(WindowHandle dialog);
    // Enter and Esc; only a modal loop gives them their dialog meaning.
    void PressEnter(WindowHandle dialog) { PressKey(dialog, DialogKey::Enter); }
    void PressEscape(WindowHandle dialog) { PressKey(dialog, DialogKey::Escape); }
    void ChooseSystemCommand(WindowHandle window, UINT command);

    void BeginWaitCursor() override;
    void ShowClosingLine(const CString& text) override { m_closingLines.push_back(text); }
    void DrawIcon(HANDLE dc, int x, int y, HANDLE icon) override;

protected:
    bool WaitForInput(DWORD milliseconds) override;
    int AskMessageBox(WindowHandle owner, const CString& text, const CString& caption, UINT type) override;
    bool AskOpenFileName(WindowHandle owner, const CString& initialFile, DWORD flags, CString* path) override;
    void OnDispatched() override { m_idleCallsInARow = 0; }

private:
    struct FileAnswer {
        bool chosen;
        CString path;
    };

    const WindowState* ControlState(WindowHandle dialog, int id) const;
    void PressKey(WindowHandle dialog, DialogKey key);

    bool m_installed = false;
    std::deque<int> m_answers;
    std::function<int(const MessageBoxRecord&)> m_boxHook;
    std::vector<MessageBoxRecord> m_boxes;
    std::deque<FileAnswer> m_fileAnswers;
    std::vector<FileDialogRecord> m_fileDialogs;
    std::function<bool()> m_idleHook;
    int m_idleCallsInARow = 0;
    int m_waitCursorBegins = 0;
    std::vector<IconDrawRecord> m_iconDraws;
    std::vector<CString> m_closingLines;
};
