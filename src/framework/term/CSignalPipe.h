// Ctrl-C and SIGTERM for the terminal backend: both are caught and written
// into a pipe that the window system's waits watch, so that they are handled
// between other work like any input, as "Abbrechen" of the window in front.
// A SIGTERM also says that nobody answers at the keys any more.
#pragma once

class CSignalPipe {
public:
    CSignalPipe();
    ~CSignalPipe();
    CSignalPipe(const CSignalPipe&) = delete;
    CSignalPipe& operator=(const CSignalPipe&) = delete;

    // Readable while an interrupt waits; -1 when the pipe could not be made.
    int Descriptor() const { return m_readEnd; }
    // The interrupts (SIGINT or SIGTERM) that came since the last call.
    int TakeInterrupts();
    // Whether a SIGTERM has come: from then on the run ends as one without
    // anyone at the keys. Interrupts it finds waiting stay to be taken.
    bool Terminated();

private:
    // Counts what the pipe holds and empties it.
    void Collect();

    int m_readEnd = -1;
    int m_pending = 0;
    bool m_terminated = false;
};
