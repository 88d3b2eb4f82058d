// The main dialog: "Flashen" following the flash-file field, the file dialog,
// the identity queries and which fields they touch, when typed text is taken,
// the about box, and the dialog after a download.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "framework/CWinApp.h"
#include "support/DownloadFixture.h"
#include "ui/CTreloxDlg.h"
#include "ui/res/resource.h"

namespace {
const std::string kCannotOpen = "Flash-Datei kann nicht ge\xF6" "ffnet werden!";
const std::string kReadTimeout = "Timeout beim Lesen";
}  // namespace

class MainDialog : public DownloadFixture {
protected:
    using Step = std::function<void(WindowHandle dialog)>;

    MainDialog()
    {
        dialog.m_pDevice = &device;
        app.m_pMainWnd = &dialog;
    }

    // Runs the dialog modally: each step runs once the dialog has done
    // everything queued before it; after the last, the close button ends it.
    // While the status window is up, the device leaves and comes back.
    int Run(std::vector<Step> steps)
    {
        std::size_t next = 0;
        bool closing = false;
        windows.SetIdleHook([&] {
            if (CycleDeviceUnderStatusWindow()) {
                return true;
            }
            const WindowHandle main = windows.FindDialog(IDD_TRELOX_DIALOG);
            if (next < steps.size()) {
                steps[next++](main);
                return true;
            }
            if (!closing && main != nullptr) {
                closing = true;
                windows.Click(main, IDCANCEL);
                return true;
            }
            return false;
        });
        return dialog.DoModal();
    }

    bool CycleDeviceUnderStatusWindow()
    {
        const WindowHandle status = windows.FindDialog(IDD_FLASHINFO_DIALOG);
        if (status == nullptr) {
            return false;
        }
        const std::string state = windows.Text(status, IDC_STATE_TEXT).Bytes();
        if (state == "Warten auf Beginn der Programmierung") {
            platform.RemoveDevice(kDevicePath);
        } else if (state == "Programmierung l\xE4uft...") {
            platform.ArriveDevice(kDevicePath);
        }
        return true;
    }

    std::string Text(WindowHandle main, int id) const { return windows.Text(main, id).Bytes(); }

    void ExpectFieldsShowTheMembers(WindowHandle main) const
    {
        EXPECT_EQ(Text(main, IDC_FLASH_FILE), dialog.m_strFlashFile.Bytes());
        EXPECT_EQ(Text(main, IDC_SERIAL_NUMBER), dialog.m_strSerialNumber.Bytes());
        EXPECT_EQ(Text(main, IDC_PRODUCT_NAME), dialog.m_strProductName.Bytes());
        EXPECT_EQ(Text(main, IDC_MANUFACTURER), dialog.m_strManufacturer.Bytes());
        EXPECT_EQ(Text(main, IDC_VERSION), dialog.m_strVersion.Bytes());
        EXPECT_EQ(Text(main, IDC_ERROR_INFO), dialog.m_strErrorInfo.Bytes());
    }

    CWinApp app;
    CTreloxDlg dialog;
};

TEST_F(MainDialog, OpensWithTheHandedOverTextsTheFocusOnCloseAndTheSetButtonsHidden)
{
    dialog.m_strFlashFile = "/flash/firmware.s19";
    dialog.m_strSerialNumber = "SN 4711";
    dialog.m_strManufacturer = "Hersteller\xA0GmbH";
    EXPECT_EQ(IDCANCEL, Run({[&](WindowHandle main) {
        ExpectFieldsShowTheMembers(main);
        EXPECT_TRUE(windows.IsEnabled(main, IDOK));
        EXPECT_EQ(IDCANCEL, windows.FocusedControlId(main));
        for (const int setButton : {IDC_SET_SERIAL_NUMBER, IDC_SET_PRODUCT_NAME, IDC_SET_MANUFACTURER}) {
            EXPECT_FALSE(windows.IsVisible(main, setButton));
        }
        EXPECT_EQ("Trelox", windows.FindWindow(main)->text.Bytes());
        EXPECT_NE(nullptr, windows.FindWindow(main)->bigIcon);
        EXPECT_EQ(dialog.m_hIcon, reinterpret_cast<HANDLE>(dialog.SendMessage(WM_QUERYDRAGICON)));
        const std::vector<SystemMenuItem>& menu = windows.SystemMenu(main);
        ASSERT_EQ(2u, menu.size());
        EXPECT_EQ(static_cast<UINT>(MF_SEPARATOR), menu[0].flags);
        EXPECT_EQ(static_cast<UINT>(IDM_ABOUTBOX), menu[1].id);
        EXPECT_EQ("&Info \xFC" "ber Trelox...", menu[1].text.Bytes());
    }}));
}

TEST_F(MainDialog, FlashenFollowsTheFlashFileFieldOnEveryChange)
{
    Run({[&](WindowHandle main) {
             EXPECT_FALSE(windows.IsEnabled(main, IDOK));
             windows.Type(main, IDC_FLASH_FILE, "a");
         },
         [&](WindowHandle main) {
             EXPECT_TRUE(windows.IsEnabled(main, IDOK));
             windows.Type(main, IDC_FLASH_FILE, "");
         },
         [&](WindowHandle main) {
             EXPECT_FALSE(windows.IsEnabled(main, IDOK));
             // Typing alone takes nothing into the member.
             EXPECT_TRUE(dialog.m_strFlashFile.IsEmpty());
             // Enter with "Flashen" disabled starts nothing.
             windows.PressEnter(main);
         }});
    EXPECT_TRUE(Sent().empty());
    EXPECT_TRUE(BoxTexts().empty());
}

TEST_F(MainDialog, FileChosenWithBrowseReplacesTheFieldAndEnablesFlashen)
{
    dialog.m_strFlashFile = "/old/image.s19";
    windows.AnswerFileDialog("/new/image.s19");
    Run({[&](WindowHandle main) {
             windows.Type(main, IDC_FLASH_FILE, "");
             windows.Click(main, IDC_BROWSE_FLASH_FILE);
         },
         [&](WindowHandle main) {
             EXPECT_EQ("/new/image.s19", Text(main, IDC_FLASH_FILE));
             EXPECT_EQ("/new/image.s19", dialog.m_strFlashFile.Bytes());
             EXPECT_TRUE(windows.IsEnabled(main, IDOK));
             // The dialog starts from the path taken last, owned by the main dialog.
             ASSERT_EQ(1u, windows.FileDialogs().size());
             EXPECT_EQ("/old/image.s19", windows.FileDialogs()[0].initialFile.Bytes());
             EXPECT_EQ(main, windows.FileDialogs()[0].owner);
         }});
}

TEST_F(MainDialog, CancelledFileDialogChangesNothing)
{
    dialog.m_strFlashFile = "/taken/image.s19";
    dialog.m_strSerialNumber = "SN";
    windows.CancelFileDialog();
    Run({[&](WindowHandle main) {
             windows.Type(main, IDC_SERIAL_NUMBER, "typed serial");
             windows.Type(main, IDC_FLASH_FILE, "/typed/not/taken.s19");
             windows.Click(main, IDC_BROWSE_FLASH_FILE);
         },
         [&](WindowHandle main) {
             EXPECT_EQ("/typed/not/taken.s19", Text(main, IDC_FLASH_FILE));
             EXPECT_EQ("typed serial", Text(main, IDC_SERIAL_NUMBER));
             EXPECT_EQ("/taken/image.s19", dialog.m_strFlashFile.Bytes());
             EXPECT_EQ("SN", dialog.m_strSerialNumber.Bytes());
         }});
    EXPECT_EQ(1u, windows.FileDialogs().size());
}

TEST_F(MainDialog, EachQueryFillsItsOwnFieldAndAFailedOneEmptiesOnlyThat)
{
    dialog.m_strSerialNumber = "old serial";
    dialog.m_strProductName = "old product";
    dialog.m_strVersion = "old version";
    ScriptReplies({"DEVICE-42", "", "Hersteller", "V2.0\r", "E0"});
    platform.ScriptRead(kDevicePath, FakeTransfer::Never());
    Run({[&](WindowHandle main) {
             for (const int query : {IDC_QUERY_SERIAL_NUMBER, IDC_QUERY_PRODUCT_NAME, IDC_QUERY_MANUFACTURER,
                                     IDC_QUERY_VERSION, IDC_QUERY_ERROR_INFO}) {
                 windows.Click(main, query);
             }
         },
         [&](WindowHandle main) {
             EXPECT_EQ("DEVICE-42", dialog.m_strSerialNumber.Bytes());
             EXPECT_EQ("", dialog.m_strProductName.Bytes());  // no bytes from the device
             EXPECT_EQ("Hersteller", dialog.m_strManufacturer.Bytes());
             EXPECT_EQ("V2.0\r", dialog.m_strVersion.Bytes());
             EXPECT_EQ("E0", dialog.m_strErrorInfo.Bytes());
             ExpectFieldsShowTheMembers(main);
             // A query the device does not answer in time: its field only.
             windows.Click(main, IDC_QUERY_VERSION);
         },
         [&](WindowHandle main) {
             EXPECT_EQ("", Text(main, IDC_VERSION));
             EXPECT_EQ("DEVICE-42", Text(main, IDC_SERIAL_NUMBER));
             EXPECT_EQ("Hersteller", Text(main, IDC_MANUFACTURER));
             EXPECT_EQ("E0", Text(main, IDC_ERROR_INFO));
         }});
    EXPECT_EQ((std::vector<std::string>{"?S", "?P", "?M", "?V", "?E", "?V"}), Sent());
    EXPECT_EQ((std::vector<std::string>{kReadTimeout}), BoxTexts());
    EXPECT_EQ(6, windows.WaitCursorBegins());
    EXPECT_EQ(0, windows.WaitCursorDepth());
}

TEST_F(MainDialog, TypedIdentityTextIsTakenOnlyWhenTheFlashFileFieldLosesTheFocus)
{
    dialog.m_strSerialNumber = "member serial";
    dialog.m_strManufacturer = "member maker";
    ScriptReplies({"PRODUCT"});
    Run({[&](WindowHandle main) {
             windows.Type(main, IDC_SERIAL_NUMBER, "typed serial");
             windows.MoveFocus(main, IDCANCEL);
         },
         [&](WindowHandle main) {
             // Leaving the identity field takes nothing.
             EXPECT_EQ("member serial", dialog.m_strSerialNumber.Bytes());
             // A "?" click first writes the members back over the typed text.
             windows.Click(main, IDC_QUERY_PRODUCT_NAME);
         },
         [&](WindowHandle main) {
             EXPECT_EQ("member serial", Text(main, IDC_SERIAL_NUMBER));
             EXPECT_EQ("PRODUCT", Text(main, IDC_PRODUCT_NAME));
             windows.Type(main, IDC_MANUFACTURER, "typed maker");
             windows.MoveFocus(main, IDC_FLASH_FILE);
             windows.MoveFocus(main, IDCANCEL);
         },
         [&](WindowHandle main) {
             // The flash-file field lost the focus: every field is taken.
             EXPECT_EQ("typed maker", dialog.m_strManufacturer.Bytes());
             EXPECT_EQ("typed maker", Text(main, IDC_MANUFACTURER));
         }});
}

TEST_F(MainDialog, AboutItemOfTheSystemMenuOpensTheAboutBox)
{
    bool aboutSeen = false;
    Run({[&](WindowHandle main) { windows.ChooseSystemCommand(main, IDM_ABOUTBOX); },
         [&](WindowHandle main) {
             const WindowHandle about = windows.FindDialog(IDD_ABOUTBOX);
             ASSERT_NE(nullptr, about);
             aboutSeen = true;
             EXPECT_EQ("Info \xFC" "ber Trelox", windows.FindWindow(about)->text.Bytes());
             EXPECT_EQ(main, windows.FindWindow(about)->owner);
             EXPECT_FALSE(windows.IsWindowEnabled(main));
             windows.Click(about, IDOK);
         },
         [&](WindowHandle main) {
             EXPECT_EQ(nullptr, windows.FindDialog(IDD_ABOUTBOX));
             EXPECT_TRUE(windows.IsWindowEnabled(main));
             // The low four bits of a system command are the system's own.
             windows.ChooseSystemCommand(main, IDM_ABOUTBOX | 0x3);
         },
         [&](WindowHandle) { windows.PressEscape(windows.FindDialog(IDD_ABOUTBOX)); },
         [&](WindowHandle) { EXPECT_EQ(nullptr, windows.FindDialog(IDD_ABOUTBOX)); }});
    EXPECT_TRUE(aboutSeen);
}

TEST_F(MainDialog, CloseBoxAndEscapeEndTheDialogAsCancel)
{
    EXPECT_EQ(IDCANCEL, Run({[&](WindowHandle main) { windows.CloseBox(main); }}));
    CTreloxDlg second;
    second.m_pDevice = &device;
    app.m_pMainWnd = &second;
    windows.SetIdleHook([&] {
        windows.PressEscape(windows.FindDialog(IDD_TRELOX_DIALOG));
        return true;
    });
    EXPECT_EQ(IDCANCEL, second.DoModal());
}

TEST_F(MainDialog, AfterAFailedDownloadTheDialogIsOpenAndEnabledWithItsFieldsUnchanged)
{
    dialog.m_strFlashFile = "/missing.s19";
    dialog.m_strSerialNumber = "SN";
    dialog.m_strVersion = "1.0";
    Run({[&](WindowHandle main) { windows.Click(main, IDOK); },
         [&](WindowHandle main) {
             EXPECT_TRUE(windows.IsWindowEnabled(main));
             EXPECT_TRUE(windows.IsEnabled(main, IDOK));
             EXPECT_EQ("/missing.s19", dialog.m_strFlashFile.Bytes());
             EXPECT_EQ("SN", dialog.m_strSerialNumber.Bytes());
             ExpectFieldsShowTheMembers(main);
         }});
    EXPECT_EQ((std::vector<std::string>{kCannotOpen}), BoxTexts());
}

TEST_F(MainDialog, AfterAProgrammedDownloadTheDialogIsOpenAndEnabledWithItsFieldsUnchanged)
{
    WriteFlashFile("S1 first\r\nS9 last\r\n");
    ScriptReplies({kAccepted, kProgrammed});
    dialog.m_strFlashFile = kFlashFile;
    dialog.m_strProductName = "P";
    bool progressSeen = false;
    platform.onWrite = [&](const std::string&) {
        const WindowHandle progress = windows.FindDialog(IDD_PROGRESS_DIALOG);
        progressSeen = progressSeen || progress != nullptr;
        // The main dialog takes no input while the progress window is up.
        if (progress != nullptr) {
            EXPECT_FALSE(windows.IsWindowEnabled(windows.FindDialog(IDD_TRELOX_DIALOG)));
        }
    };
    Run({[&](WindowHandle main) { windows.Click(main, IDOK); },
         [&](WindowHandle main) {
             EXPECT_EQ(nullptr, windows.FindDialog(IDD_PROGRESS_DIALOG));
             EXPECT_EQ(nullptr, windows.FindDialog(IDD_FLASHINFO_DIALOG));
             EXPECT_TRUE(windows.IsWindowEnabled(main));
             EXPECT_TRUE(windows.IsEnabled(main, IDOK));
             EXPECT_EQ(kFlashFile, dialog.m_strFlashFile.Bytes());
             EXPECT_EQ("P", dialog.m_strProductName.Bytes());
             ExpectFieldsShowTheMembers(main);
         }});
    EXPECT_TRUE(progressSeen);
    EXPECT_EQ((std::vector<std::string>{"S1 first", "S9 last"}), Sent());
    EXPECT_TRUE(BoxTexts().empty());
}

TEST_F(MainDialog, EnterInTheFlashFileFieldProgramsThePathTheFieldShows)
{
    WriteFlashFile("S1 only\n");
    ScriptReplies({kAccepted});
    dialog.m_strFlashFile = "/taken/earlier.s19";
    Run({[&](WindowHandle main) {
             windows.Type(main, IDC_FLASH_FILE, kFlashFile);
             windows.PressEnter(main);
         },
         [&](WindowHandle main) { EXPECT_EQ(IDC_FLASH_FILE, windows.FocusedControlId(main)); }});
    // Not the path taken earlier, which does not exist.
    EXPECT_EQ((std::vector<std::string>{"S1 only"}), Sent());
    ASSERT_EQ(1u, BoxTexts().size());
    EXPECT_NE(kCannotOpen, BoxTexts()[0]);
}

TEST_F(MainDialog, WithoutADeviceObjectQueriesAndFlashenDoNothing)
{
    dialog.m_pDevice = nullptr;
    dialog.m_strFlashFile = kFlashFile;
    WriteFlashFile("S1 only\n");
    Run({[&](WindowHandle main) {
        windows.Click(main, IDC_QUERY_SERIAL_NUMBER);
        windows.Click(main, IDOK);
    }});
    EXPECT_TRUE(Sent().empty());
    EXPECT_TRUE(BoxTexts().empty());
    EXPECT_EQ(0, windows.WaitCursorBegins());
}

TEST_F(MainDialog, MinimisedItDrawsItsIconInTheMiddleOfTheClientArea)
{
    Run({[&](WindowHandle main) {
        dialog.SendMessage(WM_PAINT);
        EXPECT_TRUE(windows.IconDraws().empty());
        dialog.ShowWindow(SW_MINIMIZE);
        dialog.SendMessage(WM_PAINT);
        ASSERT_EQ(1u, windows.IconDraws().size());
        CRect client;
        dialog.GetClientRect(&client);
        EXPECT_EQ((client.Width() - 32 + 1) / 2, windows.IconDraws()[0].x);
        EXPECT_EQ((client.Height() - 32 + 1) / 2, windows.IconDraws()[0].y);
        EXPECT_EQ(dialog.m_hIcon, windows.IconDraws()[0].icon);
        EXPECT_EQ(main, windows.IconDraws()[0].window);
        dialog.ShowWindow(SW_RESTORE);
    }});
}
