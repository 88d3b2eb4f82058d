// Ctrl-C for the terminal backend: SIGINT is caught and written into a pipe
// that the window system's waits watch, so that it is handled between other
// work like any input.
#pragma once

class CSignalPipe {
public:
    CSignalPipe();
    ~CSignalPipe();
    CSignalPipe(const CSignalPipe&) = delete;
    CSignalPipe& operator=(const CSignalPipe&) = delete;

    // Readable while an interrupt waits; -1 when the pipe could not be made.
    int Descriptor() const { return m_readEnd; }
    // The interrupts that came since the last call.
    int TakeInterrupts();

private:
    int m_readEnd = -1;
};
