// The program's resources for the window systems that do not read them from
// the executable: dialog templates, strings and icons, registered by the
// program at start-up. The framework itself knows none of them.
#pragma once

#include <map>

#include "framework/AfxTypes.h"
#include "framework/CString.h"
#include "framework/DialogTemplate.h"

class CResourceTable {
public:
    static CResourceTable& Instance();

    // A later registration under the same id replaces the earlier one.
    void AddDialog(const DialogTemplate& dialog);
    void AddString(UINT id, const CString& text);
    void AddIcon(UINT id);

    // Null when not registered.
    const DialogTemplate* FindDialog(UINT id) const;
    // False when not registered.
    bool FindString(UINT id, CString* text) const;
    // A handle standing for the icon, or null when not registered.
    HANDLE FindIcon(UINT id) const;

private:
    std::map<UINT, DialogTemplate> m_dialogs;
    std::map<UINT, CString> m_strings;
    std::map<UINT, HANDLE> m_icons;
};
