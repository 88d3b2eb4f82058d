// The data exchange between a dialog's fields and its controls.
#include "framework/CDataExchange.h"

#include "framework/CDialog.h"

CDataExchange::CDataExchange(CDialog* dialog, BOOL saveAndValidate)
    : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(dialog)
{
}

void DDX_Text(CDataExchange* pDX, int id, CString& value)
{
    // A template without the control leaves the field as it is.
    if (pDX->m_pDlgWnd->GetDlgItem(id) == nullptr) {
        return;
    }
    if (pDX->m_bSaveAndValidate) {
        pDX->m_pDlgWnd->GetDlgItemText(id, value);
        return;
    }
    // Writing an unchanged text would still report a change of the edit.
    CString current;
    pDX->m_pDlgWnd->GetDlgItemText(id, current);
    if (current != value) {
        pDX->m_pDlgWnd->SetDlgItemText(id, value);
    }
}

void DDX_Control(CDataExchange* pDX, int id, CWnd& control)
{
    pDX->m_pDlgWnd->BindControl(id, control);
}
