// The program's resources, registered at start-up.
#include "framework/CResourceTable.h"

CResourceTable& CResourceTable::Instance()
{
    static CResourceTable table;
    return table;
}

void CResourceTable::AddDialog(const DialogTemplate& dialog)
{
    m_dialogs[dialog.id] = dialog;
}

void CResourceTable::AddString(UINT id, const CString& text)
{
    m_strings[id] = text;
}

void CResourceTable::AddIcon(UINT id)
{
    // Any distinct non-null value will do: nothing dereferences it.
    m_icons[id] = reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(0x10000u + id));
}

const DialogTemplate* CResourceTable::FindDialog(UINT id) const
{
    const auto found = m_dialogs.find(id);
    return found != m_dialogs.end() ? &found->second : nullptr;
}

bool CResourceTable::FindString(UINT id, CString* text) const
{
    const auto found = m_strings.find(id);
    if (found == m_strings.end()) {
        return false;
    }
    *text = found->second;
    return true;
}

HANDLE CResourceTable::FindIcon(UINT id) const
{
    const auto found = m_icons.find(id);
    return found != m_icons.end() ? found->second : nullptr;
}
