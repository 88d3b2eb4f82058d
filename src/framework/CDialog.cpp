// A dialog from a template.
#include "framework/CDialog.h"

#include "framework/CDataExchange.h"
#include "framework/CWinApp.h"
#include "framework/CWindowPlacement.h"
#include "framework/CWindowSystem.h"

IMPLEMENT_DYNAMIC(CDialog, CWnd)

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_MESSAGE(WM_INITDIALOG, &CDialog::HandleInitDialog)
    ON_COMMAND(IDOK, &CDialog::OnOK)
    ON_COMMAND(IDCANCEL, &CDialog::OnCancel)
END_MESSAGE_MAP()

namespace {
// Disables a window for as long as it lives, if it was enabled.
class OwnerDisabled {
public:
    explicit OwnerDisabled(WindowHandle owner)
        : m_owner(owner), m_disabled(owner != nullptr && WindowSystem().IsWindowEnabled(owner))
    {
        if (m_disabled) {
            WindowSystem().EnableWindow(m_owner, false);
        }
    }
    ~OwnerDisabled()
    {
        if (m_disabled && WindowSystem().IsWindow(m_owner)) {
            WindowSystem().EnableWindow(m_owner, true);
        }
    }
    OwnerDisabled(const OwnerDisabled&) = delete;
    OwnerDisabled& operator=(const OwnerDisabled&) = delete;

private:
    WindowHandle m_owner;
    bool m_disabled;
};
}  // namespace

CDialog::CDialog(UINT templateId, CWnd* parent) : m_nIDTemplate(templateId), m_pParentWnd(parent) {}

CDialog::~CDialog()
{
    // The derived dialog's members, bound controls among them, are gone.
    m_boundControls.clear();
    if (m_hWnd != nullptr && WindowSystem().IsWindow(m_hWnd)) {
        WindowSystem().DestroyWindow(m_hWnd);
    }
}

WindowHandle CDialog::OwnerWindow() const
{
    const CWnd* owner = m_pParentWnd != nullptr ? m_pParentWnd : AfxGetMainWnd();
    if (owner == nullptr || owner == this) {
        return nullptr;
    }
    return owner->GetSafeHwnd();
}

int CDialog::DoModal()
{
    const WindowHandle owner = OwnerWindow();
    int result = -1;
    {
        OwnerDisabled disabled(owner);
        if (CreateWindowOwnedBy(owner) != nullptr) {
            result = WindowSystem().RunModalLoop(m_hWnd);
        }
    }
    // The owner takes input again before the dialog hides, as the system's
    // own dialogs end: hiding the active window then activates the owner,
    // which a disabled owner could not be.
    if (m_hWnd != nullptr) {
        WindowSystem().ShowWindow(m_hWnd, SW_HIDE);
    }
    DestroyWindow();
    return result;
}

BOOL CDialog::Create(UINT templateId, CWnd* parent)
{
    m_nIDTemplate = templateId;
    if (parent != nullptr) {
        m_pParentWnd = parent;
    }
    return CreateWindowOwnedBy(OwnerWindow()) != nullptr ? TRUE : FALSE;
}

WindowHandle CDialog::CreateWindowOwnedBy(WindowHandle owner)
{
    m_createdHere = true;
    m_hWndOwner = owner;
    return WindowSystem().CreateDialogWindow(*this, m_nIDTemplate, owner);
}

void CDialog::EndDialog(int result)
{
    if (m_hWnd != nullptr) {
        WindowSystem().EndModalLoop(m_hWnd, result);
    }
}

BOOL CDialog::UpdateData(BOOL saveAndValidate)
{
    CDataExchange exchange(this, saveAndValidate);
    DoDataExchange(&exchange);
    return TRUE;
}

void CDialog::BindControl(int id, CWnd& control)
{
    if (control.m_hWnd != nullptr) {
        return;
    }
    const WindowHandle item = WindowSystem().GetDlgItem(m_hWnd, id);
    if (item == nullptr) {
        return;
    }
    control.m_hWnd = item;
    m_boundControls.push_back(&control);
}

void CDialog::OnWindowGone()
{
    for (CWnd* control : m_boundControls) {
        control->m_hWnd = nullptr;
    }
    m_boundControls.clear();
    CWnd::OnWindowGone();
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::DoDataExchange(CDataExchange* pDX)
{
    (void)pDX;
}

void CDialog::OnOK()
{
    if (!UpdateData(TRUE)) {
        return;
    }
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

LRESULT CDialog::HandleInitDialog(WPARAM wParam, LPARAM lParam)
{
    (void)wParam;
    (void)lParam;
    CWindowSystem& windows = WindowSystem();
    const WindowHandle window = m_hWnd;
    CWindowPlacement::InitFacts facts;
    facts.shownBefore = windows.IsWindowVisible(window);
    windows.GetWindowRect(window, &facts.placeBefore);
    const LRESULT result = OnInitDialog();
    // The initialisation may have ended the dialog's window.
    if (m_hWnd != window || !windows.IsWindow(window)) {
        return result;
    }
    facts.shownAfter = windows.IsWindowVisible(window);
    windows.GetWindowRect(window, &facts.placeAfter);
    facts.hasOwner = m_hWndOwner != nullptr && windows.IsWindow(m_hWndOwner);
    facts.ownerEnabled = facts.hasOwner && windows.IsWindowEnabled(m_hWndOwner);
    if (CWindowPlacement::CentresAfterInit(facts)) {
        CWindowPlacement::Centre(windows, window, facts.hasOwner ? m_hWndOwner : nullptr);
    }
    return result;
}
