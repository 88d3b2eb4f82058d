// A window of the program: the handle of the active window system's window,
// its message map dispatch, and the operations the program uses on it.
#pragma once

#include <memory>
#include <vector>

#include "framework/AfxTypes.h"
#include "framework/CCmdTarget.h"
#include "framework/CRect.h"
#include "framework/CString.h"

class CMenu;

// The creation record passed with WM_CREATE, laid out like the system's.
struct AfxCreateStruct {
    void* lpCreateParams;
    HANDLE hInstance;
    HANDLE hMenu;
    WindowHandle hwndParent;
    int cy;
    int cx;
    int y;
    int x;
    std::int32_t style;
    const char* lpszName;
    const char* lpszClass;
    DWORD dwExStyle;
};

class CWnd : public CCmdTarget {
public:
    WindowHandle m_hWnd = nullptr;

    CWnd();
    ~CWnd() override;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    WindowHandle GetSafeHwnd() const { return m_hWnd; }

    // A plain window of the program's own; position and parent as the system
    // takes them. WM_CREATE reaches the message map before this returns.
    BOOL CreateEx(DWORD exStyle, const char* className, const char* windowName, DWORD style, int x, int y,
                  int width, int height, WindowHandle parent, UINT id, void* param = nullptr);
    virtual BOOL DestroyWindow();

    // Controls of a dialog. The returned object is kept by this window (or is
    // the object bound to the control) and valid while this window lives.
    CWnd* GetDlgItem(int id) const;
    void SetDlgItemText(int id, const CString& text);
    int GetDlgItemText(int id, CString& text) const;

    void SetWindowText(const CString& text);
    void GetWindowText(CString& text) const;
    int GetWindowTextLength() const;

    // TRUE when the window was disabled before / visible before.
    BOOL EnableWindow(BOOL enable = TRUE);
    BOOL ShowWindow(int command);
    void UpdateWindow();
    BOOL IsWindowEnabled() const;
    BOOL IsWindowVisible() const;
    BOOL IsIconic() const;
    void SetFocus();
    void GetClientRect(CRect* rect) const;

    UINT_PTR SetTimer(UINT_PTR id, UINT elapse, void* timerProc = nullptr);
    BOOL KillTimer(UINT_PTR id);

    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

    // The window's system menu, or null when it has none.
    CMenu* GetSystemMenu(BOOL revert);
    HANDLE SetIcon(HANDLE icon, BOOL bigIcon);

    void BeginWaitCursor();
    void EndWaitCursor();

    // How the window system hands a message to the window: dispatches it
    // through WindowProc, remembering it for Default().
    LRESULT DeliverMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // Called by the window system once the window is gone.
    virtual void OnWindowGone();

protected:
    // The message map dispatch: a handler of this class or a base class, or
    // else the default processing.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // The default processing of the message being handled now.
    LRESULT Default();

    // Handlers for the ON_WM_... entries; each does the default processing.
    int OnCreate(AfxCreateStruct* createStruct);
    void OnDestroy();
    BOOL OnDeviceChange(UINT eventType, DWORD_PTR data);
    void OnTimer(UINT_PTR id);
    void OnSysCommand(UINT id, LPARAM lParam);
    void OnPaint();
    HANDLE OnQueryDragIcon();
    void OnClose();

    // Set when this object made the window, which then goes with the object.
    bool m_createdHere = false;

    DECLARE_MESSAGE_MAP()
    DECLARE_DYNAMIC(CWnd)

private:
    struct CurrentMessage {
        UINT message = 0;
        WPARAM wParam = 0;
        LPARAM lParam = 0;
    };

    CurrentMessage m_currentMessage;
    mutable std::vector<std::unique_ptr<CWnd>> m_itemWrappers;
    std::unique_ptr<CMenu> m_systemMenu;
};

// Entries of the window messages the program handles.
#define ON_WM_CREATE()                                                                   \
    {WM_CREATE, 0, 0, [](CCmdTarget* target, WPARAM, LPARAM lParam) -> LRESULT {         \
         return static_cast<ThisClass*>(target)->OnCreate(reinterpret_cast<AfxCreateStruct*>(lParam)); \
     }},
#define ON_WM_DESTROY()                                                                  \
    {WM_DESTROY, 0, 0, [](CCmdTarget* target, WPARAM, LPARAM) -> LRESULT {               \
         static_cast<ThisClass*>(target)->OnDestroy();                                   \
         return 0;                                                                       \
     }},
#define ON_WM_DEVICECHANGE()                                                             \
    {WM_DEVICECHANGE, 0, 0, [](CCmdTarget* target, WPARAM wParam, LPARAM lParam) -> LRESULT { \
         return static_cast<ThisClass*>(target)->OnDeviceChange(static_cast<UINT>(wParam),    \
                                                                static_cast<DWORD_PTR>(lParam)); \
     }},
#define ON_WM_TIMER()                                                                    \
    {WM_TIMER, 0, 0, [](CCmdTarget* target, WPARAM wParam, LPARAM) -> LRESULT {          \
         static_cast<ThisClass*>(target)->OnTimer(static_cast<UINT_PTR>(wParam));        \
         return 0;                                                                       \
     }},
#define ON_WM_SYSCOMMAND()                                                               \
    {WM_SYSCOMMAND, 0, 0, [](CCmdTarget* target, WPARAM wParam, LPARAM lParam) -> LRESULT { \
         static_cast<ThisClass*>(target)->OnSysCommand(static_cast<UINT>(wParam), lParam); \
         return 0;                                                                       \
     }},
#define ON_WM_PAINT()                                                                    \
    {WM_PAINT, 0, 0, [](CCmdTarget* target, WPARAM, LPARAM) -> LRESULT {                 \
         static_cast<ThisClass*>(target)->OnPaint();                                     \
         return 0;                                                                       \
     }},
#define ON_WM_QUERYDRAGICON()                                                            \
    {WM_QUERYDRAGICON, 0, 0, [](CCmdTarget* target, WPARAM, LPARAM) -> LRESULT {         \
         return reinterpret_cast<LRESULT>(static_cast<ThisClass*>(target)->OnQueryDragIcon()); \
     }},
#define ON_WM_CLOSE()                                                                    \
    {WM_CLOSE, 0, 0, [](CCmdTarget* target, WPARAM, LPARAM) -> LRESULT {                 \
         static_cast<ThisClass*>(target)->OnClose();                                     \
         return 0;                                                                       \
     }},

// The name of a window class for plain windows of the program's own.
const char* AfxRegisterWndClass(UINT classStyle);
