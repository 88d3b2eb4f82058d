// Starting the program again under umockdev's preload library.
#include "MockEnvironment.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {
const char kPreload[] = "libumockdev-preload.so.0";

void Prepend(const char* name, const std::string& value, const char* separator)
{
    const char* before = std::getenv(name);
    const std::string joined = before != nullptr && before[0] != '\0' ? value + separator + before : value;
    ::setenv(name, joined.c_str(), 1);
}
}  // namespace

void RunUnderUmockdev(char** argv)
{
    const char* preload = std::getenv("LD_PRELOAD");
    if (preload != nullptr && std::strstr(preload, kPreload) != nullptr) {
        return;
    }
    Prepend("LD_PRELOAD", kPreload, ":");
    // The preload library is loaded before the sanitizer's runtime.
    Prepend("ASAN_OPTIONS", "verify_asan_link_order=0", ":");
    ::execv("/proc/self/exe", argv);
    std::perror("cannot start again under umockdev");
    std::exit(127);
}
