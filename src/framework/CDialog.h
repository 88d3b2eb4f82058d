// A dialog from a template: modal (DoModal) or modeless (Create), its data
// exchange between fields and controls, and the usual OK/Cancel endings.
#pragma once

#include <vector>

#include "framework/CWnd.h"

class CDataExchange;

class CDialog : public CWnd {
public:
    explicit CDialog(UINT templateId, CWnd* parent = nullptr);
    ~CDialog() override;

    // Runs the dialog modally and returns what EndDialog was given, or -1
    // when it could not be created. Without a parent the application's main
    // window owns it and is disabled while it runs. Where it opens:
    // CWindowPlacement.
    virtual int DoModal();
    // Creates the dialog modeless, owned by the parent or else the main window.
    BOOL Create(UINT templateId, CWnd* parent = nullptr);
    // Ends the modal run with `result`; a modeless dialog is only hidden.
    void EndDialog(int result);

    // TRUE: controls to fields; FALSE: fields to controls.
    BOOL UpdateData(BOOL saveAndValidate = TRUE);
    virtual BOOL OnInitDialog();

    // Ties `control` to the dialog's control `id` until the window goes.
    void BindControl(int id, CWnd& control);

protected:
    virtual void DoDataExchange(CDataExchange* pDX);
    virtual void OnOK();
    virtual void OnCancel();
    void OnWindowGone() override;

    LRESULT HandleInitDialog(WPARAM wParam, LPARAM lParam);

    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;

    DECLARE_MESSAGE_MAP()
    DECLARE_DYNAMIC(CDialog)

private:
    WindowHandle OwnerWindow() const;
    // Makes the dialog's window owned by `owner` (null: none), kept for the
    // placement after the initialisation; the window, or null.
    WindowHandle CreateWindowOwnedBy(WindowHandle owner);

    std::vector<CWnd*> m_boundControls;
    WindowHandle m_hWndOwner = nullptr;  // the owner it was made with
};
