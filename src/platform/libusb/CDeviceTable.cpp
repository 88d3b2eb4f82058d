// The device table's entries and their syntax.
#include "platform/libusb/CDeviceTable.h"

#include <algorithm>
#include <cctype>
#include <sstream>

namespace {

// Whether `text` is not empty and made of digits of `base` (10 or 16) only.
bool AllDigits(const std::string& text, int base)
{
    return !text.empty() && std::all_of(text.begin(), text.end(), [base](char ch) {
        const auto byte = static_cast<unsigned char>(ch);
        return (base == 16 ? std::isxdigit(byte) : std::isdigit(byte)) != 0;
    });
}

// `count` hex digits exactly, into *value.
bool ParseHexDigits(const std::string& text, std::size_t count, unsigned* value)
{
    if (text.size() != count || !AllDigits(text, 16)) {
        return false;
    }
    *value = static_cast<unsigned>(std::stoul(text, nullptr, 16));
    return true;
}

// A number up to 255, decimal or with "0x" in hex.
bool ParseByte(const std::string& text, unsigned* value)
{
    const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    const int base = hex ? 16 : 10;
    const std::string digits = hex ? text.substr(2) : text;
    if (digits.size() > 3 || !AllDigits(digits, base)) {
        return false;
    }
    const auto result = static_cast<unsigned>(std::stoul(digits, nullptr, base));
    if (result > 0xFF) {
        return false;
    }
    *value = result;
    return true;
}

bool ParseDeviceId(const std::string& text, DeviceTableEntry* entry, std::string* problem)
{
    const std::size_t colon = text.find(':');
    unsigned vendor = 0;
    unsigned product = 0;
    if (colon == std::string::npos || !ParseHexDigits(text.substr(0, colon), 4, &vendor) ||
        !ParseHexDigits(text.substr(colon + 1), 4, &product)) {
        *problem = "\"" + text + "\" is not VID:PID (four hex digits each, as lsusb shows them)";
        return false;
    }
    entry->vendorId = static_cast<std::uint16_t>(vendor);
    entry->productId = static_cast<std::uint16_t>(product);
    return true;
}

// One "name=value" after the device id.
bool ParseOption(const std::string& text, DeviceTableEntry* entry, std::string* problem)
{
    const std::size_t equals = text.find('=');
    const std::string name = text.substr(0, equals);
    const std::string value = equals == std::string::npos ? std::string() : text.substr(equals + 1);
    unsigned number = 0;
    const bool isNumber = ParseByte(value, &number);
    if (name == "interface" && equals != std::string::npos) {
        if (!isNumber) {
            *problem = "interface=" + value + ": not an interface number from 0 to 255";
            return false;
        }
        entry->interfaceNumber = static_cast<std::uint8_t>(number);
        return true;
    }
    if (name == "out" && equals != std::string::npos) {
        if (!isNumber || number < 0x01 || number > 0x0F) {
            *problem = "out=" + value + ": not an OUT endpoint address (0x01 to 0x0f)";
            return false;
        }
        entry->outEndpoint = static_cast<int>(number);
        return true;
    }
    if (name == "in" && equals != std::string::npos) {
        if (!isNumber || number < 0x81 || number > 0x8F) {
            *problem = "in=" + value + ": not an IN endpoint address (0x81 to 0x8f)";
            return false;
        }
        entry->inEndpoint = static_cast<int>(number);
        return true;
    }
    if (name == "serial" && equals != std::string::npos) {
        if (value.empty()) {
            *problem = "serial= needs the device's serial number, as lsusb -v shows it after iSerial";
            return false;
        }
        entry->serial = value;
        return true;
    }
    *problem = "\"" + text + "\" is not one of serial=TEXT, interface=N, out=0xEP, in=0xEP";
    return false;
}

}  // namespace

bool CDeviceTable::ParseEntry(const std::string& text, DeviceTableEntry* entry, std::string* problem)
{
    std::istringstream words(text);
    std::string word;
    DeviceTableEntry parsed;
    if (!(words >> word)) {
        *problem = "empty entry";
        return false;
    }
    if (!ParseDeviceId(word, &parsed, problem)) {
        return false;
    }
    std::vector<std::string> seen;
    while (words >> word) {
        const std::string name = word.substr(0, word.find('='));
        for (const std::string& earlier : seen) {
            if (earlier == name) {
                *problem = name + "= is given twice";
                return false;
            }
        }
        if (!ParseOption(word, &parsed, problem)) {
            return false;
        }
        seen.push_back(name);
    }
    *entry = parsed;
    return true;
}

const DeviceTableEntry* CDeviceTable::Find(std::uint16_t vendorId, std::uint16_t productId,
                                           const std::string* serial) const
{
    for (const DeviceTableEntry& entry : m_entries) {
        const bool serialFits = entry.serial.empty() || (serial != nullptr && *serial == entry.serial);
        if (entry.vendorId == vendorId && entry.productId == productId && serialFits) {
            return &entry;
        }
    }
    return nullptr;
}

bool CDeviceTable::NamesSerial(std::uint16_t vendorId, std::uint16_t productId) const
{
    return std::any_of(m_entries.begin(), m_entries.end(), [&](const DeviceTableEntry& entry) {
        return entry.vendorId == vendorId && entry.productId == productId && !entry.serial.empty();
    });
}
