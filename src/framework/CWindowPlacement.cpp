// Where a window opens.
#include "framework/CWindowPlacement.h"

#include "framework/CWindowSystem.h"

namespace {
bool SamePlace(const CRect& one, const CRect& other)
{
    return one.left == other.left && one.top == other.top;
}

// The start of a span of `length` centred on `low`..`high`, moved inside
// `areaLow`..`areaHigh`; the start of the area wins when it does not fit.
int CentredStart(int length, int low, int high, int areaLow, int areaHigh)
{
    int start = low + (high - low) / 2 - length / 2;
    if (start + length > areaHigh) {
        start = areaHigh - length;
    }
    if (start < areaLow) {
        start = areaLow;
    }
    return start;
}
}  // namespace

bool CWindowPlacement::CentresAfterInit(const InitFacts& facts)
{
    // A dialog shown before or during its initialisation has been seen where
    // it stands; one that placed itself keeps its place; a dialog whose
    // owner still takes input is a tool window beside it.
    if (facts.shownBefore || facts.shownAfter || !SamePlace(facts.placeBefore, facts.placeAfter)) {
        return false;
    }
    return !facts.hasOwner || !facts.ownerEnabled;
}

CRect CWindowPlacement::Centred(const CRect& window, const CRect& centre, const CRect& area)
{
    CRect placed;
    placed.left = CentredStart(window.Width(), centre.left, centre.right, area.left, area.right);
    placed.top = CentredStart(window.Height(), centre.top, centre.bottom, area.top, area.bottom);
    placed.right = placed.left + window.Width();
    placed.bottom = placed.top + window.Height();
    return placed;
}

void CWindowPlacement::Centre(CWindowSystem& windows, WindowHandle window, WindowHandle owner)
{
    CRect place;
    if (!windows.GetWindowRect(window, &place)) {
        return;
    }
    const bool overOwner = owner != nullptr && windows.IsWindow(owner) && windows.IsWindowVisible(owner) &&
                           !windows.IsIconic(owner);
    const CRect area = windows.GetWorkArea(overOwner ? owner : window);
    CRect centre = area;
    if (overOwner && !windows.GetWindowRect(owner, &centre)) {
        centre = area;
    }
    const CRect placed = Centred(place, centre, area);
    if (!SamePlace(placed, place)) {
        windows.SetWindowPosition(window, placed.left, placed.top);
    }
}
