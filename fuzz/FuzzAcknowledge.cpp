// Fuzz target: the classification of a record's acknowledge with the repeat
// rule, and the texts of the error family, against the rules written out
// plainly. The first input byte chooses what is fuzzed:
//   0: replies to one record ([length][bytes]...), through the repeat rule
//      on a scripted device;
//   1: a response error built from any bytes, copied and assigned;
//   2: write and read errors with any numbers.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "protocol/CTreloxExceptionNoAck.h"
#include "protocol/CTreloxExceptionRead.h"
#include "protocol/CTreloxExceptionResponse.h"
#include "protocol/CTreloxExceptionWrite.h"
#include "protocol/SendRecordWithRepeats.h"
#include "support/FakePlatform.h"
#include "usb/CUsbDevice.h"

namespace {

const char kDevicePath[] = "\\\\?\\usb#vid_1234&pid_5678#FUZZ#{c0558574-212d-4625-8877-fe9c2e8ed396}";
const char kRecord[] = "S9030000FC";
const std::size_t kAcknowledgeBuffer = 10;

void Require(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "broken: %s\n", what);
        std::abort();
    }
}

std::string ExpectedResponseText(const std::vector<std::uint8_t>& bytes)
{
    if (bytes.empty()) {
        return "Keine Antwortdaten erhalten";
    }
    std::string hex;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        char pair[4];
        std::snprintf(pair, sizeof pair, i == 0 ? "%02X" : " %02X", bytes[i]);
        hex += i == 0 ? std::string(pair, 2) : std::string(pair, 3);
    }
    return "Fehlerhafte Antwortdaten (" + std::to_string(bytes.size()) + " Byte {" + hex + "})";
}

// -1 for no acknowledge, else the AckResult.
int Classify(const std::vector<std::uint8_t>& reply)
{
    if (reply.size() != 2 || reply[0] != 0x10) {
        return -1;
    }
    switch (reply[1]) {
    case 0x06:
        return ackAccepted;
    case 0x15:
        return ackRejected;
    case 0x04:
        return ackProgrammed;
    default:
        return -1;
    }
}

std::vector<std::vector<std::uint8_t>> SplitReplies(const std::uint8_t* data, std::size_t size)
{
    std::vector<std::vector<std::uint8_t>> replies;
    std::size_t at = 0;
    while (at < size && replies.size() < 4) {
        const std::size_t length = std::min<std::size_t>(data[at] % 16, size - at - 1);
        replies.emplace_back(data + at + 1, data + at + 1 + length);
        at += 1 + length;
    }
    return replies;
}

void FuzzRepeatRule(const std::uint8_t* data, std::size_t size)
{
    const auto replies = SplitReplies(data, size);
    FakePlatform platform;
    platform.Install();
    platform.AddDevice(kDevicePath);
    for (const auto& reply : replies) {
        platform.ScriptRead(kDevicePath, FakeTransfer::Reply(std::vector<BYTE>(reply.begin(), reply.end())));
    }
    CUsbDevice device;
    Require(device.Open() == 0, "the scripted device opens");

    // What must happen: sends until a reply is not a refusal, at most three.
    std::size_t sends = 0;
    int expected = -2;  // -2: no reply left (the read stays pending)
    std::string expectedText;
    while (sends < replies.size()) {
        std::vector<std::uint8_t> delivered = replies[sends];
        delivered.resize(std::min(delivered.size(), kAcknowledgeBuffer));
        ++sends;
        expected = Classify(delivered);
        if (expected == -1) {
            expectedText = ExpectedResponseText(delivered);
            break;
        }
        if (expected != ackRejected) {
            break;
        }
        if (sends == 3) {
            expected = -3;
            expectedText = "Kein Acknowledge (3 Versuche)";
            break;
        }
        expected = -2;
    }
    if (expected == -2) {
        expectedText = "Timeout beim Lesen";
        ++sends;
    }

    try {
        const AckResult result = SendRecordWithRepeats(device, CString(kRecord));
        Require(static_cast<int>(result) == expected, "the acknowledge as classified");
    } catch (const CTreloxException& error) {
        Require(expected < 0, "an error only for no acknowledge");
        Require(error.GetMessageText().Bytes() == expectedText, "the error's text");
    }
    Require(platform.Writes(kDevicePath).size() == sends, "one write per send");
}

void FuzzResponseError(const std::uint8_t* data, std::size_t size)
{
    const std::vector<std::uint8_t> bytes(data, data + size);
    const CTreloxExceptionResponse error(static_cast<int>(size), size > 0 ? data : nullptr);
    Require(error.GetMessageText().Bytes() == ExpectedResponseText(bytes), "the response text");
    CTreloxExceptionResponse copy(error);
    const CTreloxExceptionResponse shorter(static_cast<int>(size / 2), size > 0 ? data : nullptr);
    copy = shorter;
    const CTreloxExceptionResponse& itself = copy;
    copy = itself;
    Require(copy.GetMessageText() == shorter.GetMessageText(), "an assigned copy renders the same");
    Require(CTreloxExceptionResponse(error).GetMessageText() == error.GetMessageText(), "a copy renders the same");
}

std::int32_t Word(const std::uint8_t* data, std::size_t size, std::size_t index)
{
    std::uint32_t word = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        const std::size_t at = index * 4 + i;
        word |= static_cast<std::uint32_t>(at < size ? data[at] : 0) << (8 * i);
    }
    return static_cast<std::int32_t>(word);
}

void FuzzTransferErrors(const std::uint8_t* data, std::size_t size)
{
    const std::int32_t requested = Word(data, size, 0);
    const std::int32_t transferred = Word(data, size, 1);
    const auto code = static_cast<DWORD>(Word(data, size, 2));
    char expected[160];
    std::snprintf(expected, sizeof expected, "Fehler %d beim Schreiben (%d von %d Bytes geschrieben)",
                  static_cast<int>(code), transferred, requested);
    Require(CTreloxExceptionWrite(requested, transferred, code).GetMessageText() == expected, "the write text");
    std::snprintf(expected, sizeof expected, "Fehler %d beim Lesen (%d von %d Bytes gelesen)", static_cast<int>(code),
                  transferred, requested);
    Require(CTreloxExceptionRead(requested, transferred, code).GetMessageText() == expected, "the read text");
    const std::string noAck = requested > 1 ? "Kein Acknowledge (" + std::to_string(requested) + " Versuche)"
                                            : std::string("Kein Acknowledge");
    Require(CTreloxExceptionNoAck(requested).GetMessageText().Bytes() == noAck, "the no-acknowledge text");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0) {
        return 0;
    }
    switch (data[0] % 3) {
    case 0:
        FuzzRepeatRule(data + 1, size - 1);
        break;
    case 1:
        FuzzResponseError(data + 1, size - 1);
        break;
    default:
        FuzzTransferErrors(data + 1, size - 1);
        break;
    }
    return 0;
}
