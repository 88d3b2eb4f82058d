// The framework's resource error: the system refused an object the program
// needs (an event for a transfer, a named mutex). Thrown by value; it is no
// member of the device error family, so the handlers of that family pass it on.
#pragma once

#include "framework/AfxTypes.h"

class CResourceException {
public:
    explicit CResourceException(DWORD error = 0) : m_dwError(error) {}

    // The system's error code at the moment of the refusal; 0 if none.
    DWORD GetError() const { return m_dwError; }

private:
    DWORD m_dwError;
};
