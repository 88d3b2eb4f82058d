// The simulated device's answers to queries and records, and its faults.
#include "DeviceFirmware.h"

#include <utility>

namespace {

const std::string kAccepted("\x10\x06", 2);
const std::string kRefused("\x10\x15", 2);
const std::string kProgrammed("\x10\x04", 2);

}  // namespace

DeviceFirmware::DeviceFirmware(std::map<char, std::string> identity, std::vector<FaultRule> faults)
    : m_identity(std::move(identity)), m_faults(std::move(faults))
{
}

void DeviceFirmware::Restart()
{
    m_record = 0;
    m_send = 0;
    m_lastRecord.clear();
    m_lastRefused = false;
}

bool DeviceFirmware::IsQuery(const std::string& data)
{
    return data.size() == 2 && data[0] == '?';
}

bool DeviceFirmware::EndsImage(const std::string& record)
{
    if (record.size() >= 2 && (record[0] == 'S' || record[0] == 's')) {
        return record[1] == '7' || record[1] == '8' || record[1] == '9';
    }
    // Intel HEX ":LLAAAATT...": type 01 is the end-of-file record.
    return record.size() >= 9 && record[0] == ':' && record[7] == '0' && record[8] == '1';
}

WritePlan DeviceFirmware::HandleWrite(const std::string& data)
{
    WritePlan plan;
    plan.count = static_cast<std::uint32_t>(data.size());
    plan.hasReply = true;
    const bool query = IsQuery(data);
    const char letter = query ? data[1] : '\0';
    if (query) {
        plan.what = std::string("query=") + letter;
        auto found = m_identity.find(letter);
        plan.reply.bytes = found == m_identity.end() ? std::string() : found->second;
    } else {
        // The resend of a refused record is the same record, sent again.
        if (m_lastRefused && data == m_lastRecord) {
            ++m_send;
        } else {
            ++m_record;
            m_send = 1;
        }
        m_lastRecord = data;
        plan.what = "record=" + std::to_string(m_record) + " send=" + std::to_string(m_send);
        plan.reply.bytes = EndsImage(data) ? kProgrammed : kAccepted;
    }
    for (FaultRule& rule : m_faults) {
        if (!rule.Spent() && rule.Aims(query, m_record, letter)) {
            rule.Use();
            plan.fault = rule.ActionName();
            ApplyFault(rule, &plan);
            break;
        }
    }
    if (!query) {
        m_lastRefused = plan.hasReply && plan.reply.bytes == kRefused;
        plan.reply.programmingReport = plan.hasReply && plan.reply.status == 0 && plan.reply.bytes == kProgrammed;
    }
    return plan;
}

void DeviceFirmware::ApplyFault(const FaultRule& rule, WritePlan* plan) const
{
    switch (rule.Action()) {
    case FaultAction::Refuse:
        plan->reply.bytes = kRefused;
        break;
    case FaultAction::Reply:
        plan->reply.bytes = rule.ReplyBytes();
        break;
    case FaultAction::LongReply:
        if (static_cast<long>(plan->reply.bytes.size()) < rule.Argument()) {
            plan->reply.bytes.resize(static_cast<std::size_t>(rule.Argument()), '.');
        }
        break;
    case FaultAction::StallWrite:
        plan->holdCompletion = true;
        plan->holdMs = rule.Argument();
        break;
    case FaultAction::StallRead:
        plan->reply.stall = true;
        plan->reply.stallMs = rule.Argument();
        break;
    case FaultAction::ShortWrite:
        plan->count = static_cast<std::uint32_t>(rule.Argument());
        plan->hasReply = false;
        break;
    case FaultAction::WriteError:
        plan->status = static_cast<std::uint32_t>(rule.Argument());
        plan->count = 0;
        plan->hasReply = false;
        break;
    case FaultAction::ReadError:
        plan->reply.status = static_cast<std::uint32_t>(rule.Argument());
        plan->reply.bytes.clear();
        break;
    case FaultAction::Leave:
        plan->leave = true;
        plan->returnMs = rule.Argument();
        plan->hasReply = false;
        break;
    }
}
