// Dialog mode on a terminal.
#include "framework/term/CFullScreenFrontEnd.h"

#include "framework/screen/CCellGrid.h"
#include "framework/screen/CScreenPainter.h"

CFullScreenFrontEnd::CFullScreenFrontEnd(const CWindowView& windows) : m_windows(windows), m_keyboard(windows, m_edits)
{
}

bool CFullScreenFrontEnd::Start()
{
    return m_screen.Start();
}

std::vector<InputRequest> CFullScreenFrontEnd::FocusToRestore() const
{
    if (m_box != nullptr || m_prompt != nullptr) {
        return {};
    }
    return m_keyboard.RestoreFocus();
}

void CFullScreenFrontEnd::Paint()
{
    int rows = 0;
    int columns = 0;
    m_screen.GetSize(&rows, &columns);
    CCellGrid grid(rows, columns);
    ScreenOverlays overlays;
    overlays.messageBox = m_box;
    overlays.filePrompt = m_prompt;
    overlays.systemMenu = m_keyboard.OpenMenu();
    CScreenPainter(m_windows, m_edits, grid).Paint(overlays);
    m_screen.Show(grid);
}
