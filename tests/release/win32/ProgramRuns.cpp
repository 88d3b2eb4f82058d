// Running the programs of an installation to their ends.
#include "ProgramRuns.h"

#include <cstdlib>

#include "TestPaths.h"
#include "TreloxProcess.h"
#include "WindowProbe.h"

std::string SetupProgram()
{
    const char* path = std::getenv("TRELOX_SETUP_EXE");
    return SystemPathOf(path != nullptr ? path : "");
}

long RunToEnd(const std::string& program, const std::string& arguments)
{
    TreloxProcess process(program, arguments);
    if (!process.Started() || !process.WaitForExit(kProgramMs)) {
        return -1;
    }
    return static_cast<long>(process.ExitCode());
}

long RunToNoDeviceMessage(const std::string& program, const std::string& arguments)
{
    TreloxProcess process(program, arguments);
    const HWND box = WindowProbe::WaitForAnyWindow(
        [](HWND w) {
            return WindowProbe::IsMessageBox(w, "Trelox") &&
                   WindowProbe::MessageBoxText(w) == "USB-Schnittstelle konnte nicht ge\xF6" "ffnet werden!";
        },
        kProgramMs);
    if (!process.Started() || box == nullptr) {
        return -1;
    }
    WindowProbe::PressButton(box, IDOK);
    if (!process.WaitForExit(kStepMs)) {
        return -1;
    }
    return static_cast<long>(process.ExitCode());
}
