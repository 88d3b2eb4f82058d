// A played device's transfers and presence as a USB gadget.
#include "GadgetDevice.h"

#include <poll.h>

#include <cctype>
#include <cstring>

#include "ByteText.h"
#include "Clock.h"
#include "GadgetRules.h"
#include "OptionParser.h"

namespace {

const std::uint64_t kRead = 1;
const std::uint64_t kWrite = 2;
// Larger than any record: the host's write ends with a short packet.
const std::size_t kReadSize = 16384;
// A fault's leave waits this long after the write, so that the host's read
// of the answer is under way when the device goes, as in a real unplug.
const long kLeaveAfterWriteMs = 100;

}  // namespace

GadgetDevice::GadgetDevice(int number, const DeviceConfig& config, std::string udc, EventLog& log)
    : m_number(number),
      m_config(config),
      m_udc(std::move(udc)),
      m_log(log),
      m_firmware(config.identity, config.faults),
      m_presence(config.afterReport, config.leaveDelayMs, config.programTimeMs),
      m_gadget(GadgetName(OptionParser::InstanceIdOf(config.interfacePath))),
      m_readBuffer(kReadSize)
{
}

std::string GadgetDevice::GadgetName(const std::string& instanceId)
{
    std::string name = "trelox-";
    for (char c : instanceId) {
        const bool plain = std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_';
        name += plain ? c : '_';
    }
    return name;
}

void GadgetDevice::Log(const std::string& text)
{
    m_log.Line("dev=" + std::to_string(m_number) + " " + text);
}

bool GadgetDevice::Create(std::string* error)
{
    GadgetIdentity identity;
    GadgetRules::UsbIds(m_config.interfacePath, &identity.vendor, &identity.product);
    identity.serial = OptionParser::InstanceIdOf(m_config.interfacePath);
    identity.manufacturer = m_config.identity['M'];
    identity.productName = m_config.identity['P'];
    if (!m_gadget.Create(identity, error)) return false;
    if (!m_files.Open(m_gadget.MountPoint(), error)) return false;
    if (!m_aio.Open()) {
        *error = std::string("cannot set up asynchronous I/O: ") + std::strerror(errno);
        return false;
    }
    m_created = true;
    return true;
}

bool GadgetDevice::Arrive(std::string* error)
{
    if (!m_created && !Create(error)) return false;
    if (!m_gadget.Bind(m_udc, error)) return false;
    m_present = true;
    m_firmware.Restart();
    Log("arrive udc=" + m_udc + " serial=" + OptionParser::InstanceIdOf(m_config.interfacePath) +
        " path=" + m_config.interfacePath);
    return true;
}

void GadgetDevice::Leave(const char* reason)
{
    m_presence.Clear();
    m_faultLeaveAtMs = -1;
    if (!m_present) return;
    // Logged first: whoever sees the device go finds the line already written.
    Log(std::string("leave reason=") + reason);
    m_gadget.Unbind();
    m_present = false;
    Disable();
}

void GadgetDevice::Disable()
{
    // Unbinding or deconfiguring ends every transfer in flight with an error.
    m_enabled = false;
    m_reading = false;
    m_sending = false;
    ++m_generation;
    m_replies.clear();
    m_held.clear();
}

void GadgetDevice::CollectPoll(int index, std::vector<PollItem>* items) const
{
    if (!m_created) return;
    PollItem control;
    control.fd = m_files.Control();
    control.events = POLLIN;
    control.device = index;
    control.role = PollRole::GadgetControl;
    items->push_back(control);
    PollItem completion = control;
    completion.fd = m_aio.Fd();
    completion.role = PollRole::GadgetCompletion;
    items->push_back(completion);
}

void GadgetDevice::HandlePoll(const PollItem& item, short /*revents*/)
{
    if (item.role == PollRole::GadgetControl) TakeEvents();
    if (item.role == PollRole::GadgetCompletion) TakeCompletions();
}

void GadgetDevice::TakeEvents()
{
    usb_functionfs_event event;
    while (m_files.TakeEvent(&event)) {
        switch (event.type) {
        case FUNCTIONFS_ENABLE:
            Log("configured");
            m_enabled = true;
            StartRead();
            SendNextReply();
            break;
        case FUNCTIONFS_DISABLE:
        case FUNCTIONFS_UNBIND:
            if (m_enabled) Log("deconfigured");
            Disable();
            break;
        case FUNCTIONFS_SETUP:
            // The device has no requests of its own on the control pipe.
            Log("control request refused bRequest=" + std::to_string(event.u.setup.bRequest));
            m_files.RefuseSetup(event.u.setup);
            break;
        default:
            break;
        }
    }
}

void GadgetDevice::StartRead()
{
    if (!m_enabled || m_reading) return;
    const int fd = m_files.Endpoint(FfsDescriptors::kOutputIndex);
    if (!m_aio.Submit(fd, false, m_readBuffer.data(), m_readBuffer.size(), (m_generation << 8) | kRead)) {
        Log(std::string("error ep=3 read not started: ") + std::strerror(errno));
        return;
    }
    m_reading = true;
}

void GadgetDevice::TakeCompletions()
{
    for (const AioCompletion& completion : m_aio.Reap()) {
        if ((completion.tag >> 8) != m_generation) continue;  // ended by a leave or a disable
        if ((completion.tag & 0xFF) == kWrite) {
            OnReplyTaken(completion.result);
            continue;
        }
        m_reading = false;
        if (completion.result < 0) {
            Log("ep=3 read status=" + std::to_string(-completion.result) + " (" +
                std::strerror(static_cast<int>(-completion.result)) + ")");
            StartRead();
            continue;
        }
        OnWriteReceived(std::string(m_readBuffer.data(), static_cast<std::size_t>(completion.result)));
    }
}

void GadgetDevice::OnWriteReceived(const std::string& data)
{
    const WritePlan plan = m_firmware.HandleWrite(data);
    Log("ep=3 write " + ByteText::Logged(data) + " " + plan.what + (plan.fault.empty() ? "" : " fault=" + plan.fault));
    if (plan.leave) {
        m_faultLeaveAtMs = Clock::NowMs() + kLeaveAfterWriteMs;
        m_faultReturnMs = plan.returnMs;
        return;
    }
    StartRead();
    if (!plan.hasReply) return;
    const DeviceReply& reply = plan.reply;
    if (reply.status != 0) {
        Halt();
    } else if (reply.stall && reply.stallMs < 0) {
        Log("ep=4 answer withheld " + ByteText::Logged(reply.bytes));
    } else if (reply.stall) {
        Log("ep=4 answer held ms=" + std::to_string(reply.stallMs));
        HeldReply held;
        held.dueMs = Clock::NowMs() + reply.stallMs;
        held.reply = reply;
        m_held.push_back(held);
    } else {
        m_replies.push_back(reply);
        SendNextReply();
    }
}

void GadgetDevice::Halt()
{
    const int failure = m_files.Halt(FfsDescriptors::kInputIndex);
    Log(failure == 0 ? std::string("ep=4 halt") : "error ep=4 halt: " + std::string(std::strerror(failure)));
}

void GadgetDevice::SendNextReply()
{
    if (!m_enabled || m_sending || m_replies.empty()) return;
    m_sendBuffer = m_replies.front().bytes;
    m_sendingReport = m_replies.front().programmingReport;
    m_replies.pop_front();
    const int fd = m_files.Endpoint(FfsDescriptors::kInputIndex);
    // The answer waits in the controller until the host reads it.
    if (!m_aio.Submit(fd, true, &m_sendBuffer[0], m_sendBuffer.size(), (m_generation << 8) | kWrite)) {
        Log(std::string("error ep=4 answer not queued: ") + std::strerror(errno));
        return;
    }
    m_sending = true;
}

void GadgetDevice::OnReplyTaken(long long result)
{
    m_sending = false;
    if (result < 0) {
        Log("ep=4 read status=" + std::to_string(-result) + " (" + std::strerror(static_cast<int>(-result)) + ")");
    } else {
        Log("ep=4 read status=0 " + ByteText::Logged(m_sendBuffer));
        if (m_sendingReport) {
            Log("programming-report");
            m_presence.OnProgrammingReport();
        }
    }
    SendNextReply();
}

long GadgetDevice::NextDueMs() const
{
    long due = m_presence.NextDueMs();
    if (m_faultLeaveAtMs >= 0 && (due < 0 || m_faultLeaveAtMs < due)) due = m_faultLeaveAtMs;
    for (const HeldReply& held : m_held) {
        if (due < 0 || held.dueMs < due) due = held.dueMs;
    }
    return due;
}

void GadgetDevice::RunDue(long nowMs)
{
    for (auto held = m_held.begin(); held != m_held.end();) {
        if (held->dueMs > nowMs) {
            ++held;
            continue;
        }
        Log("ep=4 late answer " + ByteText::Logged(held->reply.bytes));
        m_replies.push_back(held->reply);
        held = m_held.erase(held);
    }
    SendNextReply();
    if (m_faultLeaveAtMs >= 0 && m_faultLeaveAtMs <= nowMs) {
        // Going away in the middle of the exchange: the host's read of the answer fails.
        Leave("fault");
        m_presence.ReturnAfter(m_faultReturnMs);
    }
    for (PresenceEvent event = m_presence.TakeDue(nowMs); event != PresenceEvent::None;
         event = m_presence.TakeDue(nowMs)) {
        std::string error;
        if (event == PresenceEvent::LeaveToProgram) {
            Leave("programming");
            m_presence.OnLeftToProgram();
        } else if (event == PresenceEvent::Return && !Arrive(&error)) {
            Log("error " + error);
        }
    }
}
