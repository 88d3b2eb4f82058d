// Includes the check lets pass: its own folder, the layers it builds on.
#include "Painter.h"

#include <vector>

#include "framework/CString.h"
#include "framework/state/CWindowView.h"
