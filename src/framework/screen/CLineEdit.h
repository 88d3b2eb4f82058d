// One line of text being edited on the terminal: the text, the caret and the
// part a field of a given width shows (the line scrolls sideways so that the
// caret stays in view).
#pragma once

#include "framework/CString.h"

class CLineEdit {
public:
    CLineEdit() = default;
    // The caret starts at the end of the text.
    explicit CLineEdit(const CString& text);

    const CString& Text() const { return m_text; }
    int Caret() const { return m_caret; }
    // A text put in from elsewhere: the caret goes to its end.
    void Reset(const CString& text);

    // Typed characters, Backspace, Delete and the caret keys; false for any
    // other key, which the line leaves to others.
    bool HandleKey(int key);

    // The first byte that a field `width` cells wide shows, moved only as
    // far as needed to keep the caret (which may sit after the last byte)
    // inside the field.
    int FirstShown(int width);

private:
    CString m_text;
    int m_caret = 0;
    int m_firstShown = 0;
};
