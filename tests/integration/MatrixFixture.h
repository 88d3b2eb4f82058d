// Fixture of the fault matrix and the hostile-input runs: trelox-devsim on a
// private bus, a private lock directory, and the test build of the program
// that reports what it left open at its end.
#pragma once

#include <string>

#include "DevsimDownloadFixture.h"
#include "InstrumentedTrelox.h"

class MatrixFixture : public DevsimDownloadFixture {
protected:
    MatrixFixture();

    // The run ended through exit with nothing of the device, the lock or
    // `flashFile` still open.
    void ExpectNothingLeftOpen(const std::string& flashFile) const;

    InstrumentedTrelox m_trelox;
};
