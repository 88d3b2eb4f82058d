// The caret and sideways scroll of each edit control on the terminal, kept
// between keys and paints. A text the program writes into an edit puts the
// caret at its end; the user's own typing keeps it where it is.
#pragma once

#include <map>

#include "framework/AfxTypes.h"
#include "framework/screen/CLineEdit.h"

class CEditViews {
public:
    // The editing state of `edit`, which shows `text` now.
    CLineEdit& For(WindowHandle edit, const CString& text);

private:
    std::map<WindowHandle, CLineEdit> m_views;
};
