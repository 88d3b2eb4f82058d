// The answers of an emulated device's firmware.
#include "EmulatedFirmware.h"

namespace {
const std::string kAccepted("\x10\x06", 2);
const std::string kRejected("\x10\x15", 2);
const std::string kProgrammed("\x10\x04", 2);

bool EndsImage(const std::string& record)
{
    return record.size() >= 2 && record[0] == 'S' && (record[1] == '7' || record[1] == '8' || record[1] == '9');
}

std::string IdentityText(char item)
{
    switch (item) {
    case 'S':
        return "EMU0001";
    case 'P':
        return "EMULATED-1";
    case 'M':
        return "Trelox test bed";
    case 'V':
        return "2.00";
    default:
        return "0";
    }
}
}  // namespace

std::optional<std::string> EmulatedFirmware::Received(const std::string& data)
{
    if (data.size() == 2 && data[0] == '?') {
        return IdentityText(data[1]);
    }
    if (!(m_lastRefused && data == m_lastRecord)) {
        ++m_record;
    }
    m_lastRecord = data;
    m_lastRefused = false;
    if (m_record == m_holdRecord) {
        return std::nullopt;
    }
    if (m_record == m_refuseRecord && m_refused < m_refuseTimes) {
        ++m_refused;
        m_lastRefused = true;
        return kRejected;
    }
    ++m_taken;
    std::string reply = EndsImage(data) ? kProgrammed : kAccepted;
    m_programmed = m_programmed || reply == kProgrammed;
    if (m_oversized) {
        reply += std::string(10, '\x55');
    }
    return reply;
}

void EmulatedFirmware::RefuseRecord(int record, int times)
{
    m_refuseRecord = record;
    m_refuseTimes = times;
    m_refused = 0;
}

void EmulatedFirmware::Restart()
{
    m_record = 0;
    m_lastRecord.clear();
    m_lastRefused = false;
}
