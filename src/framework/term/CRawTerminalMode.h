// The terminal's raw mode while a message box or a line of direct mode waits
// for keys: no echo, no line editing, Ctrl-C as a key. The previous mode
// comes back when the object goes, at exit, and on a signal that ends the
// process at once (SIGHUP, SIGQUIT).
#pragma once

class CRawTerminalMode {
public:
    explicit CRawTerminalMode(int descriptor);
    ~CRawTerminalMode();
    CRawTerminalMode(const CRawTerminalMode&) = delete;
    CRawTerminalMode& operator=(const CRawTerminalMode&) = delete;

    bool IsActive() const { return m_active; }

private:
    int m_descriptor;
    bool m_active = false;
};
