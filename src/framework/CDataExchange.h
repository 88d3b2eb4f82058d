// The data exchange between a dialog's fields and its controls, in the
// direction UpdateData asks for.
#pragma once

#include "framework/AfxTypes.h"
#include "framework/CString.h"

class CDialog;
class CWnd;

class CDataExchange {
public:
    CDataExchange(CDialog* dialog, BOOL saveAndValidate);

    BOOL m_bSaveAndValidate;  // TRUE: controls to fields
    CDialog* m_pDlgWnd;
};

// The text of control `id` and `value`.
void DDX_Text(CDataExchange* pDX, int id, CString& value);
// Ties `control` to control `id` (once; later exchanges keep the tie).
void DDX_Control(CDataExchange* pDX, int id, CWnd& control);
