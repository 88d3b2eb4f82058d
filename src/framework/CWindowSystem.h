// The window system under the framework's window classes. One backend serves
// each build: the Windows user interface, the terminal (Linux), or the
// in-memory one of the tests. The framework classes (CWnd, CDialog, ...) keep
// the program's rules; a backend only creates, shows, routes and asks.
//
// Every window a backend creates belongs to a CWnd and delivers its messages to
// CWnd::WindowProc on the calling (user-interface) thread: WM_CREATE or
// WM_INITDIALOG synchronously during creation, WM_DESTROY during destruction,
// and everything else only while a message loop or the pump takes messages.
#pragma once

#include "framework/AfxTypes.h"
#include "framework/CRect.h"
#include "framework/CString.h"

class CWnd;
struct AfxCreateStruct;

class CWindowSystem {
public:
    virtual ~CWindowSystem() = default;

    // ---- Creation. `owner` null means no owner. Null on failure.
    // A dialog from template `templateId`, its controls in template order.
    virtual WindowHandle CreateDialogWindow(CWnd& wnd, UINT templateId, WindowHandle owner) = 0;
    // A plain window of the program's own (never shown when the style lacks
    // WS_VISIBLE). WM_CREATE gets `create`; -1 from it fails the creation.
    virtual WindowHandle CreatePlainWindow(CWnd& wnd, const AfxCreateStruct& create) = 0;
    // Sends WM_DESTROY to the window, then forgets it; controls go with it.
    virtual void DestroyWindow(WindowHandle window) = 0;
    virtual bool IsWindow(WindowHandle window) = 0;

    // ---- State of windows and controls.
    virtual WindowHandle GetDlgItem(WindowHandle dialog, int id) = 0;
    virtual void ShowWindow(WindowHandle window, int command) = 0;
    // Paints what is invalid in the window and its controls now and hands the
    // drawing to the screen, so that it is seen even while the thread then
    // pauses and takes no messages.
    virtual void UpdateWindow(WindowHandle window) = 0;
    virtual bool IsWindowVisible(WindowHandle window) = 0;
    virtual void EnableWindow(WindowHandle window, bool enable) = 0;
    virtual bool IsWindowEnabled(WindowHandle window) = 0;
    virtual bool IsIconic(WindowHandle window) = 0;
    virtual void SetWindowText(WindowHandle window, const CString& text) = 0;
    virtual CString GetWindowText(WindowHandle window) = 0;
    virtual void SetFocus(WindowHandle window) = 0;
    virtual WindowHandle GetFocus() = 0;
    // Messages a control or window answers itself (PBM_SETPOS, WM_SETICON...).
    virtual LRESULT SendMessage(WindowHandle window, UINT message, WPARAM wParam, LPARAM lParam) = 0;
    // The system's default handling of a message the window did not handle.
    virtual LRESULT DefWindowProc(WindowHandle window, UINT message, WPARAM wParam, LPARAM lParam) = 0;

    // ---- Place on the screen, in pixels (the portable window system counts
    // a dialog unit as 2 x 2 of them). The window's frame in screen
    // coordinates; false when there is no such window.
    virtual bool GetWindowRect(WindowHandle window, CRect* rect) = 0;
    // Moves the window's top left corner to x, y; its size, its place in
    // front of or behind others, and which window is active stay.
    virtual void SetWindowPosition(WindowHandle window, int x, int y) = 0;
    // The work area (the screen without the task bars) of the screen that
    // shows `window`, or of the main screen.
    virtual CRect GetWorkArea(WindowHandle window) = 0;

    // ---- Painting. A device context for the window's paint, or null; the
    // client area's size; the system's metrics; an icon drawn at x, y.
    virtual HANDLE BeginPaint(WindowHandle window) = 0;
    virtual void EndPaint(WindowHandle window, HANDLE dc) = 0;
    virtual void GetClientSize(WindowHandle window, int* width, int* height) = 0;
    virtual int GetSystemMetrics(int index) = 0;
    virtual void DrawIcon(HANDLE dc, int x, int y, HANDLE icon) = 0;

    // ---- System menu.
    virtual bool HasSystemMenu(WindowHandle window) = 0;
    virtual void AppendSystemMenu(WindowHandle window, UINT flags, UINT id, const CString& text) = 0;

    // ---- Message boxes: modal, owned by `owner` (null: none), which takes no
    // input while the box is shown, and centred over it as CWindowPlacement
    // centres a dialog; the button id.
    virtual int MessageBox(WindowHandle owner, const CString& text, const CString& caption, UINT type) = 0;
    // The window in front, which a message box of the program belongs to: the
    // pop-up of `mainWindow` that was active last (the main window itself when
    // it has none), or without a main window the program's active window;
    // null when there is none.
    virtual WindowHandle GetFrontWindow(WindowHandle mainWindow) = 0;

    // ---- Timers: WM_TIMER with the id every `elapse` ms; the id, or 0.
    virtual UINT_PTR SetTimer(WindowHandle window, UINT_PTR id, UINT elapse) = 0;
    virtual void KillTimer(WindowHandle window, UINT_PTR id) = 0;

    // ---- Messages.
    virtual void PostMessage(WindowHandle window, UINT message, WPARAM wParam, LPARAM lParam) = 0;
    // Takes every waiting message, one at a time, translates and dispatches
    // it, until none is waiting. No dialog-keyboard processing. Never waits.
    virtual void PumpWaitingMessages() = 0;
    // Runs the modal loop of `dialog` (with dialog-keyboard processing) until
    // EndModalLoop; returns its result.
    // Keys reach a dialog as Enter and Esc do only here: Enter presses the
    // focused push button or else the default button, Esc presses Cancel.
    virtual int RunModalLoop(WindowHandle dialog) = 0;
    virtual void EndModalLoop(WindowHandle dialog, int result) = 0;

    // ---- Open-file dialog: true with the chosen full path; false if cancelled.
    virtual bool GetOpenFileName(WindowHandle owner, const CString& initialFile, DWORD flags, CString* path) = 0;

    // ---- Wait cursor, counted.
    virtual void BeginWaitCursor() = 0;
    virtual void EndWaitCursor() = 0;

    // ---- Resources of the program.
    virtual CString LoadString(UINT id) = 0;
    virtual HANDLE LoadIcon(UINT id) = 0;

    // ---- Start-up: register the common controls of `classes`.
    virtual void InitCommonControls(DWORD classes) = 0;

    // ---- A closing line the run leaves for whoever started it (a log, a
    // terminal). Only window systems with a text output show it.
    virtual void ShowClosingLine(const CString& text) { (void)text; }
};

// The window system in use: the build's backend unless a test installed another.
CWindowSystem& WindowSystem();
// Installs `system` (not owned); null restores the build's backend.
void SetWindowSystem(CWindowSystem* system);
// The backend compiled into this build; defined once per backend.
CWindowSystem& BuildWindowSystem();
