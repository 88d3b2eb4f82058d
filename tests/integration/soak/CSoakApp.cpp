// The soak driver's application object.
#include "CSoakApp.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include <dirent.h>

#include "ui/DialogTemplates.h"

namespace {

const int kProgrammedEvery = 200;
// Warm-up: the first downloads and queries create the lock folders and the
// allocator's pools; the figures count from after them.
const int kWarmUpDownloads = 20;
const int kWarmUpQueries = 1000;
// Growth of resident memory that is still noise (allocator pools), in KiB.
const long kMemoryNoiseKiB = 2048;

double SecondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int CSoakApp::s_argc = 0;
char** CSoakApp::s_argv = nullptr;

CSoakApp::CSoakApp() : CWinApp("trelox-soak") {}

void CSoakApp::SetArguments(int argc, char* argv[])
{
    s_argc = argc;
    s_argv = argv;
}

CSoakApp::Sample CSoakApp::Take()
{
    Sample sample = {0, -1};
    if (DIR* directory = opendir("/proc/self/fd")) {
        while (const dirent* entry = readdir(directory)) {
            if (entry->d_name[0] != '.') ++sample.descriptors;
        }
        closedir(directory);
        --sample.descriptors;  // the listing's own
    }
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmRSS:", 0) == 0) sample.residentKiB = std::atol(line.c_str() + 6);
    }
    return sample;
}

void CSoakApp::Download(int first, int last)
{
    for (int i = first; i < last; ++i) {
        const bool programmed = (i + 1) % kProgrammedEvery == 0;
        const DownloadReport report = m_device.DownloadFlashFile(programmed ? m_pszProgrammedFile : m_pszSmallFile);
        const DownloadOutcome expected = programmed ? DownloadOutcome::Programmed : DownloadOutcome::NotProgrammed;
        if (report.outcome != expected || report.recordsTaken == 0) {
            std::fprintf(stderr, "download %d ended %d\n", i + 1, static_cast<int>(report.outcome));
            ++m_nFailures;
        }
    }
}

void CSoakApp::Query(int count)
{
    for (int i = 0; i < count; ++i) {
        CString value;
        if (!m_device.QueryInfo('S', value) || value != "SIM0001") {
            std::fprintf(stderr, "query %d failed\n", i + 1);
            ++m_nFailures;
        }
    }
}

BOOL CSoakApp::InitInstance()
{
    SetExitCode(1);
    if (s_argc != 5) {
        std::fprintf(stderr, "usage: trelox_soak SMALL-FILE PROGRAMMED-FILE DOWNLOADS QUERIES\n");
        return FALSE;
    }
    m_pszSmallFile = s_argv[1];
    m_pszProgrammedFile = s_argv[2];
    const int downloads = std::atoi(s_argv[3]);
    const int queries = std::atoi(s_argv[4]);

    RegisterDialogTemplates();
    m_device.CreateMessageWindow();
    if (m_device.Open() != 0) {
        std::fprintf(stderr, "no device\n");
        return FALSE;
    }
    Download(0, kWarmUpDownloads);
    Query(kWarmUpQueries);
    const Sample start = Take();

    auto clock = std::chrono::steady_clock::now();
    Download(kWarmUpDownloads, downloads);
    const double downloadSeconds = SecondsSince(clock);
    const Sample afterDownloads = Take();
    clock = std::chrono::steady_clock::now();
    Query(queries - kWarmUpQueries);
    const double querySeconds = SecondsSince(clock);
    const Sample end = Take();

    std::fprintf(stderr, "soak: %d downloads in %.1f s (every %dth through the programming phase), "
                 "%d queries in %.1f s, %d failed\n",
                 downloads, downloadSeconds, kProgrammedEvery, queries, querySeconds, m_nFailures);
    std::fprintf(stderr, "soak: descriptors %d at the start, %d after the downloads, %d at the end\n",
                 start.descriptors, afterDownloads.descriptors, end.descriptors);
    std::fprintf(stderr, "soak: resident memory %ld KiB at the start, %ld KiB after the downloads, %ld KiB at the end\n",
                 start.residentKiB, afterDownloads.residentKiB, end.residentKiB);
    const bool steady = end.descriptors == start.descriptors && afterDownloads.descriptors == start.descriptors &&
                        end.residentKiB - start.residentKiB <= kMemoryNoiseKiB;
    SetExitCode(m_nFailures == 0 && steady ? 0 : 1);
    return FALSE;
}
