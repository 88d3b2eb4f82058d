// A progress bar control.
#include "framework/CProgressCtrl.h"

int CProgressCtrl::SetPos(int position)
{
    return static_cast<int>(SendMessage(PBM_SETPOS, static_cast<WPARAM>(position), 0));
}

int CProgressCtrl::GetPos()
{
    return static_cast<int>(SendMessage(PBM_GETPOS, 0, 0));
}

void CProgressCtrl::SetRange(short lower, short upper)
{
    SendMessage(PBM_SETRANGE, 0, static_cast<LPARAM>(MAKEWPARAM(lower, upper)));
}
