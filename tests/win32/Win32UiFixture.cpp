// The fixture for the dialogs on the real window system.
#include "Win32UiFixture.h"

#include "WindowProbe.h"
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
    return mainWindow ? static_cast<HWND>(mainWindow->GetSafeHwnd()) : nullptr;
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
