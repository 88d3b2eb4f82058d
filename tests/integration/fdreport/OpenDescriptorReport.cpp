// Linked into the test build of the program (trelox_fd_report) only. At the
// very end of the process, after the program's own destructors and exit
// handlers have run, it writes what each descriptor still open refers to into
// the file named by TRELOX_TEST_FD_REPORT, one "<fd> <target>" a line, so that
// a test sees what an ending left open.
#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <string>

namespace {

void WriteAll(int fd, const std::string& text)
{
    std::size_t written = 0;
    while (written < text.size()) {
        const ssize_t step = ::write(fd, text.data() + written, text.size() - written);
        if (step <= 0) {
            return;
        }
        written += static_cast<std::size_t>(step);
    }
}

// The list is taken before the report file is opened, so that it does not
// list itself.
std::string OpenDescriptors()
{
    std::string lines;
    DIR* directory = ::opendir("/proc/self/fd");
    if (directory == nullptr) {
        return "unreadable\n";
    }
    const int own = ::dirfd(directory);
    while (const dirent* entry = ::readdir(directory)) {
        if (entry->d_name[0] == '.' || std::atoi(entry->d_name) == own) {
            continue;
        }
        char target[4096] = {};
        const std::string link = std::string("/proc/self/fd/") + entry->d_name;
        const ssize_t length = ::readlink(link.c_str(), target, sizeof target - 1);
        lines += std::string(entry->d_name) + " " + (length > 0 ? std::string(target, length) : "?") + "\n";
    }
    ::closedir(directory);
    return lines;
}

__attribute__((destructor)) void ReportOpenDescriptors()
{
    const char* path = std::getenv("TRELOX_TEST_FD_REPORT");
    if (path == nullptr || path[0] == '\0') {
        return;
    }
    const std::string lines = OpenDescriptors();
    const int report = ::open(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (report >= 0) {
        WriteAll(report, lines);
        ::close(report);
    }
}

}  // namespace
