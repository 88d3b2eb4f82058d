// A named system mutex, shared by every program that opens the same name.
#pragma once

#include "framework/AfxTypes.h"
#include "framework/CString.h"

class CMutex {
public:
    // Creates or opens the mutex `name`, not initially owned, default
    // security. Throws CResourceException when the system refuses the name.
    explicit CMutex(const CString& name);
    // Closes this program's handle; the name lives on while others hold it.
    ~CMutex();

    CMutex(const CMutex&) = delete;
    CMutex& operator=(const CMutex&) = delete;

    // Waits up to `timeoutMs`; true when this thread now holds the mutex,
    // also when its previous holder ended without releasing it.
    bool Lock(DWORD timeoutMs);
    // Releases it; false (and no effect) when this thread does not hold it.
    bool Unlock();

    HANDLE m_hObject;
};
