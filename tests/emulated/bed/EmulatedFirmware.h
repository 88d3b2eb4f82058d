// What an emulated device answers: a flash-file record with 0x10 0x06
// (0x10 0x04 for the record that ends the image), an identity query with
// its text; and the faults a test asks for: refusals of one record, a
// record whose acknowledge never comes, an acknowledge longer than asked.
// Used under the device's lock only.
#pragma once

#include <optional>
#include <string>

class EmulatedFirmware {
public:
    // The reply to one write; none: the device keeps silent.
    std::optional<std::string> Received(const std::string& data);

    // Record `record` (from 1) is refused `times` times before it is taken.
    void RefuseRecord(int record, int times);
    // The acknowledge of record `record` never comes.
    void HoldRecord(int record) { m_holdRecord = record; }
    // Every acknowledge carries ten bytes more than the two of it.
    void SendOversizedAcknowledges() { m_oversized = true; }

    // Records taken so far (a refused one counts when it is taken).
    int RecordsTaken() const { return m_taken; }
    // The number of the record last received, from 1.
    int LastRecord() const { return m_record; }
    bool ReportedProgramming() const { return m_programmed; }
    // The device has come back: records count from 1 again.
    void Restart();

private:
    int m_record = 0;
    std::string m_lastRecord;
    bool m_lastRefused = false;
    int m_refuseRecord = 0;
    int m_refuseTimes = 0;
    int m_refused = 0;
    int m_holdRecord = 0;
    bool m_oversized = false;
    int m_taken = 0;
    bool m_programmed = false;
};
