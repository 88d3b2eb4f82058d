// Parsing and matching of scripted faults.
#include "FaultRule.h"

#include <cstdlib>
#include <vector>

#include "ByteText.h"

namespace {

struct ActionKind {
    const char* name;
    FaultAction action;
    bool argumentRequired;
};

const ActionKind kActions[] = {
    {"refuse", FaultAction::Refuse, false},
    {"reply", FaultAction::Reply, false},
    {"long", FaultAction::LongReply, true},
    {"stall-write", FaultAction::StallWrite, false},
    {"stall-read", FaultAction::StallRead, false},
    {"short", FaultAction::ShortWrite, true},
    {"write-error", FaultAction::WriteError, true},
    {"read-error", FaultAction::ReadError, true},
    {"leave", FaultAction::Leave, false},
};

std::vector<std::string> SplitCommas(const std::string& text)
{
    std::vector<std::string> parts;
    std::string::size_type start = 0;
    for (;;) {
        std::string::size_type comma = text.find(',', start);
        parts.push_back(text.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
        if (comma == std::string::npos) return parts;
        start = comma + 1;
    }
}

// A decimal number of at most nine digits; false otherwise.
bool ParseCount(const std::string& text, long* value)
{
    if (text.empty() || text.size() > 9) return false;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
    }
    *value = std::strtol(text.c_str(), nullptr, 10);
    return true;
}

}  // namespace

bool FaultRule::Parse(const std::string& text, FaultRule* rule, std::string* error)
{
    FaultRule result;
    bool haveTarget = false;
    bool haveAction = false;
    for (const std::string& part : SplitCommas(text)) {
        std::string::size_type equals = part.find('=');
        std::string key = part.substr(0, equals);
        bool hasValue = equals != std::string::npos;
        std::string value = hasValue ? part.substr(equals + 1) : std::string();
        if (key == "record") {
            if (haveTarget || !ParseCount(value, &result.m_record) || result.m_record < 1) {
                *error = "fault '" + text + "': record=N needs one number from 1";
                return false;
            }
            haveTarget = true;
        } else if (key == "query") {
            if (haveTarget || value.size() != 1) {
                *error = "fault '" + text + "': query=L needs one letter";
                return false;
            }
            result.m_isQuery = true;
            result.m_letter = value[0];
            haveTarget = true;
        } else if (key == "times") {
            if (!ParseCount(value, &result.m_times)) {
                *error = "fault '" + text + "': times=K needs a number (0: always)";
                return false;
            }
        } else {
            const ActionKind* kind = nullptr;
            for (const ActionKind& candidate : kActions) {
                if (key == candidate.name) kind = &candidate;
            }
            if (kind == nullptr || haveAction) {
                *error = "fault '" + text + "': " + (kind ? "more than one action" : "unknown key '" + key + "'");
                return false;
            }
            if (kind->argumentRequired && !hasValue) {
                *error = "fault '" + text + "': " + key + " needs a value";
                return false;
            }
            result.m_action = kind->action;
            haveAction = true;
            if (kind->action == FaultAction::Reply) {
                if (!ByteText::ParseHex(value, &result.m_bytes)) {
                    *error = "fault '" + text + "': reply=HEX needs pairs of hex digits";
                    return false;
                }
            } else if (hasValue) {
                long number = 0;
                if (!ParseCount(value, &number)) {
                    *error = "fault '" + text + "': " + key + " needs a number";
                    return false;
                }
                if (kind->action == FaultAction::Refuse) {
                    result.m_times = number;
                } else {
                    result.m_argument = number;
                }
            }
        }
    }
    if (!haveTarget || !haveAction) {
        *error = "fault '" + text + "': needs a target (record=N or query=L) and an action";
        return false;
    }
    if ((result.m_action == FaultAction::WriteError || result.m_action == FaultAction::ReadError) &&
        result.m_argument == 0) {
        *error = "fault '" + text + "': an error code is not 0";
        return false;
    }
    *rule = result;
    return true;
}

bool FaultRule::Aims(bool isQuery, long record, char letter) const
{
    if (isQuery != m_isQuery) return false;
    return isQuery ? letter == m_letter : record == m_record;
}

const char* FaultRule::ActionName() const
{
    for (const ActionKind& kind : kActions) {
        if (kind.action == m_action) return kind.name;
    }
    return "?";
}
