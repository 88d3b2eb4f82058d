// Direct mode on a terminal (tmux): the progress and status lines take Esc
// and Enter as their "Abbrechen" and say so, and the terminal is given back
// in its ordinary mode whichever way the run ends.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "DevsimDownloadFixture.h"
#include "TmuxTerminal.h"

#ifdef TRELOX_PATH

namespace {
const char kHint[] = "(Esc, Eingabe = Abbrechen)";
const int kShowMs = 5000;

std::string Command(const std::string& arguments)
{
    return TmuxTerminal::ShowingItsEnd(std::string(TRELOX_PATH) + " " + arguments);
}
}  // namespace

class DirectModeKeys : public DevsimDownloadFixture {
protected:
    DirectModeKeys() : m_terminal(m_temp.File("tmux")) {}

    void StartTrelox()
    {
        ASSERT_TRUE(m_terminal.Start(Command(SampleCopy()),
                                     {"TRELOX_USB_BUS=" + m_bus, "TRELOX_LOCK_DIR=" + m_locks, "LANG=C.UTF-8"},
                                     80, 24));
    }

    void ExpectEnd(const std::string& status)
    {
        ASSERT_TRUE(m_terminal.WaitFor("EXIT=" + status, kShowMs)) << m_terminal.Screen();
        EXPECT_TRUE(m_terminal.WaitFor("\nicanon", kShowMs)) << m_terminal.Screen();
    }

    // Waits until `text` stands on the screen `count` times.
    bool WaitForCount(const std::string& text, std::size_t count) const
    {
        for (int tries = 0; tries < kShowMs / 50; ++tries) {
            const std::string screen = m_terminal.Screen();
            std::size_t found = 0;
            for (std::size_t at = screen.find(text); at != std::string::npos; at = screen.find(text, at + 1)) {
                ++found;
            }
            if (found >= count) {
                return true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return false;
    }

    TmuxTerminal m_terminal;
};

TEST_F(DirectModeKeys, EscInTheStatusWindowAsksAndGivesUpWithStatus6)
{
    StartDevice({"--after-report=stay"});
    StartTrelox();
    ASSERT_TRUE(m_terminal.WaitFor(std::string(kWaiting) + "  00:0", kShowMs)) << m_terminal.Screen();
    EXPECT_TRUE(m_terminal.WaitFor(kHint, kShowMs)) << m_terminal.Screen();
    m_terminal.Keys({"Escape"});
    ASSERT_TRUE(m_terminal.WaitFor(kGiveUpQuestion, kShowMs)) << m_terminal.Screen();
    // "Nein" keeps the wait; Enter then asks again.
    m_terminal.Type("n");
    ASSERT_TRUE(m_terminal.WaitFor("> Nein", kShowMs)) << m_terminal.Screen();
    m_terminal.Keys({"Enter"});
    ASSERT_TRUE(WaitForCount(kGiveUpQuestion, 2)) << m_terminal.Screen();
    m_terminal.Type("j");
    ExpectEnd("6");
}

TEST_F(DirectModeKeys, EnterDuringTheDownloadCancelsAfterTheRecordInHand)
{
    StartDevice({"--fault=record=5,stall-read=1500"});
    StartTrelox();
    ASSERT_TRUE(m_devsim.WaitForLine({" record=5 "}, kShowMs));
    ASSERT_TRUE(m_terminal.WaitFor(kHint, kShowMs)) << m_terminal.Screen();
    // Arrow keys are no cancel.
    m_terminal.Keys({"Up", "Left"});
    m_terminal.Keys({"Enter"});
    ASSERT_TRUE(m_terminal.WaitFor("Keine Programmierung erfolgt!", kShowMs)) << m_terminal.Screen();
    m_terminal.Keys({"Enter"});
    ExpectEnd("5");
    EXPECT_EQ(RecordsReceived(), 5u);
}

#endif
