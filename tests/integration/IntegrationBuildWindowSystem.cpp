// The integration tests drive the device object without a terminal: a test
// that does not install a window system of its own gets an in-memory one, so
// that a message box is recorded instead of shown.
#include "support/MemoryWindowSystem.h"

CWindowSystem& BuildWindowSystem()
{
    static MemoryWindowSystem windows(false);
    return windows;
}
