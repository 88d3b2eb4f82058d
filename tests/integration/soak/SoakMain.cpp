// The soak driver's entry: its application object on the build's backends.
#include "CSoakApp.h"

namespace {
CSoakApp theSoakApp;
}  // namespace

int main(int argc, char* argv[])
{
    CSoakApp::SetArguments(argc, argv);
    return AfxRunApplication(argc, argv);
}
