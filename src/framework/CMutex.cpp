// A named system mutex over the platform's mutex services.
#include "framework/CMutex.h"

#include "framework/CResourceException.h"
#include "platform/CPlatform.h"

namespace {

// The system's answer to a name it cannot take.
const DWORD kErrorInvalidName = 123;

// A zero byte would end the name early and so name another mutex.
HANDLE CreateNamedMutex(const CString& name)
{
    if (name.Bytes().find('\0') != std::string::npos) {
        throw CResourceException(kErrorInvalidName);
    }
    HANDLE mutex = Platform().CreateMutex(name.GetString());
    if (mutex == nullptr) {
        throw CResourceException(Platform().GetLastError());
    }
    return mutex;
}

}  // namespace

CMutex::CMutex(const CString& name) : m_hObject(CreateNamedMutex(name)) {}

CMutex::~CMutex()
{
    Platform().CloseHandle(m_hObject);
}

bool CMutex::Lock(DWORD timeoutMs)
{
    const DWORD wait = Platform().WaitForSingleObject(m_hObject, timeoutMs);
    return wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED;
}

bool CMutex::Unlock()
{
    return Platform().ReleaseMutex(m_hObject) != FALSE;
}
