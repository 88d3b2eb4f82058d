// Selection of the platform in use.
#include "platform/CPlatform.h"

namespace {
CPlatform* g_installed = nullptr;
}

CPlatform& Platform()
{
    return g_installed != nullptr ? *g_installed : BuildPlatform();
}

void SetPlatform(CPlatform* platform)
{
    g_installed = platform;
}
