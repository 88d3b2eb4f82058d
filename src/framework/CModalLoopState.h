// Where a dialog's modal loop stands, kept by both window systems alike (the
// portable one in its window state, the Windows one beside each real
// window), so that the rules of its end are written once: the first
// EndModalLoop counts and later ones are ignored; a dialog ended before its
// loop runs is not shown by it, and the loop returns at once with that
// result; a dialog no loop runs (a modeless one) only hides when ended.
#pragma once

class CModalLoopState {
public:
    // What EndModalLoop does.
    enum class Ending {
        AlreadyEnded,  // nothing: the first end counts
        EndsLoop,      // the running loop returns the result
        HidesDialog,   // no loop runs: the dialog only hides
    };

    // Its loop starts: true when the loop is to show the dialog (it was not
    // ended before).
    bool Start();
    // Its loop has returned.
    void Stop() { m_running = false; }
    // Ends it with `result`.
    Ending End(int result);

    bool Ended() const { return m_ended; }
    int Result() const { return m_result; }

private:
    bool m_running = false;
    bool m_ended = false;
    int m_result = 0;
};
