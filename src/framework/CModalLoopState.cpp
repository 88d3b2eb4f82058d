// Where a dialog's modal loop stands.
#include "framework/CModalLoopState.h"

bool CModalLoopState::Start()
{
    m_running = true;
    return !m_ended;
}

CModalLoopState::Ending CModalLoopState::End(int result)
{
    if (m_ended) {
        return Ending::AlreadyEnded;
    }
    m_ended = true;
    m_result = result;
    return m_running ? Ending::EndsLoop : Ending::HidesDialog;
}
