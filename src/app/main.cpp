// The program's entry: the one application object, and the framework's entry
// that runs its start-up and returns the exit status.
#include "app/CTreloxApp.h"
#include "framework/CWinApp.h"

namespace {
CTreloxApp theApp;
}  // namespace

int main(int argc, char* argv[])
{
    return AfxRunApplication(argc, argv);
}
