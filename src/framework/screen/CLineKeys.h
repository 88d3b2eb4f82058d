// The keys of direct mode on a terminal: while the line of the progress or
// the status window stands, Esc and Enter act as its "Abbrechen", as the
// dialog takes them in dialog mode, and so does Ctrl-C, which comes as a key
// while the terminal is raw. Every other key, and the sequences that arrow
// and function keys send (Esc followed by more bytes), do nothing.
#pragma once

#include <string>
#include <vector>

#include "framework/state/CWindowView.h"
#include "framework/state/InputRequest.h"

class CLineKeys {
public:
    // What the line shows while its keys are taken.
    static const char kHint[];

    explicit CLineKeys(const CWindowView& windows) : m_windows(windows) {}

    // The requests the bytes that one read from the terminal gave make, for
    // the dialog in front.
    std::vector<InputRequest> HandleBytes(const std::string& bytes) const;
    // Whether `dialog` has a Cancel button that the keys can press now.
    static bool TakesCancel(const CWindowView& windows, const WindowState& dialog);

private:
    const CWindowView& m_windows;
};
