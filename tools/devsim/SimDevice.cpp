// A simulated device's presence on the bus and its transfers.
#include "SimDevice.h"

#include <poll.h>

#include <algorithm>

#include "ByteText.h"
#include "Clock.h"

namespace {

long DueAfter(long delayMs)
{
    return delayMs < 0 ? -1 : Clock::NowMs() + delayMs;
}

bool IsDue(long dueMs, long nowMs)
{
    return dueMs >= 0 && dueMs <= nowMs;
}

}  // namespace

SimDevice::SimDevice(int number, const DeviceConfig& config, const BusDirectory& bus, EventLog& log)
    : m_number(number),
      m_config(config),
      m_bus(bus),
      m_log(log),
      m_firmware(config.identity, config.faults),
      m_outputListener(bus, config.interfacePath + "\\PIPE02"),
      m_inputListener(bus, config.interfacePath + "\\PIPE03"),
      m_presence(config.afterReport, config.leaveDelayMs, config.programTimeMs)
{
}

// Every line is written before the completion or bus change it reports, so
// that a test that has seen the effect finds the line.
void SimDevice::Log(const std::string& text)
{
    m_log.Line("dev=" + std::to_string(m_number) + " " + text);
}

bool SimDevice::Arrive(std::string* error)
{
    if (m_bus.Exists(m_config.interfacePath)) {
        // A device that still serves either pipe is present; otherwise the
        // marker was left by a simulator that was killed, and is cleared.
        if (m_bus.Answers(m_outputListener.Name()) || m_bus.Answers(m_inputListener.Name())) {
            *error = "a device with this path is already on the bus: " + m_config.interfacePath;
            return false;
        }
        m_bus.Remove(m_config.interfacePath);
        Log("stale-marker-removed path=" + m_config.interfacePath);
    }
    if (!m_outputListener.Start(m_config.refuseOutputPipe, error) ||
        !m_inputListener.Start(m_config.refuseInputPipe, error) ||
        !m_bus.CreateMarker(m_config.interfacePath, "trelox-devsim\n", error)) {
        m_outputListener.Stop();
        m_inputListener.Stop();
        return false;
    }
    m_present = true;
    ++m_epoch;
    m_firmware.Restart();
    Log("arrive path=" + m_config.interfacePath);
    return true;
}

void SimDevice::Leave(const char* reason)
{
    m_presence.Clear();
    if (!m_present) return;
    // Logged first: whoever sees the device go finds the line already written.
    Log(std::string("leave reason=") + reason);
    m_bus.Remove(m_config.interfacePath);
    m_connections.clear();
    m_outputListener.Stop();
    m_inputListener.Stop();
    m_replies.clear();
    m_reads.clear();
    m_present = false;
    ++m_epoch;
}

void SimDevice::Rearrive()
{
    std::string error;
    if (m_bus.CreateMarker(m_config.interfacePath, "trelox-devsim\n", &error)) {
        Log("rearrive path=" + m_config.interfacePath);
    } else {
        Log("error " + error);
    }
}

void SimDevice::CollectPoll(int index, std::vector<PollItem>* items) const
{
    if (!m_present) return;
    const PipeListener* listeners[] = {&m_outputListener, &m_inputListener};
    for (const PipeListener* listener : listeners) {
        if (listener->Fd() < 0) continue;
        PollItem item;
        item.fd = listener->Fd();
        item.events = POLLIN;
        item.device = index;
        item.role = listener == &m_outputListener ? PollRole::OutputListener : PollRole::InputListener;
        item.epoch = m_epoch;
        items->push_back(item);
    }
    for (const auto& connection : m_connections) {
        PollItem item;
        item.fd = connection->Fd();
        item.events = static_cast<short>(POLLIN | (connection->WantsOutput() ? POLLOUT : 0));
        item.device = index;
        item.role = PollRole::Connection;
        item.connection = connection.get();
        item.epoch = m_epoch;
        items->push_back(item);
    }
}

void SimDevice::HandlePoll(const PollItem& item, short revents)
{
    if (item.epoch != m_epoch) return;
    switch (item.role) {
    case PollRole::OutputListener:
        Accept(m_outputListener, PipeKind::Output);
        break;
    case PollRole::InputListener:
        Accept(m_inputListener, PipeKind::Input);
        break;
    case PollRole::Connection:
        ServiceConnection(item.connection, revents);
        break;
    case PollRole::GadgetControl:
    case PollRole::GadgetCompletion:
    case PollRole::Signal:
        break;
    }
}

void SimDevice::Accept(PipeListener& listener, PipeKind kind)
{
    for (int fd = listener.Accept(); fd >= 0; fd = listener.Accept()) {
        m_connections.push_back(std::make_unique<PipeConnection>(fd, kind));
        ++m_epoch;
        Log(std::string("pipe=") + m_connections.back()->PipeName() + " connect");
    }
}

void SimDevice::ServiceConnection(PipeConnection* connection, short revents)
{
    if ((revents & POLLOUT) != 0 && !connection->Flush()) {
        CloseConnection(connection);
        return;
    }
    if ((revents & (POLLIN | POLLHUP | POLLERR)) == 0) return;
    const bool open = connection->Receive();
    // Requests that arrived before the peer closed are still answered in order.
    const unsigned epoch = m_epoch;
    if (connection->Kind() == PipeKind::Output) {
        std::string data;
        while (m_epoch == epoch && connection->NextWrite(&data)) HandleWrite(connection, data);
    } else {
        std::uint32_t size = 0;
        while (connection->NextRead(&size)) HandleReadRequest(connection, size);
    }
    if (m_epoch != epoch) return;  // the device left the bus meanwhile
    if (!open || connection->Failed()) CloseConnection(connection);
}

void SimDevice::HandleWrite(PipeConnection* connection, const std::string& data)
{
    SendHeldWrite(connection, false);
    WritePlan plan = m_firmware.HandleWrite(data);
    std::string line =
        std::string("pipe=") + connection->PipeName() + " write " + ByteText::Logged(data) + " " + plan.what;
    if (!plan.fault.empty()) line += " fault=" + plan.fault;
    if (plan.leave) {
        Log(line + " status=none");
        Leave("fault");
        m_presence.ReturnAfter(plan.returnMs);
        return;
    }
    if (plan.holdCompletion) {
        HeldWrite& held = connection->Held();
        held.active = true;
        held.status = plan.status;
        held.count = plan.count;
        held.dueMs = DueAfter(plan.holdMs);
        held.hasReply = plan.hasReply;
        held.reply = plan.reply;
        Log(line + " status=held");
        return;
    }
    if (plan.hasReply) m_replies.push_back(plan.reply);
    Log(line + " status=" + std::to_string(plan.status) + " count=" + std::to_string(plan.count));
    connection->SendWriteCompletion(plan.status, plan.count);
    ServeReads();
}

void SimDevice::SendHeldWrite(PipeConnection* connection, bool actOn)
{
    HeldWrite& held = connection->Held();
    if (!held.active) return;
    held.active = false;
    if (actOn && held.hasReply) m_replies.push_back(held.reply);
    Log(std::string("pipe=") + connection->PipeName() + " late write status=" + std::to_string(held.status) +
        " count=" + std::to_string(held.count));
    connection->SendWriteCompletion(held.status, held.count);
}

void SimDevice::HandleReadRequest(PipeConnection* connection, std::uint32_t size)
{
    ReleaseHeldRead();
    PendingRead read;
    read.connection = connection;
    read.size = size;
    m_reads.push_back(read);
    ServeReads();
}

void SimDevice::ReleaseHeldRead()
{
    if (m_reads.empty() || !m_reads.front().assigned || !m_reads.front().reply.stall) return;
    m_reads.front().reply.stall = false;
    ServeReads();
}

void SimDevice::ServeReads()
{
    while (!m_reads.empty()) {
        PendingRead& head = m_reads.front();
        if (!head.assigned) {
            if (m_replies.empty()) {
                if (!head.late) {
                    head.late = true;
                    Log(std::string("pipe=PIPE03 read size=") + std::to_string(head.size) + " status=waiting");
                }
                return;
            }
            head.reply = m_replies.front();
            m_replies.pop_front();
            head.assigned = true;
            if (head.reply.stall) {
                head.late = true;
                head.dueMs = DueAfter(head.reply.stallMs);
                Log(std::string("pipe=PIPE03 read size=") + std::to_string(head.size) + " status=held");
                return;
            }
        } else if (head.reply.stall) {
            return;
        }
        PendingRead done = head;
        m_reads.pop_front();
        CompleteRead(done);
    }
}

void SimDevice::CompleteRead(const PendingRead& read)
{
    const DeviceReply& reply = read.reply;
    const std::string data = reply.status == 0 ? reply.bytes : std::string();
    Log(std::string("pipe=PIPE03 ") + (read.late ? "late " : "") + "read size=" + std::to_string(read.size) +
        " status=" + std::to_string(reply.status) + " " + ByteText::Logged(data));
    read.connection->SendReadCompletion(reply.status, data);
    if (reply.programmingReport) {
        Log("programming-report");
        m_presence.OnProgrammingReport();
    }
}

void SimDevice::CloseConnection(PipeConnection* connection)
{
    m_reads.erase(std::remove_if(m_reads.begin(), m_reads.end(),
                                 [connection](const PendingRead& read) { return read.connection == connection; }),
                  m_reads.end());
    Log(std::string("pipe=") + connection->PipeName() + " disconnect");
    m_connections.erase(std::remove_if(m_connections.begin(), m_connections.end(),
                                       [connection](const std::unique_ptr<PipeConnection>& owned) {
                                           return owned.get() == connection;
                                       }),
                        m_connections.end());
    ++m_epoch;
    ServeReads();
}

long SimDevice::NextDueMs() const
{
    long due = -1;
    auto consider = [&due](long candidate) {
        if (candidate >= 0 && (due < 0 || candidate < due)) due = candidate;
    };
    consider(m_presence.NextDueMs());
    for (const auto& connection : m_connections) {
        if (connection->Held().active) consider(connection->Held().dueMs);
    }
    if (!m_reads.empty() && m_reads.front().assigned && m_reads.front().reply.stall) consider(m_reads.front().dueMs);
    return due;
}

void SimDevice::RunDue(long nowMs)
{
    for (const auto& connection : m_connections) {
        if (connection->Held().active && IsDue(connection->Held().dueMs, nowMs)) {
            SendHeldWrite(connection.get(), true);
        }
    }
    ServeReads();
    if (!m_reads.empty() && m_reads.front().assigned && m_reads.front().reply.stall &&
        IsDue(m_reads.front().dueMs, nowMs)) {
        ReleaseHeldRead();
    }
    for (PresenceEvent event = m_presence.TakeDue(nowMs); event != PresenceEvent::None;
         event = m_presence.TakeDue(nowMs)) {
        std::string error;
        switch (event) {
        case PresenceEvent::Rearrive:
            Rearrive();
            break;
        case PresenceEvent::LeaveToProgram:
            Leave("programming");
            m_presence.OnLeftToProgram();
            break;
        case PresenceEvent::Return:
            if (!Arrive(&error)) Log("error " + error);
            break;
        case PresenceEvent::None:
            break;
        }
    }
}
