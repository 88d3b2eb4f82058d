// The bus framing of one pipe, written out plainly.
#include "support/BusFramingModel.h"

#include <algorithm>
#include <cerrno>

namespace {

const DWORD kOperationAborted = 995;

DWORD WordAt(const std::string& bytes, std::size_t at)
{
    DWORD word = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        word |= static_cast<DWORD>(static_cast<unsigned char>(bytes[at + i])) << (8 * i);
    }
    return word;
}

}  // namespace

std::size_t BusFramingModel::Start(DWORD requested)
{
    m_transfers.push_back(Entry{requested, Outcome()});
    if (m_programClosed) {
        // Refused at once: the handle is gone.
        m_transfers.back().outcome = Outcome{true, EBADF, 0, std::string()};
        ++m_firstOpen;
        return m_transfers.size() - 1;
    }
    Parse();
    if (m_deviceClosed) {
        m_transfers.back().outcome.mayFailInstead = true;
        FailRest(ENODEV);
    }
    return m_transfers.size() - 1;
}

void BusFramingModel::DeviceSent(const std::string& bytes)
{
    m_stream += bytes;
    Parse();
}

void BusFramingModel::DeviceClosed()
{
    m_deviceClosed = true;
    Parse();
    FailRest(ENODEV);
}

void BusFramingModel::ProgramClosed()
{
    m_programClosed = true;
    FailRest(kOperationAborted);
}

void BusFramingModel::Parse()
{
    while (m_firstOpen < m_transfers.size()) {
        const std::size_t available = m_stream.size() - m_parsed;
        if (available < 8) {
            return;
        }
        Entry& entry = m_transfers[m_firstOpen];
        const DWORD status = WordAt(m_stream, m_parsed);
        const DWORD second = WordAt(m_stream, m_parsed + 4);
        if (m_isWrite) {
            entry.outcome = Outcome{true, status, std::min(second, entry.requested), std::string()};
            m_parsed += 8;
        } else {
            if (available - 8 < second) {
                return;
            }
            const DWORD kept = status == 0 ? std::min(second, entry.requested) : 0;
            entry.outcome = Outcome{true, status, kept, m_stream.substr(m_parsed + 8, kept)};
            m_parsed += 8 + static_cast<std::size_t>(second);
        }
        ++m_firstOpen;
    }
}

void BusFramingModel::FailRest(DWORD error)
{
    for (; m_firstOpen < m_transfers.size(); ++m_firstOpen) {
        m_transfers[m_firstOpen].outcome = Outcome{true, error, 0, std::string()};
    }
}
