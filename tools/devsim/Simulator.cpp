// Start-up, the poll loop and the shutdown of the played devices.
#include "Simulator.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <utility>

#include <poll.h>

#include "Clock.h"

Simulator::Simulator(const SimConfig& config, std::vector<std::unique_ptr<PlayedDevice>> devices, EventLog& log)
    : m_config(config), m_log(log), m_devices(std::move(devices))
{
}

bool Simulator::Start(std::string* error)
{
    for (const auto& device : m_devices) {
        if (!device->Arrive(error)) {
            LeaveAll();
            return false;
        }
    }
    if (!AnnounceReady(error)) {
        LeaveAll();
        return false;
    }
    return true;
}

bool Simulator::AnnounceReady(std::string* error)
{
    if (m_announced) return true;
    for (const auto& device : m_devices) {
        if (!device->Ready()) return true;
    }
    if (!WriteReadyFile(error)) return false;
    m_announced = true;
    m_log.Line("ready devices=" + std::to_string(m_devices.size()));
    return true;
}

bool Simulator::WriteReadyFile(std::string* error) const
{
    if (m_config.readyFile.empty()) return true;
    // Written under another name and renamed, so that a watcher never sees it half done.
    const std::string temporary = m_config.readyFile + ".tmp";
    std::FILE* file = std::fopen(temporary.c_str(), "w");
    bool written = file != nullptr && std::fputs("ready\n", file) >= 0;
    if (file != nullptr) written = std::fclose(file) == 0 && written;
    if (!written || std::rename(temporary.c_str(), m_config.readyFile.c_str()) != 0) {
        *error = "cannot write ready file " + m_config.readyFile + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

int Simulator::PollTimeoutMs() const
{
    long due = -1;
    for (const auto& device : m_devices) {
        long deviceDue = device->NextDueMs();
        if (deviceDue >= 0 && (due < 0 || deviceDue < due)) due = deviceDue;
    }
    if (due < 0) return -1;
    long wait = due - Clock::NowMs();
    return wait < 0 ? 0 : static_cast<int>(wait);
}

bool Simulator::Run(SignalPipe& signals)
{
    for (;;) {
        std::vector<PollItem> items;
        PollItem signalItem;
        signalItem.fd = signals.Fd();
        signalItem.events = POLLIN;
        items.push_back(signalItem);
        for (std::size_t i = 0; i < m_devices.size(); ++i) m_devices[i]->CollectPoll(static_cast<int>(i), &items);

        std::vector<pollfd> fds(items.size());
        for (std::size_t i = 0; i < items.size(); ++i) fds[i] = pollfd{items[i].fd, items[i].events, 0};
        int ready = poll(fds.data(), fds.size(), PollTimeoutMs());
        if (ready < 0 && errno != EINTR) {
            m_log.Line(std::string("error poll: ") + std::strerror(errno));
            LeaveAll();
            return false;
        }
        if (signals.Drain()) {
            LeaveAll();
            m_log.Line("stop");
            return true;
        }
        for (std::size_t i = 1; ready > 0 && i < items.size(); ++i) {
            if (fds[i].revents != 0) m_devices[static_cast<std::size_t>(items[i].device)]->HandlePoll(items[i], fds[i].revents);
        }
        const long now = Clock::NowMs();
        for (const auto& device : m_devices) device->RunDue(now);
        std::string error;
        if (!AnnounceReady(&error)) {
            m_log.Line("error " + error);
            LeaveAll();
            return false;
        }
    }
}

void Simulator::LeaveAll()
{
    for (const auto& device : m_devices) device->Leave("stop");
}
