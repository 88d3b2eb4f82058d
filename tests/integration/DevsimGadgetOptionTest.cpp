// trelox-devsim --gadget refuses, before it makes anything in the kernel,
// every option and fault rule that only the simulated bus can carry out, and
// says why: a technician must not take a rule that did nothing for a device
// that behaved.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ChildProcess.h"
#include "TempDirectory.h"

namespace {

struct Refusal {
    std::vector<std::string> arguments;
    const char* reason;  // a piece of the message
};

const Refusal kRefusals[] = {
    {{"--bus=/tmp/trelox-none"}, "--bus: a gadget is a USB device of this machine"},
    {{"--refuse-pipe=02"}, "--refuse-pipe: a USB device has no sockets to refuse"},
    {{"--after-report=rearrive"}, "cannot announce itself again without leaving"},
    {{"--fault=record=2,stall-write"}, "stall-write as a gadget: a USB device takes a write when its data arrive"},
    {{"--fault=record=2,short=3"}, "short as a gadget"},
    {{"--fault=query=S,write-error=5"}, "write-error as a gadget"},
    {{"--fault=record=1,read-error=5"}, "only by halting its endpoint, which the host sees as error 32"},
    // Only the second device is wrong: each device is checked.
    {{"--device", "--device", "--fault=record=1,stall-write=100"}, "stall-write as a gadget"},
    {{"--device=\\\\?\\usb#nothing#X1#{c0558574-212d-4625-8877-fe9c2e8ed396}"}, "vid_XXXX&pid_YYYY"},
};

TEST(DevsimGadgetOptions, RefusesWhatOnlyTheSimulatedBusCanDoAndSaysWhy)
{
    TempDirectory temp;
    for (const Refusal& refusal : kRefusals) {
        std::vector<std::string> arguments = {"--gadget"};
        arguments.insert(arguments.end(), refusal.arguments.begin(), refusal.arguments.end());
        ChildProcess devsim(TRELOX_DEVSIM_PATH, {}, temp.File("out"));
        EXPECT_EQ(2, devsim.Run(arguments, 5000)) << refusal.reason;
        EXPECT_NE(std::string::npos, devsim.Output().find(refusal.reason)) << devsim.Output();
    }
}

TEST(DevsimGadgetOptions, TakesTheRulesAUsbDeviceCanShowAndAControllerName)
{
    // Accepted rules get past the check to the machine's own refusals (no
    // root, no configfs or no controller here), never to a rule's.
    TempDirectory temp;
    ChildProcess devsim(TRELOX_DEVSIM_PATH, {}, temp.File("out"));
    const int status = devsim.Run({"--gadget", "--udc=none.0", "--fault=record=2,stall-read",
                                   "--fault=record=3,read-error=32", "--fault=record=4,leave=500",
                                   "--fault=record=5,long=20", "--after-report=gone"},
                                  5000);
    EXPECT_EQ(2, status);
    EXPECT_EQ(std::string::npos, devsim.Output().find("as a gadget")) << devsim.Output();
    EXPECT_EQ(2, ChildProcess(TRELOX_DEVSIM_PATH, {}, temp.File("out2")).Run({"--gadget", "--udc="}, 5000));
}

}  // namespace
