// The fixture for the dialogs on the real window system.
#include "Win32UiFixture.h"

#include "WindowProbe.h"
#include "ui/CFlashInfoDlg.h"
#include "ui/res/resource.h"

Win32UiFixture::Win32UiFixture() : windows(static_cast<CWin32WindowSystem&>(BuildWindowSystem())) {}

Win32UiFixture::~Win32UiFixture()
{
    app.m_pMainWnd = nullptr;
    mainWindow.reset();
}

void Win32UiFixture::OpenMainWindow()
{
    mainWindow = std::make_unique<CDialog>(IDD_TRELOX_DIALOG);
    ASSERT_TRUE(mainWindow->Create(IDD_TRELOX_DIALOG));
    app.m_pMainWnd = mainWindow.get();
}

HWND Win32UiFixture::MainWindow() const
{
    return mainWindow ? Handle(*mainWindow) : nullptr;
}

HWND Win32UiFixture::FindOwnMessageBox()
{
    for (HWND window : WindowProbe::VisibleTopWindows(::GetCurrentProcessId())) {
        if (WindowProbe::IsMessageBox(window, "Trelox")) {
            return window;
        }
    }
    return nullptr;
}

HWND Win32UiFixture::FindOwnDialog(const std::string& title)
{
    for (HWND window : WindowProbe::VisibleTopWindows(::GetCurrentProcessId())) {
        if (WindowProbe::IsDialogTitled(window, title)) {
            return window;
        }
    }
    return nullptr;
}

QuestionSeen Win32UiFixture::AskOnceAndEnd(CFlashInfoDlg& status)
{
    const HWND mainDialog = MainWindow();
    QuestionSeen seen;
    int step = 0;
    probe.Start(
        [&] {
            const HWND window = Handle(status);
            const HWND box = FindOwnMessageBox();
            if (step == 0 && window != nullptr && ::GetFocus() != nullptr) {
                seen.statusWindow = window;
                ::PostMessageA(::GetFocus(), WM_KEYDOWN, VK_ESCAPE, 0x00010001);
                step = 1;
            } else if (step == 1 && box != nullptr) {
                seen.boxOwner = ::GetWindow(box, GW_OWNER);
                ::GetWindowRect(window, &seen.statusPlace);
                ::GetWindowRect(box, &seen.boxPlace);
                seen.statusEnabledWhileAsked = ::IsWindowEnabled(window) != FALSE;
                seen.mainEnabledWhileAsked = mainDialog != nullptr && ::IsWindowEnabled(mainDialog);
                WindowProbe::PressButton(box, IDNO);
                step = 2;
            } else if (step == 2 && box == nullptr) {
                seen.statusEnabledAfterNo = ::IsWindowEnabled(window) != FALSE;
                status.EndDialog(IDOK);
                return true;
            }
            return false;
        },
        [&] { status.EndDialog(-2); });
    EXPECT_EQ(status.DoModal(), IDOK);
    EXPECT_FALSE(probe.TimedOut());
    return seen;
}
