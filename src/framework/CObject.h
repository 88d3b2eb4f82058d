// The root of the framework's classes: a run-time class record naming each
// class and its base, for classes that declare one.
#pragma once

struct CRuntimeClass {
    const char* m_lpszClassName;
    const CRuntimeClass* m_pBaseClass;

    // True when this class is `base` or derives from it.
    bool IsDerivedFrom(const CRuntimeClass* base) const;
};

#define RUNTIME_CLASS(className) (&className::classRecord##className)

// In the class: a record of its own, answered by GetRuntimeClass.
#define DECLARE_DYNAMIC(className)                       \
public:                                                  \
    static const CRuntimeClass classRecord##className;   \
    const CRuntimeClass* GetRuntimeClass() const override;

// In the source: the record, with the name and base of the class.
#define IMPLEMENT_DYNAMIC(className, baseClassName)                                             \
    const CRuntimeClass className::classRecord##className = {#className,                        \
                                                             RUNTIME_CLASS(baseClassName)};     \
    const CRuntimeClass* className::GetRuntimeClass() const { return RUNTIME_CLASS(className); }

class CObject {
public:
    static const CRuntimeClass classRecordCObject;

    virtual ~CObject() = default;
    virtual const CRuntimeClass* GetRuntimeClass() const;
    bool IsKindOf(const CRuntimeClass* runtimeClass) const;

protected:
    CObject() = default;
    CObject(const CObject&) = default;
    CObject& operator=(const CObject&) = default;
};
