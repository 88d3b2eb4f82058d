// A program file opened for its resources only (its code is never run).
#pragma once

#include "platform/win32/Win32Api.h"

#include <string>

class ResourceModule {
public:
    explicit ResourceModule(const std::string& path);
    ~ResourceModule();
    ResourceModule(const ResourceModule&) = delete;
    ResourceModule& operator=(const ResourceModule&) = delete;

    bool IsOpen() const { return m_module != nullptr; }
    HMODULE Handle() const { return m_module; }
    // The bytes of a resource in German (Germany); false when there is none.
    bool FindGerman(LPCSTR type, LPCSTR name, std::string* bytes) const;
    // The bytes of a resource in any language; false when there is none.
    bool Find(LPCSTR type, LPCSTR name, std::string* bytes) const;

private:
    bool Load(HRSRC resource, std::string* bytes) const;

    HMODULE m_module = nullptr;
};
