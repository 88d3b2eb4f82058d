// Peak memory of the program while it downloads a 1 GiB flash file against
// the same for a 1 MiB file, both of 64 KiB records: the file is never held
// in memory, so the two peaks stay within 2 MiB of each other. The big file
// is made in a temporary directory for the run and removed after it.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "BenchDevice.h"

namespace {
const std::size_t kLineBytes = 64 * 1024;

// `lines` records of 64 KiB with their line ends; no end record.
std::string WriteFlashFile(const std::string& path, std::size_t lines)
{
    std::ofstream file(path, std::ios::binary);
    std::string line = "S1" + std::string(kLineBytes - 3, 'A') + "\n";
    for (std::size_t i = 0; i < lines; ++i) {
        file << line;
    }
    return path;
}

// Runs trelox on `path`, nobody at the keys, output discarded; its peak
// resident memory in KiB, or -1.
long PeakKiB(const std::string& path, int* status)
{
    const pid_t pid = fork();
    if (pid == 0) {
        const int nowhere = open("/dev/null", O_RDWR);
        dup2(nowhere, STDIN_FILENO);
        dup2(nowhere, STDOUT_FILENO);
        execl(TRELOX_PATH, TRELOX_PATH, path.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    int waitStatus = 0;
    struct rusage usage {};
    if (wait4(pid, &waitStatus, 0, &usage) != pid) {
        return -1;
    }
    *status = WIFEXITED(waitStatus) ? WEXITSTATUS(waitStatus) : -1;
    return usage.ru_maxrss;
}
}  // namespace

int main()
{
    BenchDevice bench;
    int smallStatus = 0;
    int bigStatus = 0;
    const long small = PeakKiB(WriteFlashFile(bench.File("small.s19"), 16), &smallStatus);
    const std::string big = WriteFlashFile(bench.File("big.s19"), 16 * 1024);
    const long large = PeakKiB(big, &bigStatus);
    std::remove(big.c_str());
    std::printf("download memory: peak %ld KiB for 1 MiB, %ld KiB for 1 GiB (64 KiB records); "
                "difference %ld KiB (target <= 2048); exit statuses %d and %d\n",
                small, large, large - small, smallStatus, bigStatus);
    return smallStatus == 5 && bigStatus == 5 && std::labs(large - small) <= 2048 ? 0 : 1;
}
