// Fuzz target: the command-line record fed by the framework's splitting, and
// the start mode chosen from it, against the rules written out plainly (the
// flags "I", "S", "P", "M" and the flash file name). The
// input is the arguments separated by zero bytes; its first byte selects the
// identity slot the record starts with.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/CTreloxCommandLineInfo.h"
#include "app/StartMode.h"

namespace {

struct ExpectedRecord {
    std::string fileName;
    std::string identity[4];  // by slot; [0] unused
    bool interactive = false;
    int slot = 0;
};

// On this build an argument that starts with "/" and holds a further "/" is
// an absolute path, not a flag.
bool IsFlag(const std::string& argument)
{
    if (argument.empty()) {
        return false;
    }
    return argument[0] == '-' || (argument[0] == '/' && argument.find('/', 1) == std::string::npos);
}

// The slot a flag selects: "S", "P", "M" in either case; every other flag none.
int SlotOfFlag(const std::string& text)
{
    if (text.size() != 1) {
        return 0;
    }
    switch (text[0]) {
    case 'S':
    case 's':
        return 1;
    case 'P':
    case 'p':
        return 2;
    case 'M':
    case 'm':
        return 3;
    default:
        return 0;
    }
}

ExpectedRecord ExpectedFor(int startSlot, const std::vector<std::string>& arguments)
{
    ExpectedRecord record;
    record.slot = startSlot;
    for (const std::string& argument : arguments) {
        if (IsFlag(argument)) {
            const std::string text = argument.substr(1);
            record.slot = SlotOfFlag(text);
            record.interactive = record.interactive || text == "I" || text == "i";
        } else if (record.slot != 0 && record.identity[record.slot].empty()) {
            record.identity[record.slot] = argument;
        } else if (record.fileName.empty()) {
            record.fileName = argument;
        }
    }
    return record;
}

StartMode ExpectedMode(const ExpectedRecord& record)
{
    if (record.interactive) {
        return StartMode::Dialog;
    }
    if (!record.fileName.empty()) {
        return StartMode::Direct;
    }
    const bool noIdentity = record.identity[1].empty() && record.identity[2].empty() && record.identity[3].empty();
    return noIdentity ? StartMode::Dialog : StartMode::None;
}

// Arguments end at zero bytes; a text reaches the record only up to its first
// zero byte anyway, as it does from a real argument vector.
std::vector<std::string> SplitArguments(const std::uint8_t* data, std::size_t size)
{
    std::vector<std::string> arguments;
    std::string current;
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == 0) {
            arguments.push_back(current);
            current.clear();
        } else {
            current += static_cast<char>(data[i]);
        }
    }
    arguments.push_back(current);
    return arguments;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0) {
        return 0;
    }
    const int startSlot = data[0] % 4;
    const std::vector<std::string> arguments = SplitArguments(data + 1, size - 1);

    std::vector<char*> argv;
    std::string program = "trelox";
    argv.push_back(&program[0]);
    std::vector<std::string> storage(arguments);
    for (std::string& argument : storage) {
        argv.push_back(&argument[0]);
    }
    argv.push_back(nullptr);

    CTreloxCommandLineInfo info;
    info.m_nParamSlot = startSlot;
    AfxParseCommandLine(info, static_cast<int>(argv.size() - 1), argv.data());

    const ExpectedRecord expected = ExpectedFor(startSlot, arguments);
    const bool same = info.m_strFileName.Bytes() == expected.fileName &&
                      info.m_strSerialNumber.Bytes() == expected.identity[1] &&
                      info.m_strProductName.Bytes() == expected.identity[2] &&
                      info.m_strManufacturer.Bytes() == expected.identity[3] &&
                      info.m_bInteractive == expected.interactive && info.m_nParamSlot == expected.slot &&
                      ChooseStartMode(info) == ExpectedMode(expected);
    if (!same) {
        std::fprintf(stderr, "record: file \"%s\" serial \"%s\" product \"%s\" maker \"%s\" I=%d slot=%d\n",
                     info.m_strFileName.GetString(), info.m_strSerialNumber.GetString(),
                     info.m_strProductName.GetString(), info.m_strManufacturer.GetString(), info.m_bInteractive,
                     info.m_nParamSlot);
        std::fprintf(stderr, "rules:  file \"%s\" serial \"%s\" product \"%s\" maker \"%s\" I=%d slot=%d\n",
                     expected.fileName.c_str(), expected.identity[1].c_str(), expected.identity[2].c_str(),
                     expected.identity[3].c_str(), expected.interactive, expected.slot);
        std::abort();
    }
    return 0;
}
