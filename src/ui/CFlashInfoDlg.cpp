// The programming status window.
#include "ui/CFlashInfoDlg.h"

#include "framework/AfxMessageBox.h"
#include "framework/CString.h"
#include "platform/CPlatform.h"
#include "ui/res/resource.h"

IMPLEMENT_DYNAMIC(CFlashInfoDlg, CDialog)

BEGIN_MESSAGE_MAP(CFlashInfoDlg, CDialog)
    ON_WM_TIMER()
END_MESSAGE_MAP()

namespace {
constexpr UINT_PTR kDisplayTimer = 1;
constexpr UINT kDisplayPeriodMs = 200;
}  // namespace

std::int32_t CFlashInfoDlg::s_nLastShownSeconds = -1;

CFlashInfoDlg::CFlashInfoDlg() : CDialog(IDD_FLASHINFO_DIALOG, nullptr), m_dwStartTick(0), m_nTimerId(0) {}

CFlashInfoDlg::~CFlashInfoDlg() = default;

BOOL CFlashInfoDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetDlgItemText(IDC_STATE_TEXT, "Warten auf Beginn der Programmierung");
    SetDlgItemText(IDC_TIME_TEXT, "");
    // Every showing starts its time field afresh, so that its first tick
    // shows 00:00 even when the last showing ended on 00:00.
    s_nLastShownSeconds = -1;
    m_dwStartTick = Platform().GetTickCount();
    m_nTimerId = SetTimer(kDisplayTimer, kDisplayPeriodMs, nullptr);
    return TRUE;
}

void CFlashInfoDlg::OnTimer(UINT_PTR id)
{
    if (id != m_nTimerId) {
        CDialog::OnTimer(id);
        return;
    }
    const auto elapsed = static_cast<std::int32_t>(Platform().GetTickCount() - m_dwStartTick);
    const std::int32_t seconds = elapsed / 1000;
    if (seconds == s_nLastShownSeconds) {
        return;
    }
    const std::int32_t minutes = seconds / 60;
    CString text;
    text.Format("%02d:%02d", static_cast<int>(minutes), static_cast<int>(seconds - minutes * 60));
    SetDlgItemText(IDC_TIME_TEXT, text);
    s_nLastShownSeconds = seconds;
}

void CFlashInfoDlg::OnCancel()
{
    const int answer = AfxMessageBox("Die Programmierung ist moeglicherweise noch nicht vollst\xE4" "ndig.\n"
                                     "Wollen Sie wirklich abbrechen?",
                                     MB_YESNO | MB_ICONEXCLAMATION, 0);
    if (answer == IDYES) {
        CDialog::OnCancel();
    }
}
