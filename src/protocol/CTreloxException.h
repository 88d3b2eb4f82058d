// The root of the device error family: every failure of the traffic with the
// device is thrown as one of its six kinds, by value, and caught by reference.
#pragma once

#include "framework/CString.h"

class CTreloxException {
public:
    virtual ~CTreloxException() = default;
    // The German text shown to the user, built anew on every call.
    virtual CString GetMessageText() const = 0;

protected:
    CTreloxException() = default;
    CTreloxException(const CTreloxException&) = default;
    CTreloxException& operator=(const CTreloxException&) = default;
};
