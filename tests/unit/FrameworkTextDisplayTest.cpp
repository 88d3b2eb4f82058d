// Text display on a terminal: code page 1252 to UTF-8, the keys that answer
// a message box, and the line renderer of direct mode against a string.
#include <gtest/gtest.h>

#include <sstream>

#include "framework/CDialog.h"
#include "framework/screen/CCodePage1252.h"
#include "framework/screen/CLineRenderer.h"
#include "framework/screen/CMessageBoxAnswers.h"
#include "support/FakePlatform.h"
#include "support/MemoryWindowSystem.h"
#include "ui/DialogTemplates.h"
#include "ui/res/resource.h"

namespace {
TEST(CodePage1252Test, LatinLettersAndTheHighRowBecomeTheirUtf8)
{
    EXPECT_EQ(CCodePage1252::ToUtf8("Schlie\xDF" "en \xFC" "ber l\xE4" "uft"), "Schlie\xC3\x9F" "en \xC3\xBC" "ber l\xC3\xA4" "uft");
    EXPECT_EQ(CCodePage1252::ToUtf8("\x80 \x99 \xA9"), "\xE2\x82\xAC \xE2\x84\xA2 \xC2\xA9");
    EXPECT_EQ(CCodePage1252::ToUtf8("\xFF"), "\xC3\xBF");
}

TEST(CodePage1252Test, ControlsAndUndefinedBytesCannotReachTheTerminal)
{
    const std::string replacement = "\xEF\xBF\xBD";
    EXPECT_EQ(CCodePage1252::ToUtf8(CString("a\0b", 3)), "a" + replacement + "b");
    EXPECT_EQ(CCodePage1252::ToUtf8("\x1b[2J"), replacement + "[2J");
    EXPECT_EQ(CCodePage1252::ToUtf8("\x81\x8D\x8F\x90\x9D\x7F\r"), replacement + replacement + replacement +
                                                                      replacement + replacement + replacement +
                                                                      replacement);
    EXPECT_EQ(CCodePage1252::ToUtf8("Zeile\n\tzwei"), "Zeile\n\tzwei");
}

TEST(StringFormatTest, AZeroByteFormattedIntoTheTextIsKept)
{
    CString text;
    text.Format("%c%s%c", 'a', "", '\0');
    EXPECT_EQ(text.GetLength(), 2);
    EXPECT_EQ(text, CString("a\0", 2));
    text.Format("Zeile %d\n(\"%s\")", 3, "x");
    EXPECT_EQ(text, "Zeile 3\n(\"x\")");
}

TEST(MessageBoxAnswersTest, KeysChooseOnlyButtonsOfTheBox)
{
    EXPECT_EQ(CMessageBoxAnswers::FromKey(MB_OKCANCEL, '\r'), IDOK);
    EXPECT_EQ(CMessageBoxAnswers::FromKey(MB_OKCANCEL, 0x1B), IDCANCEL);
    EXPECT_EQ(CMessageBoxAnswers::FromKey(MB_OKCANCEL, 0x03), IDCANCEL);
    EXPECT_EQ(CMessageBoxAnswers::FromKey(MB_OKCANCEL, 'j'), 0);
    EXPECT_EQ(CMessageBoxAnswers::FromKey(MB_YESNO, 'J'), IDYES);
    EXPECT_EQ(CMessageBoxAnswers::FromKey(MB_YESNO, 'n'), IDNO);
    EXPECT_EQ(CMessageBoxAnswers::FromKey(MB_YESNO, 'a'), 0);
    EXPECT_EQ(CMessageBoxAnswers::FromKey(MB_YESNO, 0x03), IDNO);
    EXPECT_EQ(CMessageBoxAnswers::FromKey(MB_YESNO | MB_ICONEXCLAMATION, '\n'), IDYES);
    EXPECT_EQ(CMessageBoxAnswers::FromKey(MB_OK, 'x'), 0);
    EXPECT_EQ(CMessageBoxAnswers::FromKey(MB_OK, 0x1B), IDOK);
}

TEST(MessageBoxAnswersTest, WithoutATerminalTheAnswerEndsTheWait)
{
    EXPECT_EQ(CMessageBoxAnswers::Unattended(MB_OK | MB_ICONEXCLAMATION), IDOK);
    EXPECT_EQ(CMessageBoxAnswers::Unattended(MB_OKCANCEL | MB_ICONEXCLAMATION), IDCANCEL);
    EXPECT_EQ(CMessageBoxAnswers::Unattended(MB_YESNO | MB_ICONEXCLAMATION), IDYES);
}

class ProgressWindow : public CDialog {
public:
    ProgressWindow() : CDialog(IDD_PROGRESS_DIALOG) {}
    void Show()
    {
        ASSERT_TRUE(Create(IDD_PROGRESS_DIALOG));
        SetDlgItemText(IDC_DESCRIPTION, "Download");
        ShowWindow(SW_SHOW);
    }
    void Percent(int percent)
    {
        CString text;
        text.Format("%d %%", percent);
        SetDlgItemText(IDC_PERCENT, text);
        GetDlgItem(IDC_PROGRESS)->SendMessage(PBM_SETPOS, static_cast<WPARAM>(percent));
    }
};

class LineRendererTest : public ::testing::Test {
protected:
    LineRendererTest() { m_platform.Install(); RegisterDialogTemplates(); }

    void Show(CLineRenderer& renderer) { renderer.ShowDialogs(m_windows.View(), m_windows.VisibleDialogs()); }

    FakePlatform m_platform;
    MemoryWindowSystem m_windows;
    std::ostringstream m_out;
};

TEST_F(LineRendererTest, AProgressLineReadsDescriptionBarAndPercentage)
{
    ProgressWindow progress;
    progress.Show();
    progress.Percent(42);
    const WindowState& dialog = *m_windows.FindWindow(progress.GetSafeHwnd());
    EXPECT_EQ(CLineRenderer::LineOf(m_windows.View(), dialog), "Download  [########            ]  42 %");
}

TEST_F(LineRendererTest, OnATerminalTheLineIsRedrawnInPlaceOnlyWhenItChanges)
{
    CLineRenderer renderer(m_out, true);
    ProgressWindow progress;
    progress.Show();
    Show(renderer);
    Show(renderer);
    progress.Percent(5);
    Show(renderer);
    renderer.DialogGone(m_windows.View(), *m_windows.FindWindow(progress.GetSafeHwnd()));
    EXPECT_EQ(m_out.str(),
              "Download  [                    ]  Prozent\x1b[K"
              "\rDownload  [#                   ]  5 %\x1b[K"
              "\n");
}

TEST_F(LineRendererTest, IntoAFileProgressIsWrittenPerTenthAndAlwaysItsLastState)
{
    CLineRenderer renderer(m_out, false);
    ProgressWindow progress;
    progress.Show();
    for (int percent = 1; percent <= 25; ++percent) {
        progress.Percent(percent);
        Show(renderer);
    }
    progress.Percent(27);
    renderer.DialogGone(m_windows.View(), *m_windows.FindWindow(progress.GetSafeHwnd()));
    EXPECT_EQ(m_out.str(),
              "Download  [                    ]  1 %\n"
              "Download  [##                  ]  10 %\n"
              "Download  [####                ]  20 %\n"
              "Download  [#####               ]  27 %\n");
}

TEST_F(LineRendererTest, IntoAFileTheStatusWindowWritesOneLinePerState)
{
    CLineRenderer renderer(m_out, false);
    CDialog status(IDD_FLASHINFO_DIALOG);
    ASSERT_TRUE(status.Create(IDD_FLASHINFO_DIALOG));
    status.ShowWindow(SW_SHOW);
    status.SetDlgItemText(IDC_STATE_TEXT, "Warten auf Beginn der Programmierung");
    status.SetDlgItemText(IDC_TIME_TEXT, "");
    Show(renderer);
    status.SetDlgItemText(IDC_TIME_TEXT, "00:00");
    Show(renderer);
    status.SetDlgItemText(IDC_TIME_TEXT, "00:01");
    Show(renderer);
    status.SetDlgItemText(IDC_STATE_TEXT, "Programmierung l\xE4uft...");
    Show(renderer);
    EXPECT_EQ(m_out.str(),
              "Warten auf Beginn der Programmierung\n"
              "Programmierung l\xC3\xA4uft...  00:01\n");
}

TEST_F(LineRendererTest, AMessageBoxEndsTheOpenLineAndTheDialogIsShownAgainAfterIt)
{
    CLineRenderer renderer(m_out, true);
    ProgressWindow progress;
    progress.Show();
    progress.Percent(100);
    Show(renderer);
    renderer.ShowMessageBox("Trelox", "Keine Programmierung erfolgt!\nFlash-Datei m\xF6glicherweise unvollst\xE4ndig!",
                            MB_OK | MB_ICONEXCLAMATION, true);
    renderer.ShowAnswer(IDOK);
    Show(renderer);
    EXPECT_EQ(m_out.str(),
              "Download  [####################]  100 %\x1b[K\n"
              "== Trelox ==\n"
              "Keine Programmierung erfolgt!\nFlash-Datei m\xC3\xB6glicherweise unvollst\xC3\xA4ndig!\n"
              "[OK] (Eingabe) > OK\n"
              "Download  [####################]  100 %\x1b[K");
}

TEST_F(LineRendererTest, AQuestionWithoutTerminalShowsItsButtonsAndTheAnswerTaken)
{
    CLineRenderer renderer(m_out, false);
    renderer.ShowMessageBox("Trelox", "Bitte Testsystem-Software schlie\xDF" "en!", MB_OKCANCEL, false);
    renderer.ShowAnswer(IDCANCEL);
    EXPECT_EQ(m_out.str(),
              "== Trelox ==\n"
              "Bitte Testsystem-Software schlie\xC3\x9F" "en!\n"
              "[OK] [Abbrechen] > Abbrechen\n");
}

TEST_F(LineRendererTest, HiddenControlsAndEmptyTextsAreLeftOut)
{
    CDialog status(IDD_FLASHINFO_DIALOG);
    ASSERT_TRUE(status.Create(IDD_FLASHINFO_DIALOG));
    status.SetDlgItemText(IDC_TIME_TEXT, "");
    status.GetDlgItem(IDC_STATE_TEXT)->ShowWindow(SW_HIDE);
    EXPECT_EQ(CLineRenderer::LineOf(m_windows.View(), *m_windows.FindWindow(status.GetSafeHwnd())), "");
}
}  // namespace
