// A terminal for the program's dialog mode: a private tmux server of its own
// (socket in the test's directory) with one window of a fixed size running a
// shell command. Keys are sent as a user types them, and the screen is read
// back as text.
#pragma once

#include <string>
#include <vector>

class TmuxTerminal {
public:
    // `socketPath` names the private server; nothing runs yet.
    explicit TmuxTerminal(std::string socketPath);
    TmuxTerminal(const TmuxTerminal&) = delete;
    TmuxTerminal& operator=(const TmuxTerminal&) = delete;
    // Ends the server and whatever still runs in it.
    ~TmuxTerminal();

    // `commandLine`, then what shows its end on the screen: "EXIT=N" with
    // its exit status and whether the terminal is canonical again
    // ("icanon" or "-icanon"), then a pause that keeps the window (and its
    // last screen) until the test is done.
    static std::string ShowingItsEnd(const std::string& commandLine);

    // Runs `command` (a shell command line) in a window `columns` x `rows`,
    // with `environment` (NAME=value entries) added.
    bool Start(const std::string& command, const std::vector<std::string>& environment, int columns, int rows);

    // Keys by their tmux names ("Tab", "BTab", "Enter", "Escape", "Space", "F10").
    void Keys(const std::vector<std::string>& keys);
    // Text typed character by character.
    void Type(const std::string& text);

    // The screen now, one line per row.
    std::string Screen() const;
    // Waits up to `timeoutMs` until the screen shows `text`.
    bool WaitFor(const std::string& text, int timeoutMs) const;
    // Waits up to `timeoutMs` until the screen no longer shows `text`.
    bool WaitForGone(const std::string& text, int timeoutMs) const;

private:
    std::string Tmux(const std::string& arguments) const;

    std::string m_socket;
    bool m_started = false;
};
