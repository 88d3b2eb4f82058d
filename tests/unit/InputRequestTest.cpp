// The requests of the user's input as the portable window system carries
// them out: only as the user could do it at that moment, each request of a
// key checked when its turn comes.
#include <gtest/gtest.h>

#include <vector>

#include "framework/CDialog.h"
#include "framework/state/InputRequest.h"
#include "support/FakePlatform.h"
#include "support/MemoryWindowSystem.h"
#include "support/TestDialogTemplate.h"

namespace {
// Counts what reaches it; its button disables the edit.
class RequestDialog : public CDialog {
public:
    RequestDialog() : CDialog(test_dialog::kTemplateId) {}

    int changes = 0;
    int clicks = 0;
    std::vector<UINT> commands;

protected:
    void OnEditChange() { ++changes; }
    void OnButton()
    {
        ++clicks;
        GetDlgItem(test_dialog::kEdit)->EnableWindow(FALSE);
    }
    void OnSysCommand(UINT id, LPARAM) { commands.push_back(id); }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(RequestDialog, CDialog)
    ON_EN_CHANGE(test_dialog::kEdit, &RequestDialog::OnEditChange)
    ON_BN_CLICKED(test_dialog::kButton, &RequestDialog::OnButton)
    ON_WM_SYSCOMMAND()
END_MESSAGE_MAP()

class InputRequests : public ::testing::Test {
protected:
    InputRequests()
    {
        m_platform.Install();
        test_dialog::Register();
        EXPECT_TRUE(m_dialog.Create(test_dialog::kTemplateId));
        m_dialog.ShowWindow(SW_SHOW);
        m_handle = m_dialog.GetSafeHwnd();
        m_edit = m_windows.Control(m_handle, test_dialog::kEdit);
    }

    CString EditText() const { return m_windows.Text(m_handle, test_dialog::kEdit); }

    FakePlatform m_platform;
    MemoryWindowSystem m_windows;
    RequestDialog m_dialog;
    WindowHandle m_handle = nullptr;
    WindowHandle m_edit = nullptr;
};
}  // namespace

TEST_F(InputRequests, NothingReachesADisabledFieldOrADisabledDialog)
{
    m_windows.SetFocus(m_windows.Control(m_handle, IDOK));
    m_windows.EnableWindow(m_edit, false);
    m_windows.CarryOut({InputRequest::Focus(m_edit), InputRequest::Type(m_edit, "x")});
    EXPECT_EQ(m_windows.Control(m_handle, IDOK), m_windows.FocusedWindow());
    EXPECT_EQ("", EditText().Bytes());
    EXPECT_EQ(0, m_dialog.changes);

    // A dialog under a message box is disabled: its fields, buttons and
    // system menu take nothing.
    m_windows.EnableWindow(m_edit, true);
    m_windows.EnableWindow(m_handle, false);
    m_windows.CarryOut({InputRequest::Focus(m_edit), InputRequest::Type(m_edit, "x"),
                        InputRequest::PressButton(m_handle, test_dialog::kButton),
                        InputRequest::SystemCommand(m_handle, SC_CLOSE)});
    EXPECT_EQ(m_windows.Control(m_handle, IDOK), m_windows.FocusedWindow());
    EXPECT_EQ("", EditText().Bytes());
    EXPECT_EQ(0, m_dialog.clicks);
    EXPECT_TRUE(m_dialog.commands.empty());

    m_windows.EnableWindow(m_handle, true);
    m_windows.CarryOut({InputRequest::Focus(m_edit), InputRequest::Type(m_edit, "x"),
                        InputRequest::SystemCommand(m_handle, SC_CLOSE)});
    EXPECT_EQ(m_edit, m_windows.FocusedWindow());
    EXPECT_EQ("x", EditText().Bytes());
    EXPECT_EQ(1, m_dialog.changes);
    EXPECT_EQ(std::vector<UINT>{SC_CLOSE}, m_dialog.commands);
}

TEST_F(InputRequests, EachRequestIsCheckedWhenItsTurnComes)
{
    // The click disables the field the next request types into.
    m_windows.CarryOut({InputRequest::PressButton(m_handle, test_dialog::kButton), InputRequest::Type(m_edit, "x")});
    EXPECT_EQ(1, m_dialog.clicks);
    EXPECT_EQ("", EditText().Bytes());
    EXPECT_EQ(0, m_dialog.changes);
}

TEST_F(InputRequests, RequestsForWindowsThatAreGoneAreDropped)
{
    m_dialog.DestroyWindow();
    m_windows.CarryOut({InputRequest::Focus(m_edit), InputRequest::Type(m_edit, "x"),
                        InputRequest::PressButton(m_handle, test_dialog::kButton),
                        InputRequest::Key(m_handle, DialogKey::Enter), InputRequest::SystemCommand(m_handle, SC_CLOSE)});
    EXPECT_EQ(nullptr, m_windows.FocusedWindow());
    EXPECT_EQ(0, m_dialog.clicks);
    EXPECT_EQ(0, m_dialog.changes);
    EXPECT_TRUE(m_dialog.commands.empty());
}
