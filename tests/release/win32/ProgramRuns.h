// Runs of the setup program, the uninstaller and the installed Trelox.exe
// as the installer's tests start them, each to its end.
#pragma once

#include <string>

#include "framework/win32/Win32UserApi.h"

// A fresh prefix starts the first program slowly.
constexpr DWORD kProgramMs = 60000;
constexpr DWORD kStepMs = 10000;

// The setup program under test (TRELOX_SETUP_EXE), as the system names it.
std::string SetupProgram();
// Runs `program` with `arguments` to its end; its exit status, or -1.
long RunToEnd(const std::string& program, const std::string& arguments);
// Runs `program` with `arguments` until Trelox's message
// that there is no device, answers it with OK and waits for the end; the
// exit status of the process started, or -1 when there was no such message.
// The message may come from another process than the one started (a
// command interpreter that starts the program).
long RunToNoDeviceMessage(const std::string& program, const std::string& arguments);
