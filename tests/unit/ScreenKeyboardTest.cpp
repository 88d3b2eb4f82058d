// The full-screen front end on the main dialog, without a terminal: keys
// as the user presses them, and what the painter puts on the screen.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "framework/CWinApp.h"
#include "framework/screen/CCellGrid.h"
#include "framework/screen/CEditViews.h"
#include "framework/screen/CScreenKeyboard.h"
#include "framework/screen/CScreenMessageBox.h"
#include "framework/screen/CScreenPainter.h"
#include "framework/screen/ScreenKey.h"
#include "support/FakePlatform.h"
#include "support/MemoryWindowSystem.h"
#include "ui/CTreloxDlg.h"
#include "ui/DialogTemplates.h"
#include "ui/res/resource.h"

class ScreenKeyboard : public ::testing::Test {
protected:
    using Step = std::function<void(WindowHandle main)>;

    ScreenKeyboard()
    {
        platform.Install();
        RegisterDialogTemplates();
        app.m_pMainWnd = &dialog;
    }

    void Keys(std::initializer_list<int> keys)
    {
        for (const int key : keys) {
            windows.QueueInput([this, key] { windows.CarryOut(keyboard.HandleKey(key)); });
        }
    }

    // Runs the main dialog; each step once the keys before it are taken.
    int Run(std::vector<Step> steps)
    {
        std::size_t next = 0;
        windows.SetIdleHook([&] {
            if (next < steps.size()) {
                steps[next++](windows.FindDialog(IDD_TRELOX_DIALOG));
                return true;
            }
            return false;
        });
        return dialog.DoModal();
    }

    int Focused(WindowHandle main) const { return windows.FocusedControlId(main); }

    // The screen as text, one line per row.
    std::vector<std::string> Screen(int rows, int columns, const ScreenOverlays& overlays = ScreenOverlays())
    {
        CCellGrid grid(rows, columns);
        CScreenPainter(windows.View(), edits, grid).Paint(overlays);
        std::vector<std::string> lines;
        for (int row = 0; row < rows; ++row) {
            lines.push_back(grid.RowText(row));
        }
        return lines;
    }

    static bool Shows(const std::vector<std::string>& screen, const std::string& text)
    {
        for (const std::string& line : screen) {
            if (line.find(text) != std::string::npos) {
                return true;
            }
        }
        return false;
    }

    FakePlatform platform;
    MemoryWindowSystem windows;
    CEditViews edits;
    CScreenKeyboard keyboard{windows.View(), edits};
    CWinApp app;
    CTreloxDlg dialog;
};

TEST_F(ScreenKeyboard, TabGoesInTemplateOrderOverTheVisibleEnabledStopsOnly)
{
    Run({[&](WindowHandle) { Keys({skTab}); },
         [&](WindowHandle main) {
             EXPECT_EQ(IDC_SERIAL_NUMBER, Focused(main));  // from the last stop round to the first
             Keys({skTab});
         },
         [&](WindowHandle main) {
             EXPECT_EQ(IDC_QUERY_SERIAL_NUMBER, Focused(main));  // the hidden "*" is passed over
             Keys({skBackTab, skBackTab});
         },
         [&](WindowHandle main) {
             EXPECT_EQ(IDCANCEL, Focused(main));
             Keys({skBackTab});
         },
         [&](WindowHandle main) {
             EXPECT_EQ(IDC_BROWSE_FLASH_FILE, Focused(main));  // "Flashen" is disabled
             Keys({skEscape});
         }});
}

TEST_F(ScreenKeyboard, TypingEditsTheFocusedFieldWhichReportsEveryChange)
{
    Run({[&](WindowHandle) { Keys({skBackTab, skBackTab, 'a', 0xFC, skLeft, 'b'}); },
         [&](WindowHandle main) {
             EXPECT_EQ(IDC_FLASH_FILE, Focused(main));
             EXPECT_EQ("ab\xFC", windows.Text(main, IDC_FLASH_FILE).Bytes());
             EXPECT_TRUE(windows.IsEnabled(main, IDOK));
             Keys({skHome, skDelete, skDelete, skDelete});
         },
         [&](WindowHandle main) {
             EXPECT_EQ("", windows.Text(main, IDC_FLASH_FILE).Bytes());
             EXPECT_FALSE(windows.IsEnabled(main, IDOK));
             // Leaving the field takes it (and every other field) into the members.
             Keys({'x', skTab});
         },
         [&](WindowHandle main) {
             EXPECT_EQ("x", dialog.m_strFlashFile.Bytes());
             EXPECT_EQ(IDC_BROWSE_FLASH_FILE, Focused(main));
             Keys({skTab, skTab, ' '});  // Space on the close button
         }});
    EXPECT_EQ(nullptr, windows.FindDialog(IDD_TRELOX_DIALOG));
}

TEST_F(ScreenKeyboard, AKeyAfterTheFocusWentActsOnTheFieldThatHadItLast)
{
    Run({[&](WindowHandle) { Keys({skBackTab, skBackTab}); },
         [&](WindowHandle main) {
             EXPECT_EQ(IDC_FLASH_FILE, Focused(main));
             windows.SetFocus(nullptr);  // as when the window that had it went
             Keys({'x'});
         },
         [&](WindowHandle main) {
             EXPECT_EQ(IDC_FLASH_FILE, Focused(main));
             EXPECT_EQ("x", windows.Text(main, IDC_FLASH_FILE).Bytes());
             EXPECT_TRUE(windows.IsEnabled(main, IDOK));
             windows.Click(main, IDCANCEL);
         }});
}

TEST_F(ScreenKeyboard, MenuKeyOpensTheSystemMenuWhoseAboutItemOpensTheAboutBox)
{
    Run({[&](WindowHandle) { Keys({skSystemMenu}); },
         [&](WindowHandle main) {
             ASSERT_NE(nullptr, keyboard.OpenMenu());
             EXPECT_EQ(main, keyboard.OpenMenu()->Window());
             // Keys go to the menu while it is open.
             Keys({skTab, skEscape});
         },
         [&](WindowHandle main) {
             EXPECT_EQ(nullptr, keyboard.OpenMenu());
             EXPECT_EQ(IDCANCEL, Focused(main));
             EXPECT_NE(nullptr, windows.FindDialog(IDD_TRELOX_DIALOG));
             Keys({skSystemMenu, 'i'});
         },
         [&](WindowHandle main) {
             const WindowHandle about = windows.FindDialog(IDD_ABOUTBOX);
             ASSERT_NE(nullptr, about);
             EXPECT_FALSE(windows.IsWindowEnabled(main));
             EXPECT_TRUE(Shows(Screen(30, 80), "Trelox Version 1.1"));
             Keys({skEnter});
         },
         [&](WindowHandle main) {
             EXPECT_EQ(nullptr, windows.FindDialog(IDD_ABOUTBOX));
             EXPECT_EQ(IDCANCEL, Focused(main));  // back where it was
             Keys({skSystemMenu, skEnter});     // the close item, the first one
         }});
    EXPECT_EQ(nullptr, windows.FindDialog(IDD_TRELOX_DIALOG));
}

TEST_F(ScreenKeyboard, PainterShowsTheDialogFromItsTemplateWithTheFocusMarked)
{
    dialog.m_strSerialNumber = "SIM0001";
    Run({[&](WindowHandle main) {
        const std::vector<std::string> screen = Screen(30, 80);
        EXPECT_NE(std::string::npos, screen[0].find(" Trelox "));
        EXPECT_TRUE(Shows(screen, "Seriennummer:"));
        EXPECT_TRUE(Shows(screen, "[SIM0001 "));
        EXPECT_TRUE(Shows(screen, "> Schlie\xC3\x9F" "en <"));
        EXPECT_TRUE(Shows(screen, "[ Flashen  ]"));
        EXPECT_FALSE(Shows(screen, "[*]"));
        EXPECT_NE(std::string::npos, screen[29].find("F10"));

        windows.BeginWaitCursor();
        EXPECT_TRUE(Shows(Screen(30, 80), "Bitte warten"));
        windows.EndWaitCursor();

        CScreenMessageBox box("Trelox", "Timeout beim Lesen", MB_OK | MB_ICONEXCLAMATION);
        ScreenOverlays overlays;
        overlays.messageBox = &box;
        const std::vector<std::string> withBox = Screen(30, 80, overlays);
        EXPECT_TRUE(Shows(withBox, "(!) Timeout beim Lesen"));
        EXPECT_TRUE(Shows(withBox, ">  OK  <"));
        // Under a box nothing of the dialog is marked as focused.
        EXPECT_FALSE(Shows(withBox, "> Schlie\xC3\x9F" "en <"));
        windows.Click(main, IDCANCEL);
    }});
}

TEST_F(ScreenKeyboard, TooSmallATerminalGetsAMessageInsteadOfTheDialog)
{
    Run({[&](WindowHandle main) {
        const std::vector<std::string> screen = Screen(27, 80);
        EXPECT_TRUE(Shows(screen, "Das Terminal ist zu klein f\xC3\xBCr den Dialog."));
        EXPECT_TRUE(Shows(screen, "74 \xC3\x97 28"));
        EXPECT_FALSE(Shows(screen, "Seriennummer:"));
        // Just large enough: the dialog, without the help line.
        EXPECT_TRUE(Shows(Screen(28, 74), "Seriennummer:"));
        windows.Click(main, IDCANCEL);
    }});
}
