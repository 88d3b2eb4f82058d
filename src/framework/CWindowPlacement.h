// Where a window opens. A dialog that is hidden until it is initialised, that
// its own initialisation does not move and whose owner is disabled or absent
// (every modal dialog, a modeless one whose owner it disables, the main
// dialog) is centred right after its initialisation: over its owner when the
// owner is shown and not minimised, otherwise on the work area of the screen.
// A message box is centred the same way over the window it belongs to. A
// window that would not fit is moved inside the work area.
#pragma once

#include "framework/AfxTypes.h"
#include "framework/CRect.h"

class CWindowSystem;

class CWindowPlacement {
public:
    // What is known of a dialog when its initialisation begins and ends.
    struct InitFacts {
        bool shownBefore = false;
        bool shownAfter = false;
        CRect placeBefore;
        CRect placeAfter;
        bool hasOwner = false;
        bool ownerEnabled = false;
    };

    // Whether the dialog is centred once its initialisation is over.
    static bool CentresAfterInit(const InitFacts& facts);

    // `window` moved so that it is centred over `centre`, then moved inside
    // `area` where it would stick out; one larger than the area keeps its
    // top left corner (caption and system menu) inside.
    static CRect Centred(const CRect& window, const CRect& centre, const CRect& area);

    // Centres `window` over `owner` (null: none) when the owner is shown and
    // not minimised, otherwise on the work area, through `windows`.
    static void Centre(CWindowSystem& windows, WindowHandle window, WindowHandle owner);
};
