// The simulator fixture: start-up, connecting, and one-line transfers.
#include "DevsimFixture.h"

#include <chrono>
#include <thread>

#include "TempDirectory.h"

const std::string DevsimFixture::kAccepted("\x10\x06", 2);
const std::string DevsimFixture::kRefused("\x10\x15", 2);
const std::string DevsimFixture::kProgrammed("\x10\x04", 2);

DevsimFixture::DevsimFixture() : m_bus(m_temp.MakeSubdirectory("bus")), m_devsim(m_bus, m_temp.Path()) {}

std::string DevsimFixture::InterfacePath(const std::string& instanceId)
{
    return "\\\\?\\usb#vid_1234&pid_5678#" + instanceId + "#{c0558574-212d-4625-8877-fe9c2e8ed396}";
}

void DevsimFixture::StartDevsim(const std::vector<std::string>& options)
{
    ASSERT_TRUE(m_devsim.Start(options)) << m_devsim.Log();
}

void DevsimFixture::Connect(const std::string& instanceId)
{
    m_output = std::make_unique<RawPipeClient>();
    m_input = std::make_unique<RawPipeClient>();
    ASSERT_EQ(0, m_output->Connect(m_bus, InterfacePath(instanceId) + "\\PIPE02"));
    ASSERT_EQ(0, m_input->Connect(m_bus, InterfacePath(instanceId) + "\\PIPE03"));
}

long DevsimFixture::Write(const std::string& data)
{
    std::uint32_t status = 0;
    std::uint32_t count = 0;
    if (!m_output->SendWrite(data) || !m_output->ReceiveWriteCompletion(kWaitMs, &status, &count)) return -1;
    return status == 0 ? static_cast<long>(count) : -1;
}

std::string DevsimFixture::Read(std::uint32_t size)
{
    std::uint32_t status = 0;
    std::string data;
    if (!m_input->SendReadRequest(size) || !m_input->ReceiveReadCompletion(kWaitMs, &status, &data)) {
        return "<no completion>";
    }
    return status == 0 ? data : "<status " + std::to_string(status) + ">";
}

std::string DevsimFixture::Exchange(const std::string& data, std::uint32_t size)
{
    long written = Write(data);
    if (written != static_cast<long>(data.size())) return "<write " + std::to_string(written) + ">";
    return Read(size);
}

bool DevsimFixture::MarkerPresent(const std::string& instanceId) const
{
    for (const std::string& name : TempDirectory::List(m_bus)) {
        if (name == InterfacePath(instanceId)) return true;
    }
    return false;
}

bool DevsimFixture::BusEmptiesWithin(int timeoutMs) const
{
    for (int waited = 0; waited <= timeoutMs; waited += 10) {
        if (TempDirectory::List(m_bus).empty()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}
