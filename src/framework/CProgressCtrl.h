// A progress bar control: a position within its range (0 to 100 unless set).
#pragma once

#include "framework/CWnd.h"

class CProgressCtrl : public CWnd {
public:
    // The position the bar had before; 0 without a window.
    int SetPos(int position);
    int GetPos();
    void SetRange(short lower, short upper);
};
