// The in-memory window system of the tests.
#include "support/MemoryWindowSystem.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {
// More idle turns than any test needs without progress: the loop is stuck.
constexpr int kIdleCallsBeforeStuck = 100000;

bool IsButtonOf(UINT type, int button)
{
    switch (type & MB_TYPEMASK) {
    case MB_OK:
        return button == IDOK;
    case MB_OKCANCEL:
        return button == IDOK || button == IDCANCEL;
    case MB_YESNO:
        return button == IDYES || button == IDNO;
    case MB_YESNOCANCEL:
        return button == IDYES || button == IDNO || button == IDCANCEL;
    default:
        return false;
    }
}

// The answer of a box nobody answers: the one that changes least.
int SafestAnswer(UINT type)
{
    switch (type & MB_TYPEMASK) {
    case MB_OK:
        return IDOK;
    case MB_YESNO:
        return IDNO;
    default:
        return IDCANCEL;
    }
}
}  // namespace

MemoryWindowSystem::MemoryWindowSystem(bool install)
{
    if (install) {
        SetWindowSystem(this);
        m_installed = true;
    }
}

MemoryWindowSystem::~MemoryWindowSystem()
{
    if (m_installed) {
        SetWindowSystem(nullptr);
    }
}

void MemoryWindowSystem::AnswerMessageBox(int button)
{
    m_answers.push_back(button);
}

void MemoryWindowSystem::SetMessageBoxHook(std::function<int(const MessageBoxRecord&)> hook)
{
    m_boxHook = std::move(hook);
}

void MemoryWindowSystem::AnswerFileDialog(const CString& path)
{
    m_fileAnswers.push_back(FileAnswer{true, path});
}

void MemoryWindowSystem::CancelFileDialog()
{
    m_fileAnswers.push_back(FileAnswer{false, CString()});
}

void MemoryWindowSystem::SetIdleHook(std::function<bool()> hook)
{
    m_idleHook = std::move(hook);
}

int MemoryWindowSystem::AskMessageBox(WindowHandle owner, const CString& text, const CString& caption, UINT type)
{
    MessageBoxRecord record;
    record.caption = caption;
    record.text = text;
    record.type = type;
    record.owner = owner;
    int answer = 0;
    if (m_boxHook) {
        answer = m_boxHook(record);
    } else if ((type & MB_TYPEMASK) == MB_OK) {
        answer = IDOK;
    } else if (!m_answers.empty()) {
        answer = m_answers.front();
        m_answers.pop_front();
    } else {
        ADD_FAILURE() << "unanswered message box: " << text.GetString();
        answer = SafestAnswer(type);
    }
    if (!IsButtonOf(type, answer)) {
        ADD_FAILURE() << "answer " << answer << " is no button of the box: " << text.GetString();
        answer = SafestAnswer(type);
    }
    record.answer = answer;
    m_boxes.push_back(record);
    return answer;
}

bool MemoryWindowSystem::AskOpenFileName(WindowHandle owner, const CString& initialFile, DWORD flags,
                                         CString* path)
{
    m_fileDialogs.push_back(FileDialogRecord{owner, initialFile, flags});
    if (m_fileAnswers.empty()) {
        ADD_FAILURE() << "unanswered file dialog";
        return false;
    }
    const FileAnswer answer = m_fileAnswers.front();
    m_fileAnswers.pop_front();
    if (answer.chosen) {
        *path = answer.path;
    }
    return answer.chosen;
}

bool MemoryWindowSystem::WaitForInput(DWORD milliseconds)
{
    (void)milliseconds;  // time moves only when the test moves it
    if (!m_idleHook) {
        ADD_FAILURE() << "a modal loop has nothing to do and the test has no idle hook";
        return false;
    }
    if (++m_idleCallsInARow > kIdleCallsBeforeStuck) {
        ADD_FAILURE() << "a modal loop made no progress in " << kIdleCallsBeforeStuck << " idle turns";
        return false;
    }
    if (!m_idleHook()) {
        ADD_FAILURE() << "a modal loop is still running when the test has nothing more to do";
        return false;
    }
    return true;
}

void MemoryWindowSystem::BeginWaitCursor()
{
    ++m_waitCursorBegins;
    CPortableWindowSystem::BeginWaitCursor();
}

void MemoryWindowSystem::DrawIcon(HANDLE dc, int x, int y, HANDLE icon)
{
    // A paint's device context is its window's handle here.
    m_iconDraws.push_back(IconDrawRecord{dc, x, y, icon});
}

WindowHandle MemoryWindowSystem::FindDialog(UINT templateId) const
{
    WindowHandle newest = nullptr;
    for (const WindowState* dialog : AllDialogs()) {
        if (dialog->dialogTemplate->id == templateId) {
            newest = dialog->handle;
        }
    }
    return newest;
}

const WindowState* MemoryWindowSystem::ControlState(WindowHandle dialog, int id) const
{
    const WindowState* state = FindWindow(dialog);
    if (state == nullptr) {
        return nullptr;
    }
    for (const WindowHandle control : state->controls) {
        const WindowState* item = FindWindow(control);
        if (item->controlId == id) {
            return item;
        }
    }
    return nullptr;
}

WindowHandle MemoryWindowSystem::Control(WindowHandle dialog, int id) const
{
    const WindowState* control = ControlState(dialog, id);
    return control != nullptr ? control->handle : nullptr;
}

CString MemoryWindowSystem::Text(WindowHandle dialog, int id) const
{
    const WindowState* control = ControlState(dialog, id);
    return control != nullptr ? control->text : CString();
}

bool MemoryWindowSystem::IsEnabled(WindowHandle dialog, int id) const
{
    const WindowState* control = ControlState(dialog, id);
    return control != nullptr && control->enabled;
}

bool MemoryWindowSystem::IsVisible(WindowHandle dialog, int id) const
{
    const WindowState* control = ControlState(dialog, id);
    return control != nullptr && control->visible;
}

int MemoryWindowSystem::ProgressPosition(WindowHandle dialog, int id) const
{
    const WindowState* control = ControlState(dialog, id);
    return control != nullptr ? control->position : -1;
}

int MemoryWindowSystem::FocusedControlId(WindowHandle dialog) const
{
    const WindowState* focused = FindWindow(FocusedWindow());
    return focused != nullptr && focused->parent == dialog ? focused->controlId : 0;
}

const std::vector<SystemMenuItem>& MemoryWindowSystem::SystemMenu(WindowHandle window) const
{
    static const std::vector<SystemMenuItem> none;
    const WindowState* state = FindWindow(window);
    return state != nullptr ? state->systemMenu : none;
}

void MemoryWindowSystem::Click(WindowHandle dialog, int id)
{
    QueueInput([this, dialog, id] { CarryOut(InputRequest::PressButton(dialog, id)); });
}

void MemoryWindowSystem::Type(WindowHandle dialog, int id, const CString& text)
{
    QueueInput([this, dialog, id, text] {
        const WindowHandle edit = Control(dialog, id);
        CarryOut(InputRequest::Focus(edit));
        CarryOut(InputRequest::Type(edit, text));
    });
}

void MemoryWindowSystem::MoveFocus(WindowHandle dialog, int id)
{
    QueueInput([this, dialog, id] { CarryOut(InputRequest::Focus(Control(dialog, id))); });
}

void MemoryWindowSystem::PressKey(WindowHandle dialog, DialogKey key)
{
    QueueInput([this, dialog, key] { CarryOut(InputRequest::Key(dialog, key)); });
}

void MemoryWindowSystem::CloseBox(WindowHandle dialog)
{
    ChooseSystemCommand(dialog, SC_CLOSE);
}

void MemoryWindowSystem::ChooseSystemCommand(WindowHandle window, UINT command)
{
    QueueInput([this, window, command] { CarryOut(InputRequest::SystemCommand(window, command)); });
}
