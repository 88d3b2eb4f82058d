// Opening a program file as data and fetching its resources.
#include "ResourceModule.h"

ResourceModule::ResourceModule(const std::string& path)
    : m_module(::LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE))
{
}

ResourceModule::~ResourceModule()
{
    if (m_module != nullptr) {
        ::FreeLibrary(m_module);
    }
}

bool ResourceModule::FindGerman(LPCSTR type, LPCSTR name, std::string* bytes) const
{
    return Load(::FindResourceExA(m_module, type, name, MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN)), bytes);
}

bool ResourceModule::Find(LPCSTR type, LPCSTR name, std::string* bytes) const
{
    return Load(::FindResourceA(m_module, name, type), bytes);
}

bool ResourceModule::Load(HRSRC resource, std::string* bytes) const
{
    if (resource == nullptr) {
        return false;
    }
    HGLOBAL loaded = ::LoadResource(m_module, resource);
    const void* data = loaded != nullptr ? ::LockResource(loaded) : nullptr;
    if (data == nullptr) {
        return false;
    }
    bytes->assign(static_cast<const char*>(data), ::SizeofResource(m_module, resource));
    return true;
}
