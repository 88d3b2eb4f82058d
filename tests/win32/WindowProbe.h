// The tests' stand-in for a user at the screen: finds top-level windows and
// message boxes of a process with EnumWindows, reads their texts and presses
// their buttons with posted messages, so that the driven program never
// waits for the test.
#pragma once

#include "framework/win32/Win32UserApi.h"

#include <functional>
#include <string>
#include <vector>

namespace WindowProbe {

// The visible top-level windows of `processId`, in the system's z-order.
std::vector<HWND> VisibleTopWindows(DWORD processId);
// The first visible top-level window of `processId` that `match` accepts,
// waiting up to `timeoutMs`; null if none came.
HWND WaitForWindow(DWORD processId, const std::function<bool(HWND)>& match, DWORD timeoutMs);
// The same among the windows of every process: for a program that hands its
// work on to another process (an uninstaller that runs on from a copy).
HWND WaitForAnyWindow(const std::function<bool(HWND)>& match, DWORD timeoutMs);
// Waits up to `timeoutMs` for `window` to be gone (or hidden); false if it stayed.
bool WaitUntilGone(HWND window, DWORD timeoutMs);
// Waits up to `timeoutMs` until `holds` is true; false if it never was.
bool WaitUntil(const std::function<bool()>& holds, DWORD timeoutMs);
// True while `window` is open and shown. What was read of a window that may
// close at any moment is of that window only when it still stands after
// the reading: a closed window's handle reads as empty or as stale bytes.
bool StillStands(HWND window);

std::string ClassOf(HWND window);
// The window's text through WM_GETTEXT: what an edit holds now. Waits for
// the window's thread.
std::string TextOf(HWND window);
// The text the system keeps for the window (a caption, a static's text),
// read without waiting for the window's thread even when it is busy.
std::string StoredTextOf(HWND window);
std::string ItemTextOf(HWND dialog, int id);
// The texts of a dialog's controls, in template order.
std::vector<std::string> ChildTexts(HWND dialog);

// A message box: a dialog with a static message text and none of the
// program's own controls, with `caption` as its title.
bool IsMessageBox(HWND window, const std::string& caption);
// A dialog window (not a message box) with the title `title`.
bool IsDialogTitled(HWND window, const std::string& title);
// The message text of a message box.
std::string MessageBoxText(HWND box);

// A click on button `id` of `dialog`, as the button reports it to its dialog.
void PressButton(HWND dialog, int id);
// Types `text` into control `id` of `dialog` (its text is replaced).
void TypeInto(HWND dialog, int id, const std::string& text);

}  // namespace WindowProbe
