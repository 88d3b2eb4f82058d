// The unit tests run without any real platform: a test that does not install
// a fake of its own gets an empty fake platform (no devices, no files).
#include "support/FakePlatform.h"

CPlatform& BuildPlatform()
{
    static FakePlatform platform;
    return platform;
}
