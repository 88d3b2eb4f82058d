// For the benchmarks: a private temporary directory with a bus and a lock
// directory (set in the environment for this process and its children), and
// trelox-devsim presenting one device on that bus, quiet and answering at once.
#pragma once

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

class BenchDevice {
public:
    BenchDevice()
    {
        char pattern[] = "/tmp/trx-bench-XXXXXX";
        if (mkdtemp(pattern) == nullptr) {
            throw std::runtime_error("no temporary directory");
        }
        m_directory = pattern;
        setenv("TRELOX_USB_BUS", (m_directory + "/bus").c_str(), 1);
        setenv("TRELOX_LOCK_DIR", (m_directory + "/locks").c_str(), 1);
        const std::string ready = m_directory + "/ready";
        m_pid = fork();
        if (m_pid == 0) {
            execl(TRELOX_DEVSIM_PATH, TRELOX_DEVSIM_PATH, ("--bus=" + m_directory + "/bus").c_str(),
                  "--log=/dev/null", ("--ready-file=" + ready).c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        for (int waited = 0; waited < 5000; waited += 10) {
            struct stat info;
            if (stat(ready.c_str(), &info) == 0) {
                return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        throw std::runtime_error("trelox-devsim did not get ready");
    }

    ~BenchDevice()
    {
        if (m_pid > 0) {
            kill(m_pid, SIGTERM);
            waitpid(m_pid, nullptr, 0);
        }
        const std::string remove = "rm -rf '" + m_directory + "'";
        [[maybe_unused]] const int ignored = std::system(remove.c_str());
    }

    BenchDevice(const BenchDevice&) = delete;
    BenchDevice& operator=(const BenchDevice&) = delete;

    std::string File(const std::string& name) const { return m_directory + "/" + name; }

private:
    std::string m_directory;
    pid_t m_pid = -1;
};
