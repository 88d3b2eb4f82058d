// The process's exit status of a direct download.
#include "app/ExitStatus.h"

ExitStatus ExitStatusOf(DownloadOutcome outcome)
{
    switch (outcome) {
    case DownloadOutcome::Programmed:
        return exitProgrammed;
    case DownloadOutcome::FileNotOpened:
        return exitFileNotOpened;
    case DownloadOutcome::LockGivenUp:
        return exitLockGivenUp;
    case DownloadOutcome::NotProgrammed:
        return exitNotProgrammed;
    case DownloadOutcome::StatusWindowGivenUp:
        return exitStatusWindowGivenUp;
    case DownloadOutcome::Failed:
        break;
    }
    return exitDownloadFailed;
}
