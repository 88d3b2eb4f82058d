// A fixture for the dialogs on the real window system: an application
// object titled "Trelox", optionally the main dialog (template 102) as the
// main window, and a probe window that acts from inside modal runs.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "UiProbeWindow.h"
#include "framework/CDialog.h"
#include "framework/CWinApp.h"
#include "framework/win32/CWin32WindowSystem.h"
#include "framework/win32/Win32UserApi.h"

class CFlashInfoDlg;

// What was seen while the status window asked its question.
struct QuestionSeen {
    HWND statusWindow = nullptr;
    HWND boxOwner = nullptr;
    RECT statusPlace{};
    RECT boxPlace{};
    bool statusEnabledWhileAsked = true;
    bool mainEnabledWhileAsked = true;
    bool statusEnabledAfterNo = false;
};

class Win32UiFixture : public ::testing::Test {
protected:
    Win32UiFixture();
    ~Win32UiFixture() override;

    // Creates template 102 modeless and makes it the main window.
    void OpenMainWindow();
    HWND MainWindow() const;

    // Runs the status window, raises its question with Esc, notes who owns
    // the box, where both stand and who is enabled meanwhile, answers No,
    // then ends the window.
    QuestionSeen AskOnceAndEnd(CFlashInfoDlg& status);

    // The system's window of a window of the program.
    static HWND Handle(const CWnd& wnd) { return static_cast<HWND>(wnd.GetSafeHwnd()); }

    // This process's visible message box captioned "Trelox", or null.
    static HWND FindOwnMessageBox();
    // This process's visible dialog titled `title`, or null.
    static HWND FindOwnDialog(const std::string& title);

    // The build's window system, the one the framework uses here.
    CWin32WindowSystem& windows;
    CWinApp app{"Trelox"};
    std::unique_ptr<CDialog> mainWindow;
    UiProbeWindow probe;
};
