// The Windows window system's plain windows, message boxes, file dialog,
// system menu, wait cursor and resources.
#include <gtest/gtest.h>

#include <string>

#include "Win32UiFixture.h"
#include "WindowProbe.h"
#include "framework/AfxMessageBox.h"
#include "framework/CFileDialog.h"
#include "framework/CMenu.h"
#include "framework/CWindowSystem.h"
#include "framework/win32/CWin32WindowSystem.h"
#include "ui/res/resource.h"

namespace {

// A plain window of the program's own that records its creation and end.
class RecordingWindow : public CWnd {
public:
    bool failCreation = false;
    std::string createdName;
    bool destroyed = false;

protected:
    int OnCreate(AfxCreateStruct* create)
    {
        createdName = create->lpszName != nullptr ? create->lpszName : "";
        return failCreation ? -1 : CWnd::OnCreate(create);
    }
    void OnDestroy()
    {
        destroyed = true;
        CWnd::OnDestroy();
    }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(RecordingWindow, CWnd)
    ON_WM_CREATE()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

using PlainWindowTest = Win32UiFixture;
using MessageBoxTest = Win32UiFixture;
using SystemServicesTest = Win32UiFixture;

TEST_F(PlainWindowTest, HiddenWindowOfTheFrameworksClassHearsItsCreationAndEnd)
{
    RecordingWindow window;
    ASSERT_TRUE(window.CreateEx(0, AfxRegisterWndClass(0), "TreloxMessageWindow", WS_POPUP, 0, 0, 0, 0, nullptr, 0));
    const HWND handle = static_cast<HWND>(window.GetSafeHwnd());

    EXPECT_EQ(window.createdName, "TreloxMessageWindow");
    EXPECT_EQ(::FindWindowA(nullptr, "TreloxMessageWindow"), handle);
    EXPECT_FALSE(::IsWindowVisible(handle));
    EXPECT_EQ(static_cast<DWORD>(::GetWindowLongA(handle, GWL_STYLE)) & (WS_POPUP | WS_VISIBLE | WS_CHILD),
              static_cast<DWORD>(WS_POPUP));
    EXPECT_EQ(::GetClassLongPtrA(handle, GCL_STYLE), 0u);
    EXPECT_EQ(::GetClassLongPtrA(handle, GCLP_HCURSOR), 0u);
    EXPECT_EQ(::GetClassLongPtrA(handle, GCLP_HBRBACKGROUND), 0u);
    EXPECT_EQ(::GetClassLongPtrA(handle, GCLP_HICON), 0u);

    EXPECT_TRUE(window.DestroyWindow());
    EXPECT_TRUE(window.destroyed);
    EXPECT_EQ(window.GetSafeHwnd(), nullptr);
    EXPECT_FALSE(::IsWindow(handle));
}

TEST_F(PlainWindowTest, CreationRefusedByTheMessageMapFails)
{
    RecordingWindow window;
    window.failCreation = true;
    EXPECT_FALSE(window.CreateEx(0, AfxRegisterWndClass(0), "TreloxRefused", WS_POPUP, 0, 0, 0, 0, nullptr, 0));
    EXPECT_EQ(window.GetSafeHwnd(), nullptr);
    EXPECT_EQ(::FindWindowA(nullptr, "TreloxRefused"), nullptr);
}

TEST_F(MessageBoxTest, CaptionIsTheProgramsTitleWithTheDefaultIconsAndTheMainWindowAsOwner)
{
    OpenMainWindow();
    struct Seen {
        std::string text;
        HWND owner = nullptr;
        bool ownerEnabled = true;
        HICON icon = nullptr;
    };
    std::vector<Seen> seen;
    std::vector<int> answers = {IDOK, IDCANCEL, IDNO};
    probe.Start(
        [&] {
            const HWND box = FindOwnMessageBox();
            if (box == nullptr) {
                return false;
            }
            Seen one;
            one.text = WindowProbe::MessageBoxText(box);
            one.owner = ::GetWindow(box, GW_OWNER);
            one.ownerEnabled = ::IsWindowEnabled(MainWindow()) != FALSE;
            // The icon control of a message box carries the system icon it shows.
            for (HWND child = ::GetWindow(box, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
                const HICON icon = reinterpret_cast<HICON>(::SendMessageA(child, STM_GETICON, 0, 0));
                if (icon != nullptr) {
                    one.icon = icon;
                }
            }
            seen.push_back(one);
            WindowProbe::PressButton(box, answers[seen.size() - 1]);
            return seen.size() == answers.size();
        },
        [] {
            const HWND box = FindOwnMessageBox();
            if (box != nullptr) {
                WindowProbe::PressButton(box, IDCANCEL);
            }
        });

    EXPECT_EQ(AfxMessageBox("Erste Meldung"), IDOK);
    EXPECT_EQ(AfxMessageBox(CString("mit\0Null", 8), MB_OKCANCEL), IDCANCEL);
    EXPECT_EQ(AfxMessageBox("Frage?", MB_YESNO), IDNO);
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0].text, "Erste Meldung");
    EXPECT_EQ(seen[1].text, "mit?Null") << "a zero byte is shown, not taken as the end";
    EXPECT_EQ(seen[2].text, "Frage?");
    for (const Seen& one : seen) {
        EXPECT_EQ(one.owner, MainWindow());
        EXPECT_FALSE(one.ownerEnabled);
    }
    const HICON exclamation = ::LoadIconA(nullptr, IDI_EXCLAMATION);
    const HICON question = ::LoadIconA(nullptr, IDI_QUESTION);
    EXPECT_EQ(seen[0].icon, exclamation);
    EXPECT_EQ(seen[1].icon, exclamation);
    EXPECT_EQ(seen[2].icon, question);
    EXPECT_TRUE(::IsWindowEnabled(MainWindow()));
}

TEST_F(MessageBoxTest, FileDialogStartsAtTheGivenFileAndGivesTheChosenPath)
{
    OpenMainWindow();
    std::string initialText;
    bool ownerDisabled = false;
    const std::string chosen = "Z:\\tmp\\trelox-chosen.s19";
    probe.Start(
        [&] {
            for (HWND window : WindowProbe::VisibleTopWindows(::GetCurrentProcessId())) {
                if (window == MainWindow() || ::GetWindow(window, GW_OWNER) != MainWindow()) {
                    continue;
                }
                // The file name box of the Explorer-style dialog.
                const int fileNameBox = 0x47C;
                const HWND nameBox = ::GetDlgItem(window, fileNameBox);
                if (nameBox == nullptr) {
                    continue;
                }
                initialText = WindowProbe::TextOf(nameBox);
                ownerDisabled = !::IsWindowEnabled(MainWindow());
                ::SendMessageA(nameBox, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(chosen.c_str()));
                WindowProbe::PressButton(window, IDOK);
                return true;
            }
            return false;
        },
        [&] {
            for (HWND window : WindowProbe::VisibleTopWindows(::GetCurrentProcessId())) {
                if (::GetWindow(window, GW_OWNER) == MainWindow()) {
                    WindowProbe::PressButton(window, IDCANCEL);
                }
            }
        });

    CFileDialog dialog(TRUE, nullptr, "Z:\\tmp\\trelox-initial.s19");
    EXPECT_EQ(dialog.m_dwFlags, static_cast<DWORD>(OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_EXPLORER));
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_FALSE(probe.TimedOut());
    EXPECT_EQ(initialText, "trelox-initial.s19");
    EXPECT_TRUE(ownerDisabled);
    EXPECT_EQ(std::string(dialog.GetPathName()), chosen);
    EXPECT_TRUE(::IsWindowEnabled(MainWindow()));
}

TEST_F(SystemServicesTest, AboutItemGoesBelowASeparatorOfTheSystemMenu)
{
    OpenMainWindow();
    CMenu* menu = mainWindow->GetSystemMenu(FALSE);
    ASSERT_NE(menu, nullptr);
    const CString text = WindowSystem().LoadString(IDS_ABOUTBOX);
    EXPECT_TRUE(menu->AppendMenu(MF_SEPARATOR));
    EXPECT_TRUE(menu->AppendMenu(MF_STRING, IDM_ABOUTBOX, text));

    const HMENU system = ::GetSystemMenu(MainWindow(), FALSE);
    const int count = ::GetMenuItemCount(system);
    ASSERT_GE(count, 2);
    char item[64] = {};
    ::GetMenuStringA(system, IDM_ABOUTBOX, item, sizeof item, MF_BYCOMMAND);
    EXPECT_STREQ(item, "&Info \xFC" "ber Trelox...");
    EXPECT_EQ(::GetMenuItemID(system, count - 1), static_cast<UINT>(IDM_ABOUTBOX));
    EXPECT_NE(::GetMenuState(system, static_cast<UINT>(count - 2), MF_BYPOSITION) & MF_SEPARATOR, 0u);
}

TEST_F(SystemServicesTest, PaintBegunAndEndedValidatesTheWindowAndSizesAreTheClientAreas)
{
    OpenMainWindow();
    const HWND window = MainWindow();
    ::InvalidateRect(window, nullptr, TRUE);
    ASSERT_TRUE(::GetUpdateRect(window, nullptr, FALSE));

    HANDLE dc = windows.BeginPaint(window);
    ASSERT_NE(dc, nullptr);
    windows.DrawIcon(dc, 0, 0, windows.LoadIcon(IDR_MAINFRAME));
    windows.EndPaint(window, dc);
    EXPECT_FALSE(::GetUpdateRect(window, nullptr, FALSE)) << "the ended paint validated the window";

    int width = 0;
    int height = 0;
    windows.GetClientSize(window, &width, &height);
    RECT client{};
    ::GetClientRect(window, &client);
    EXPECT_GT(width, 0);
    EXPECT_EQ(width, client.right);
    EXPECT_EQ(height, client.bottom);
}

TEST_F(SystemServicesTest, ResourcesComeFromTheExecutable)
{
    EXPECT_EQ(WindowSystem().LoadString(IDS_ABOUTBOX), "&Info \xFC" "ber Trelox...");
    EXPECT_TRUE(WindowSystem().LoadString(4242).IsEmpty());
    const HICON icon = static_cast<HICON>(WindowSystem().LoadIcon(IDR_MAINFRAME));
    ASSERT_NE(icon, nullptr);
    ICONINFO info{};
    ASSERT_TRUE(::GetIconInfo(icon, &info));
    BITMAP bitmap{};
    ::GetObjectA(info.hbmColor, sizeof bitmap, &bitmap);
    EXPECT_EQ(bitmap.bmWidth, ::GetSystemMetrics(SM_CXICON));
    ::DeleteObject(info.hbmColor);
    ::DeleteObject(info.hbmMask);
    EXPECT_EQ(WindowSystem().LoadIcon(4242), nullptr);
}

TEST_F(SystemServicesTest, WaitCursorIsCountedAndRestoredAtTheOutermostEnd)
{
    const HCURSOR wait = ::LoadCursorA(nullptr, IDC_WAIT);
    const HCURSOR arrow = ::LoadCursorA(nullptr, IDC_ARROW);
    windows.BeginWaitCursor();
    windows.BeginWaitCursor();
    EXPECT_EQ(::GetCursor(), wait);
    windows.EndWaitCursor();
    EXPECT_EQ(::GetCursor(), wait) << "an inner end keeps the wait cursor";
    EXPECT_EQ(windows.WaitCursorDepth(), 1);
    windows.EndWaitCursor();
    EXPECT_EQ(::GetCursor(), arrow);
    windows.EndWaitCursor();
    EXPECT_EQ(windows.WaitCursorDepth(), 0) << "an unmatched end does not count below zero";
}

TEST_F(SystemServicesTest, ProgressBarClassIsThereAfterRegisteringTheCommonControls)
{
    EXPECT_TRUE(AfxInitCommonControls(ICC_WIN95_CLASSES));
    WNDCLASSA progressClass{};
    EXPECT_TRUE(::GetClassInfoA(nullptr, "msctls_progress32", &progressClass));
}

}  // namespace
