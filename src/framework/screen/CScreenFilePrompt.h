// The open-file dialog on the full screen: one line for the path, starting
// with the current file name. Enter takes a path that is not empty; Esc or
// Ctrl-C cancel.
#pragma once

#include "framework/screen/CLineEdit.h"

class CScreenFilePrompt {
public:
    enum class Outcome { Waiting, Chosen, Cancelled };

    explicit CScreenFilePrompt(const CString& initialFile) : m_field(initialFile) {}

    Outcome HandleKey(int key);
    const CString& Path() const { return m_field.Text(); }
    CLineEdit& Field() { return m_field; }

private:
    CLineEdit m_field;
};
