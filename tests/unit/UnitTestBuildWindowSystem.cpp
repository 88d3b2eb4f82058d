// The unit tests run without any real window system: a test that does not
// install one of its own gets an in-memory one that nobody answers.
#include "support/MemoryWindowSystem.h"

CWindowSystem& BuildWindowSystem()
{
    static MemoryWindowSystem windows(false);
    return windows;
}
