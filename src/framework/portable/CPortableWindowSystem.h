// The window system that the terminal backend and the tests' in-memory one
// share: windows and controls made from the registered dialog templates,
// their state, the message queue with the user's input and the platform's
// device notices (delivered as WM_DEVICECHANGE), timers against the
// platform's tick count, modal loops and owner disabling. A backend derives
// from it and adds only how it waits for input and how it shows and asks
// things (the hooks below). Front ends read the windows through the view of
// its window table (CWindowView) and hand the user's input back as requests
// (InputRequest) that it carries out. Its work is spread over one file per
// concern: CPortableWindowSystem.cpp (the window tree), ...State.cpp,
// ...Queue.cpp, ...Modal.cpp and ...Input.cpp.
#pragma once

#include <deque>
#include <functional>
#include <vector>

#include "framework/CWindowSystem.h"
#include "framework/portable/CWindowTimers.h"
#include "framework/state/CWindowTable.h"
#include "framework/state/InputRequest.h"
#include "framework/state/WindowState.h"

class CPortableWindowSystem : public CWindowSystem {
public:
    // Dialog units at a base of 8 by 16 pixels: one unit is 2 x 2 pixels.
    static constexpr int kPixelsPerUnit = 2;

    CPortableWindowSystem();
    ~CPortableWindowSystem() override;

    // ---- The window tree (CPortableWindowSystem.cpp).
    WindowHandle CreateDialogWindow(CWnd& wnd, UINT templateId, WindowHandle owner) override;
    WindowHandle CreatePlainWindow(CWnd& wnd, const AfxCreateStruct& create) override;
    void DestroyWindow(WindowHandle window) override;
    bool IsWindow(WindowHandle window) override;
    WindowHandle GetDlgItem(WindowHandle dialog, int id) override;
    CString LoadString(UINT id) override;
    HANDLE LoadIcon(UINT id) override;
    void InitCommonControls(DWORD classes) override;

    // ---- The state of windows and controls (...State.cpp).
    void ShowWindow(WindowHandle window, int command) override;
    void UpdateWindow(WindowHandle window) override;
    bool IsWindowVisible(WindowHandle window) override;
    void EnableWindow(WindowHandle window, bool enable) override;
    bool IsWindowEnabled(WindowHandle window) override;
    bool IsIconic(WindowHandle window) override;
    void SetWindowText(WindowHandle window, const CString& text) override;
    CString GetWindowText(WindowHandle window) override;
    void SetFocus(WindowHandle window) override;
    WindowHandle GetFocus() override;
    // Places in pixels; a dialog opens at the top left of the screen, the
    // size of its template.
    bool GetWindowRect(WindowHandle window, CRect* rect) override;
    void SetWindowPosition(WindowHandle window, int x, int y) override;
    CRect GetWorkArea(WindowHandle window) override;
    // The one screen's work area; 1024 x 768 until a backend or test says.
    void SetWorkArea(const CRect& area) { m_workArea = area; }
    LRESULT SendMessage(WindowHandle window, UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT DefWindowProc(WindowHandle window, UINT message, WPARAM wParam, LPARAM lParam) override;
    HANDLE BeginPaint(WindowHandle window) override;
    void EndPaint(WindowHandle window, HANDLE dc) override;
    void GetClientSize(WindowHandle window, int* width, int* height) override;
    int GetSystemMetrics(int index) override;
    void DrawIcon(HANDLE dc, int x, int y, HANDLE icon) override;
    bool HasSystemMenu(WindowHandle window) override;
    void AppendSystemMenu(WindowHandle window, UINT flags, UINT id, const CString& text) override;
    void BeginWaitCursor() override;
    void EndWaitCursor() override;

    // ---- The queue, timers and the pump (...Queue.cpp).
    void PostMessage(WindowHandle window, UINT message, WPARAM wParam, LPARAM lParam) override;
    UINT_PTR SetTimer(WindowHandle window, UINT_PTR id, UINT elapse) override;
    void KillTimer(WindowHandle window, UINT_PTR id) override;
    void PumpWaitingMessages() override;
    // User input: queued, and carried out in order with the messages.
    void QueueInput(std::function<void()> action);

    // ---- Modal loops and asking with the owner disabled (...Modal.cpp).
    int RunModalLoop(WindowHandle dialog) override;
    void EndModalLoop(WindowHandle dialog, int result) override;
    int MessageBox(WindowHandle owner, const CString& text, const CString& caption, UINT type) override;
    bool GetOpenFileName(WindowHandle owner, const CString& initialFile, DWORD flags, CString* path) override;
    // The newest shown, enabled dialog (modal or modeless), else the main window.
    WindowHandle GetFrontWindow(WindowHandle mainWindow) override;
    // The dialog whose modal loop runs innermost; null outside modal loops.
    WindowHandle CurrentModalDialog() const;

    // ---- The user's input (...Input.cpp).
    // A request of the user's input, carried out now: a button is pressed
    // only when it is visible and enabled in an enabled dialog; the focus
    // goes to and text is typed into an enabled control of an enabled dialog
    // only; a system command reaches an enabled window only; a dialog key
    // acts as TakeDialogKey says.
    void CarryOut(const InputRequest& request);
    // Several, in order, each checked when its turn comes.
    void CarryOut(const std::vector<InputRequest>& requests);
    // A press of button `id` of `dialog`, taken only as the user could: the
    // button exists and is visible and enabled in a visible, enabled dialog.
    bool PressButton(WindowHandle dialog, int id);
    // A dialog key for `dialog`, taken now, as input whose turn has come. It
    // acts only when a modal loop takes it (the pump gives no dialog-keyboard
    // processing): Enter as the focused push button or the default button,
    // Esc as Cancel; Tab and Shift-Tab move the focus in template order over
    // the visible, enabled controls with a tab stop.
    void TakeDialogKey(WindowHandle dialog, DialogKey key);

    // ---- What front ends draw from and tests look at.
    const CWindowView& View() const { return m_table; }
    const WindowState* FindWindow(WindowHandle window) const { return m_table.FindWindow(window); }
    std::vector<const WindowState*> VisibleDialogs() const { return m_table.VisibleDialogs(); }
    WindowHandle ActiveDialog() const { return m_table.ActiveDialog(); }
    WindowHandle FocusedWindow() const { return m_table.FocusedWindow(); }
    // The dialogs that exist, oldest first.
    std::vector<const WindowState*> AllDialogs() const { return m_table.AllDialogs(); }
    int WaitCursorDepth() const { return m_table.WaitCursorDepth(); }
    DWORD CommonControlClasses() const { return m_commonControlClasses; }

protected:
    // ---- The hooks a backend fills in. They run on the user-interface
    // thread, from the modal loops, the pump and the calls named.
    // Takes input waiting now (keys, signals) without blocking.
    virtual void PollInput() {}
    // Waits up to `milliseconds` (INFINITE: no timer pending) for input or a
    // device notice. False when nothing can ever come: the modal loop gives up.
    virtual bool WaitForInput(DWORD milliseconds) = 0;
    // Shows what has changed; called when the program waits or has pumped.
    virtual void Present() {}
    // Shows a message box and returns the chosen button. The owner is
    // disabled meanwhile; the backend may dispatch waiting messages while it
    // waits for the answer (DispatchOneWaiting), as a system's box does.
    virtual int AskMessageBox(WindowHandle owner, const CString& text, const CString& caption, UINT type) = 0;
    // Asks for a file; true with the full path, false if cancelled. As above.
    virtual bool AskOpenFileName(WindowHandle owner, const CString& initialFile, DWORD flags, CString* path) = 0;
    // A window is about to go; its state is still complete.
    virtual void OnWindowDestroying(const WindowState& window) { (void)window; }
    // One message or input was dispatched.
    virtual void OnDispatched() {}

    // Takes and dispatches one waiting message, input or due timer; false
    // when nothing is waiting. Device notices are collected first.
    bool DispatchOneWaiting();
    // Milliseconds until the next timer is due (0 if overdue); INFINITE if none.
    DWORD TimeUntilNextTimer() const;

private:
    struct QueuedMessage {
        WindowHandle window = nullptr;
        UINT message = 0;
        WPARAM wParam = 0;
        LPARAM lParam = 0;
        std::vector<BYTE> record;       // device notices: the broadcast record
        std::function<void()> input;    // simulated or terminal input
    };

    WindowState* Find(WindowHandle window) const { return m_table.Find(window); }
    void AddControls(WindowState& dialog);
    bool HoldsFocus(const WindowState& window) const;
    void RestoreFocusOfActiveDialog();
    void ForgetWindow(WindowHandle window);
    void NotifyParent(const WindowState& control, UINT code);
    LRESULT ControlMessage(WindowState& control, UINT message, WPARAM wParam, LPARAM lParam);
    void CollectDeviceNotices();
    // Queues what has arrived: device notices, then the backend's input.
    void TakeArrivals();
    void Dispatch(QueuedMessage& message);
    // Runs `ask` (a message box, a file prompt) with its owner taking no
    // input meanwhile; what `ask` returned.
    int AskWithOwnerDisabled(WindowHandle owner, const std::function<int()>& ask);
    // An enabled control of an enabled dialog: input may focus or type into it.
    bool TakesInput(WindowHandle control);
    void MoveFocusInTabOrder(WindowHandle dialog, bool forward);

    CWindowTable m_table;
    std::deque<QueuedMessage> m_queue;
    CWindowTimers m_timers;
    std::vector<WindowHandle> m_modalStack;
    int m_modalDispatchDepth = 0;  // > 0 while a modal loop dispatches
    DWORD m_commonControlClasses = 0;
    CRect m_workArea{0, 0, 1024, 768};
};
