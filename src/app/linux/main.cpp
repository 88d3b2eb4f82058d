// The Linux program's entry: --help and --version are answered before the
// application object's start-up, so that they touch neither the device nor
// the terminal; every other command line goes to the start-up as it is.
#include "app/CTreloxApp.h"
#include "app/linux/InformationWords.h"
#include "framework/CWinApp.h"

namespace {
CTreloxApp theApp;
}  // namespace

int main(int argc, char* argv[])
{
    const InformationWord word = FindInformationWord(argc, argv);
    if (word != InformationWord::None) {
        return WriteInformation(word, stdout);
    }
    return AfxRunApplication(argc, argv);
}
