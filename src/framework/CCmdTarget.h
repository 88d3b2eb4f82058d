// The base of every class that handles messages: its static message map, a
// table per class chained to the base class's table.
#pragma once

#include "framework/AfxTypes.h"
#include "framework/CObject.h"

class CCmdTarget;

// Calls one handler of the class that made the entry, with the message's
// parameters unpacked as that handler wants them.
typedef LRESULT (*AFX_PMSG)(CCmdTarget* target, WPARAM wParam, LPARAM lParam);

struct AFX_MSGMAP_ENTRY {
    UINT nMessage;  // 0 ends the table
    UINT nCode;     // WM_COMMAND: the notification code
    UINT nID;       // WM_COMMAND: the control or command id
    AFX_PMSG pfn;
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

class CCmdTarget : public CObject {
public:
    static const CRuntimeClass classRecordCCmdTarget;
    const CRuntimeClass* GetRuntimeClass() const override;

    // The first entry for the message (and, for WM_COMMAND, the code and id)
    // in this class's map or a base class's map; null when none handles it.
    const AFX_MSGMAP_ENTRY* FindMessageEntry(UINT message, UINT code, UINT id) const;

protected:
    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;
};

#define DECLARE_MESSAGE_MAP()                     \
protected:                                        \
    static const AFX_MSGMAP* GetThisMessageMap(); \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                       \
    const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
    const AFX_MSGMAP* theClass::GetThisMessageMap()                                  \
    {                                                                                \
        using ThisClass [[maybe_unused]] = theClass;                                 \
        using TheBaseClass = baseClass;                                              \
        static const AFX_MSGMAP_ENTRY entries[] = {

#define END_MESSAGE_MAP()                                                          \
        {0, 0, 0, nullptr}};                                                       \
        static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, entries}; \
        return &messageMap;                                                        \
    }

// A control notification `code` from control `id`: void memberFxn().
#define ON_CONTROL(code, id, memberFxn)                                      \
    {WM_COMMAND, static_cast<UINT>(code), static_cast<UINT>(id),             \
     [](CCmdTarget* target, WPARAM, LPARAM) -> LRESULT {                     \
         (static_cast<ThisClass*>(target)->*(memberFxn))();                  \
         return 0;                                                           \
     }},

#define ON_COMMAND(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_EN_CHANGE(id, memberFxn) ON_CONTROL(EN_CHANGE, id, memberFxn)
#define ON_EN_KILLFOCUS(id, memberFxn) ON_CONTROL(EN_KILLFOCUS, id, memberFxn)

// Any message: LRESULT memberFxn(WPARAM, LPARAM).
#define ON_MESSAGE(message, memberFxn)                                              \
    {static_cast<UINT>(message), 0, 0, [](CCmdTarget* target, WPARAM wParam, LPARAM lParam) -> LRESULT { \
         return (static_cast<ThisClass*>(target)->*(memberFxn))(wParam, lParam);    \
     }},
