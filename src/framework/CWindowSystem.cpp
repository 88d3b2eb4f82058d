// Selection of the window system in use.
#include "framework/CWindowSystem.h"

namespace {
CWindowSystem* g_installed = nullptr;
}

CWindowSystem& WindowSystem()
{
    return g_installed != nullptr ? *g_installed : BuildWindowSystem();
}

void SetWindowSystem(CWindowSystem* system)
{
    g_installed = system;
}
