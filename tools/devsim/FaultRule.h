// One scripted fault of a simulated device: the transfer it aims at, what it
// does there, and on how many transfers it acts.
#pragma once

#include <string>

enum class FaultAction {
    Refuse,      // reply 0x10 0x15
    Reply,       // reply with the given bytes (none allowed)
    LongReply,   // the normal reply, padded to the given length
    StallWrite,  // hold the write completion
    StallRead,   // hold the read that carries the reply
    ShortWrite,  // the write completion reports fewer bytes taken
    WriteError,  // the write completes with a non-zero status
    ReadError,   // the read that carries the reply completes with a non-zero status
    Leave        // leave the bus on receiving the write
};

class FaultRule {
public:
    // Parses "record=N,ACTION[=ARG][,times=K]" or "query=L,ACTION[=ARG][,times=K]"
    // (grammar in README.md). False with a reason in *error.
    static bool Parse(const std::string& text, FaultRule* rule, std::string* error);

    // Whether the rule aims at this write: record number `record`, or the
    // identity query `letter` when `isQuery`.
    bool Aims(bool isQuery, long record, char letter) const;
    // Whether it has acted as often as it may.
    bool Spent() const { return m_times != 0 && m_used >= m_times; }
    void Use() { ++m_used; }

    FaultAction Action() const { return m_action; }
    // The reply of Reply.
    const std::string& ReplyBytes() const { return m_bytes; }
    // The argument: length, byte count, error code or milliseconds; -1 when
    // an optional argument was left out.
    long Argument() const { return m_argument; }
    // The action's name as written on the command line, for the log.
    const char* ActionName() const;

private:
    bool m_isQuery = false;
    long m_record = 0;
    char m_letter = 0;
    FaultAction m_action = FaultAction::Refuse;
    std::string m_bytes;
    long m_argument = -1;
    long m_times = 1;  // 0: every matching transfer
    long m_used = 0;
};
