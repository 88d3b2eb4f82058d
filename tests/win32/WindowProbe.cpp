// Finding and driving windows from outside their message loop.
#include "WindowProbe.h"

namespace WindowProbe {
namespace {
constexpr DWORD kAnyProcess = 0;

struct Search {
    DWORD processId;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectVisible(HWND window, LPARAM context)
{
    Search* search = reinterpret_cast<Search*>(context);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if ((search->processId == kAnyProcess || owner == search->processId) && ::IsWindowVisible(window)) {
        search->found.push_back(window);
    }
    return TRUE;
}

// The program's identity and download controls: a box with one of them is
// one of the program's dialogs, not a message box.
constexpr int kProgramControls[] = {1000, 1002, 1009};
constexpr int kStaticTextId = 0xFFFF;
constexpr DWORD kPollMs = 20;
}  // namespace

std::vector<HWND> VisibleTopWindows(DWORD processId)
{
    Search search{processId, {}};
    ::EnumWindows(&CollectVisible, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND WaitForWindow(DWORD processId, const std::function<bool(HWND)>& match, DWORD timeoutMs)
{
    HWND found = nullptr;
    WaitUntil(
        [&] {
            for (HWND window : VisibleTopWindows(processId)) {
                if (match(window)) {
                    found = window;
                    return true;
                }
            }
            return false;
        },
        timeoutMs);
    return found;
}

HWND WaitForAnyWindow(const std::function<bool(HWND)>& match, DWORD timeoutMs)
{
    return WaitForWindow(kAnyProcess, match, timeoutMs);
}

bool WaitUntilGone(HWND window, DWORD timeoutMs)
{
    return WaitUntil([window] { return !StillStands(window); }, timeoutMs);
}

bool StillStands(HWND window)
{
    return ::IsWindow(window) && ::IsWindowVisible(window);
}

bool WaitUntil(const std::function<bool()>& holds, DWORD timeoutMs)
{
    const DWORD start = ::GetTickCount();
    for (;;) {
        if (holds()) {
            return true;
        }
        if (::GetTickCount() - start >= timeoutMs) {
            return false;
        }
        ::Sleep(kPollMs);
    }
}

std::string ClassOf(HWND window)
{
    char name[256] = {};
    const int length = ::GetClassNameA(window, name, sizeof name);
    return std::string(name, length > 0 ? static_cast<std::size_t>(length) : 0);
}

std::string TextOf(HWND window)
{
    // WM_GETTEXT reaches windows of other processes too.
    const LRESULT length = ::SendMessageA(window, WM_GETTEXTLENGTH, 0, 0);
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    const LRESULT copied = ::SendMessageA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]));
    text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    return text;
}

std::string StoredTextOf(HWND window)
{
    char text[512] = {};
    const int length = ::GetWindowTextA(window, text, sizeof text);
    return std::string(text, length > 0 ? static_cast<std::size_t>(length) : 0);
}

std::string ItemTextOf(HWND dialog, int id)
{
    HWND item = ::GetDlgItem(dialog, id);
    return item != nullptr ? TextOf(item) : std::string();
}

std::vector<std::string> ChildTexts(HWND dialog)
{
    std::vector<std::string> texts;
    for (HWND child = ::GetWindow(dialog, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
        texts.push_back(TextOf(child));
    }
    return texts;
}

bool IsMessageBox(HWND window, const std::string& caption)
{
    if (ClassOf(window) != "#32770" || ::GetDlgItem(window, kStaticTextId) == nullptr) {
        return false;
    }
    for (int id : kProgramControls) {
        if (::GetDlgItem(window, id) != nullptr) {
            return false;
        }
    }
    return TextOf(window) == caption;
}

bool IsDialogTitled(HWND window, const std::string& title)
{
    return ClassOf(window) == "#32770" && TextOf(window) == title && !IsMessageBox(window, title);
}

std::string MessageBoxText(HWND box)
{
    return ItemTextOf(box, kStaticTextId);
}

void PressButton(HWND dialog, int id)
{
    HWND button = ::GetDlgItem(dialog, id);
    ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

void TypeInto(HWND dialog, int id, const std::string& text)
{
    HWND item = ::GetDlgItem(dialog, id);
    ::SendMessageA(item, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

}  // namespace WindowProbe
