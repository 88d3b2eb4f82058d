// Paints the program's windows onto a character screen: every visible
// dialog from its template (CDialogPainter), oldest first and centred, the
// one taking input in front with its caption highlighted and the others
// dimmed; over them the
// message box, file prompt or system menu that is open; a line of key help
// at the bottom when there is room; and a clear message instead of the
// dialogs when the screen is too small for them.
#pragma once

#include "framework/screen/CCellGrid.h"
#include "framework/screen/CEditViews.h"
#include "framework/state/CWindowView.h"

class CScreenFilePrompt;
class CScreenMessageBox;
class CScreenSystemMenu;

struct ScreenOverlays {
    const CScreenMessageBox* messageBox = nullptr;
    CScreenFilePrompt* filePrompt = nullptr;
    const CScreenSystemMenu* systemMenu = nullptr;
};

class CScreenPainter {
public:
    CScreenPainter(const CWindowView& windows, CEditViews& edits, CCellGrid& grid);

    void Paint(const ScreenOverlays& overlays);

    // The screen the visible dialogs need, border included.
    static void NeededSize(const CWindowView& windows, int* rows, int* columns);

private:
    void PaintMessageBox(const CScreenMessageBox& box);
    void PaintFilePrompt(CScreenFilePrompt& prompt);
    void PaintSystemMenu(const CScreenSystemMenu& menu, int areaRows);
    void PaintTooSmall(int neededRows, int neededColumns);
    void PaintHelp(const ScreenOverlays& overlays);

    const CWindowView& m_windows;
    CEditViews& m_edits;
    CCellGrid& m_grid;
};
