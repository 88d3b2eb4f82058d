// Dialog mode end to end: the real trelox in an 80 x 30 terminal (tmux)
// against trelox-devsim, worked with the keys a technician presses.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DevsimFixture.h"
#include "TmuxTerminal.h"

#ifdef TRELOX_PATH

namespace {
// Texts as the terminal shows them, in UTF-8.
const char kClose[] = "Schlie\xC3\x9F" "en";
const char kStatusCaption[] = "Flash-Programmierung";
const int kShowMs = 5000;
const int kDownloadMs = 20000;

std::string Command(const std::string& arguments)
{
    return TmuxTerminal::ShowingItsEnd(std::string(TRELOX_PATH) + " " + arguments);
}
}  // namespace

class DialogMode : public DevsimFixture {
protected:
    DialogMode() : m_locks(m_temp.MakeSubdirectory("locks")), m_terminal(m_temp.File("tmux")) {}

    void StartTrelox(const std::string& arguments)
    {
        StartDevsim({"--leave-delay=50", "--program-time=300"});
        ASSERT_TRUE(m_terminal.Start(Command(arguments),
                                     {"TRELOX_USB_BUS=" + m_bus, "TRELOX_LOCK_DIR=" + m_locks, "LANG=C.UTF-8"},
                                     80, 30));
        ASSERT_TRUE(m_terminal.WaitFor("Seriennummer:", kShowMs)) << m_terminal.Screen();
    }

    // Ends the run with the close button (focused with Tab) and expects status 0
    // and the terminal given back in its ordinary mode.
    void CloseWithSchliessen()
    {
        for (int tabs = 0; tabs < 24 && !m_terminal.WaitFor(std::string("> ") + kClose + " <", 200); ++tabs) {
            m_terminal.Keys({"Tab"});
        }
        m_terminal.Keys({"Enter"});
        ASSERT_TRUE(m_terminal.WaitFor("EXIT=0", kShowMs)) << m_terminal.Screen();
        EXPECT_TRUE(m_terminal.WaitFor("\nicanon", kShowMs)) << m_terminal.Screen();
        EXPECT_EQ(std::string::npos, m_terminal.Screen().find("Seriennummer:"));
    }

    std::string m_locks;
    TmuxTerminal m_terminal;
};

TEST_F(DialogMode, ReadsAllFiveItemsProgramsATypedPathAndClosesWithSchliessen)
{
    StartTrelox("");
    EXPECT_TRUE(m_terminal.WaitFor(std::string("> ") + kClose + " <", kShowMs));  // the focus starts there
    // Each item: Tab to its field, Tab to its "?", Space.
    const std::vector<std::string> answers = {"[SIM0001 ", "[DEVSIM-1 ", "[Trelox devsim ", "[1.00 ", "[0 "};
    for (const std::string& answer : answers) {
        m_terminal.Keys({"Tab", "Tab", "Space"});
        EXPECT_TRUE(m_terminal.WaitFor(answer, kShowMs)) << answer << "\n" << m_terminal.Screen();
    }
    EXPECT_EQ(1u, m_devsim.LinesWith({"query=S"}).size());
    EXPECT_EQ(1u, m_devsim.LinesWith({"query=E"}).size());

    m_terminal.Keys({"Tab"});  // the flash-file field
    m_terminal.Type(TRELOX_SAMPLE_FLASH);
    ASSERT_TRUE(m_terminal.WaitFor(std::string(">") + TRELOX_SAMPLE_FLASH, kShowMs)) << m_terminal.Screen();
    m_terminal.Keys({"Enter"});
    ASSERT_TRUE(m_terminal.WaitFor(kStatusCaption, kDownloadMs)) << m_terminal.Screen();
    ASSERT_TRUE(m_terminal.WaitForGone(kStatusCaption, kDownloadMs)) << m_terminal.Screen();
    EXPECT_FALSE(m_devsim.LinesWith({"programming-report"}).empty()) << m_devsim.Log();
    // Back in the dialog, its fields as they were.
    EXPECT_TRUE(m_terminal.WaitFor("[DEVSIM-1 ", kShowMs)) << m_terminal.Screen();
    CloseWithSchliessen();
}

TEST_F(DialogMode, SwitchIWithAFileOpensWithTheFileEnteredAndProgramsNothing)
{
    StartTrelox(std::string("/I ") + TRELOX_SAMPLE_FLASH);
    EXPECT_TRUE(m_terminal.WaitFor(std::string("[") + TRELOX_SAMPLE_FLASH, kShowMs)) << m_terminal.Screen();
    EXPECT_TRUE(m_terminal.WaitFor("[ Flashen  ]", kShowMs));
    CloseWithSchliessen();
    EXPECT_TRUE(m_devsim.LinesWith({"record="}).empty()) << m_devsim.Log();
}

TEST_F(DialogMode, TheAboutBoxOpensFromTheSystemMenuOverTheDialog)
{
    StartTrelox("");
    m_terminal.Keys({"F10"});
    ASSERT_TRUE(m_terminal.WaitFor("Info \xC3\xBC" "ber Trelox...", kShowMs)) << m_terminal.Screen();
    m_terminal.Keys({"i"});
    ASSERT_TRUE(m_terminal.WaitFor("Trelox Version 1.1", kShowMs)) << m_terminal.Screen();
    EXPECT_TRUE(m_terminal.WaitFor("Seriennummer:", kShowMs));  // the main dialog below it
    m_terminal.Keys({"Escape"});
    ASSERT_TRUE(m_terminal.WaitForGone("Trelox Version 1.1", kShowMs)) << m_terminal.Screen();
    CloseWithSchliessen();
}

TEST_F(DialogMode, AFailedQueryShowsItsMessageOverTheDialogAndEmptiesTheField)
{
    StartTrelox("/I /S Vorgabe");
    EXPECT_TRUE(m_terminal.WaitFor("[Vorgabe ", kShowMs)) << m_terminal.Screen();
    m_devsim.Stop();  // the device is gone: the write fails
    m_terminal.Keys({"Tab", "Tab", "Space"});
    ASSERT_TRUE(m_terminal.WaitFor("beim Schreiben", kShowMs)) << m_terminal.Screen();
    EXPECT_TRUE(m_terminal.WaitFor(">  OK  <", kShowMs));
    m_terminal.Keys({"Enter"});
    ASSERT_TRUE(m_terminal.WaitForGone("beim Schreiben", kShowMs)) << m_terminal.Screen();
    EXPECT_TRUE(m_terminal.WaitForGone("[Vorgabe", kShowMs)) << m_terminal.Screen();
    CloseWithSchliessen();
}

TEST_F(DialogMode, ATooSmallTerminalGetsAMessageAndCtrlCStillEndsTheRun)
{
    StartDevsim({});
    ASSERT_TRUE(m_terminal.Start(Command(""),
                                 {"TRELOX_USB_BUS=" + m_bus, "TRELOX_LOCK_DIR=" + m_locks, "LANG=C.UTF-8"}, 60, 20));
    ASSERT_TRUE(m_terminal.WaitFor("Das Terminal ist zu klein", kShowMs)) << m_terminal.Screen();
    m_terminal.Keys({"C-c"});
    ASSERT_TRUE(m_terminal.WaitFor("EXIT=0", kShowMs)) << m_terminal.Screen();
    EXPECT_TRUE(m_terminal.WaitFor("\nicanon", kShowMs)) << m_terminal.Screen();
}

TEST_F(DialogMode, ATerminalThatCannotPlaceTheCursorIsToldAsOneWithoutTermAndTheRunEndsWithEight)
{
    StartDevsim({});
    // An editor's shell buffer sets TERM=dumb; a service without one has none.
    for (const std::string setting : {"TERM=dumb", "-u TERM"}) {
        TmuxTerminal terminal(m_temp.File("tmux-" + std::to_string(setting.size())));
        ASSERT_TRUE(terminal.Start("env " + setting + " " + Command(""),
                                   {"TRELOX_USB_BUS=" + m_bus, "TRELOX_LOCK_DIR=" + m_locks, "LANG=C.UTF-8"}, 80,
                                   30));
        EXPECT_TRUE(terminal.WaitFor("Der Dialog braucht ein Terminal als Ein- und Ausgabe.", kShowMs))
            << setting << "\n" << terminal.Screen();
        EXPECT_TRUE(terminal.WaitFor("EXIT=8", kShowMs)) << setting << "\n" << terminal.Screen();
        EXPECT_EQ(std::string::npos, terminal.Screen().find("Seriennummer:")) << setting;
    }
}

TEST_F(DialogMode, TheTerminalIsGivenBackWhenTheProgramIsKilled)
{
    for (const char* signalName : {"TERM", "SEGV"}) {
        TmuxTerminal terminal(m_temp.File(std::string("tmux-") + signalName));
        if (!m_devsim.Running()) {
            StartDevsim({});
        }
        // The inner shell becomes the program, so that its process id is known.
        const std::string pidFile = m_temp.File(std::string("pid-") + signalName);
        const std::string command = "sh -c 'echo $$ > " + pidFile + "; exec " + std::string(TRELOX_PATH) +
                                    "'; echo \"EXIT=$?\"; stty -a | tr ' ' '\\n' | grep -x -e icanon -e -icanon; "
                                    "sleep 600";
        ASSERT_TRUE(terminal.Start(command, {"TRELOX_USB_BUS=" + m_bus, "TRELOX_LOCK_DIR=" + m_locks,
                                             "LANG=C.UTF-8"},
                                   80, 30));
        ASSERT_TRUE(terminal.WaitFor("Seriennummer:", kShowMs)) << terminal.Screen();
        ASSERT_EQ(0, std::system(("kill -" + std::string(signalName) + " $(cat " + pidFile + ")").c_str()));
        ASSERT_TRUE(terminal.WaitFor("EXIT=", kShowMs)) << terminal.Screen();
        EXPECT_TRUE(terminal.WaitFor("\nicanon", kShowMs)) << signalName << "\n" << terminal.Screen();
        EXPECT_EQ(std::string::npos, terminal.Screen().find("Seriennummer:")) << signalName;
    }
}

#endif
