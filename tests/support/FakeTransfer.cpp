// Scripted transfers of the fake platform.
#include "support/FakeTransfer.h"

FakeTransfer FakeTransfer::Reply(const std::string& bytes)
{
    return Reply(std::vector<BYTE>(bytes.begin(), bytes.end()));
}

FakeTransfer FakeTransfer::Reply(const std::vector<BYTE>& bytes)
{
    FakeTransfer transfer;
    transfer.reply = bytes;
    return transfer;
}

FakeTransfer FakeTransfer::Whole()
{
    return FakeTransfer();
}

FakeTransfer FakeTransfer::Written(DWORD count)
{
    FakeTransfer transfer;
    transfer.wholeCount = false;
    transfer.count = count;
    return transfer;
}

FakeTransfer FakeTransfer::Fail(DWORD error)
{
    FakeTransfer transfer;
    transfer.ending = Ending::FailAtOnce;
    transfer.error = error;
    transfer.wholeCount = false;
    return transfer;
}

FakeTransfer FakeTransfer::Error(DWORD error)
{
    FakeTransfer transfer;
    transfer.ending = Ending::CompleteWithError;
    transfer.error = error;
    transfer.wholeCount = false;
    transfer.delayed = true;
    return transfer;
}

FakeTransfer FakeTransfer::Never()
{
    FakeTransfer transfer;
    transfer.ending = Ending::Never;
    return transfer;
}

FakeTransfer FakeTransfer::WaitFails()
{
    FakeTransfer transfer;
    transfer.ending = Ending::WaitFails;
    return transfer;
}

FakeTransfer FakeTransfer::SignalledEarly()
{
    FakeTransfer transfer;
    transfer.ending = Ending::SignalledEarly;
    return transfer;
}

FakeTransfer FakeTransfer::After(DWORD delay) const
{
    FakeTransfer transfer(*this);
    transfer.delayed = true;
    transfer.delayMs = delay;
    return transfer;
}

FakeTransfer FakeTransfer::WithCount(DWORD value) const
{
    FakeTransfer transfer(*this);
    transfer.wholeCount = false;
    transfer.count = value;
    return transfer;
}

bool FakeTransfer::IsPending() const
{
    return ending == Ending::Never || ending == Ending::WaitFails || ending == Ending::SignalledEarly ||
           (delayed && ending != Ending::FailAtOnce);
}
