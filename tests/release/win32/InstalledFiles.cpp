// Looking at what a setup program installed.
#include "InstalledFiles.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

#include <objbase.h>
#include <shlobj.h>

#include "ResourceModule.h"

namespace InstalledFiles {
namespace {
std::string KnownFolder(int csidl)
{
    char path[MAX_PATH] = {};
    return SUCCEEDED(::SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path)) ? path : "";
}

// A resource's name: a number, or a text that must be copied while the
// enumeration that tells it runs.
struct ResourceName {
    bool found = false;
    ULONG_PTR id = 0;
    std::string text;

    LPCSTR Get() const { return text.empty() ? MAKEINTRESOURCEA(id) : text.c_str(); }
};

BOOL CALLBACK TakeFirstName(HMODULE, LPCSTR, LPSTR name, LONG_PTR context)
{
    ResourceName* first = reinterpret_cast<ResourceName*>(context);
    first->found = true;
    if (IS_INTRESOURCE(name)) {
        first->id = reinterpret_cast<ULONG_PTR>(name);
    } else {
        first->text = name;
    }
    return FALSE;
}

#pragma pack(push, 2)
struct IconGroupEntry {
    BYTE width;
    BYTE height;
    BYTE colours;
    BYTE reserved;
    WORD planes;
    WORD bitCount;
    DWORD bytes;
    WORD id;
};
#pragma pack(pop)
}  // namespace

std::string ProgramFilesFolder()
{
    return KnownFolder(CSIDL_PROGRAM_FILES);
}

std::string CommonStartMenuFolder()
{
    return KnownFolder(CSIDL_COMMON_PROGRAMS);
}

bool Exists(const std::string& path)
{
    return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string ShortcutTarget(const std::string& linkPath)
{
    const bool initialised = SUCCEEDED(::CoInitialize(nullptr));
    std::string target;
    IShellLinkA* link = nullptr;
    if (SUCCEEDED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                     reinterpret_cast<void**>(&link)))) {
        IPersistFile* file = nullptr;
        if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
            const std::wstring wide(linkPath.begin(), linkPath.end());
            char path[MAX_PATH] = {};
            if (SUCCEEDED(file->Load(wide.c_str(), STGM_READ)) &&
                SUCCEEDED(link->GetPath(path, MAX_PATH, nullptr, SLGP_RAWPATH))) {
                target = path;
            }
            file->Release();
        }
        link->Release();
    }
    if (initialised) {
        ::CoUninitialize();
    }
    return target;
}

std::string MachineRegistryText(const std::string& key, const std::string& value)
{
    char text[1024] = {};
    DWORD size = sizeof text;
    if (::RegGetValueA(HKEY_LOCAL_MACHINE, key.c_str(), value.c_str(), RRF_RT_REG_SZ, nullptr, text, &size) !=
        ERROR_SUCCESS) {
        return "<missing>";
    }
    return text;
}

long long MachineRegistryNumber(const std::string& key, const std::string& value)
{
    DWORD number = 0;
    DWORD size = sizeof number;
    if (::RegGetValueA(HKEY_LOCAL_MACHINE, key.c_str(), value.c_str(), RRF_RT_REG_DWORD, nullptr, &number, &size) !=
        ERROR_SUCCESS) {
        return -1;
    }
    return number;
}

bool MachineRegistryKeyExists(const std::string& key)
{
    HKEY opened = nullptr;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) {
        return false;
    }
    ::RegCloseKey(opened);
    return true;
}

std::string FileBytes(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

unsigned long FolderKiB(const std::string& folder)
{
    WIN32_FIND_DATAA found{};
    HANDLE search = ::FindFirstFileA((folder + "\\*").c_str(), &found);
    unsigned long long bytes = 0;
    if (search == INVALID_HANDLE_VALUE) {
        return 0;
    }
    do {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
            bytes += (static_cast<unsigned long long>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
        }
    } while (::FindNextFileA(search, &found));
    ::FindClose(search);
    return static_cast<unsigned long>(bytes / 1024);
}

std::string VersionItem(const std::string& path, const std::string& item)
{
    DWORD ignored = 0;
    std::vector<char> block(::GetFileVersionInfoSizeA(path.c_str(), &ignored));
    WORD* translation = nullptr;
    UINT length = 0;
    if (block.empty() || !::GetFileVersionInfoA(path.c_str(), 0, static_cast<DWORD>(block.size()), block.data()) ||
        !::VerQueryValueA(block.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation),
                          &length) ||
        length < 4) {
        return "<missing>";
    }
    char query[64] = {};
    std::snprintf(query, sizeof query, "\\StringFileInfo\\%04x%04x\\%s", translation[0], translation[1],
                  item.c_str());
    char* value = nullptr;
    if (!::VerQueryValueA(block.data(), query, reinterpret_cast<void**>(&value), &length) || length == 0) {
        return "<missing>";
    }
    return value;
}

std::vector<std::string> IconImages(const std::string& path)
{
    std::vector<std::string> images;
    const ResourceModule module(path);
    ResourceName group;
    ::EnumResourceNamesA(module.Handle(), RT_GROUP_ICON, &TakeFirstName, reinterpret_cast<LONG_PTR>(&group));
    std::string directory;
    if (!group.found || !module.Find(RT_GROUP_ICON, group.Get(), &directory) || directory.size() < 6) {
        return images;
    }
    WORD count = 0;
    std::memcpy(&count, directory.data() + 4, 2);
    for (WORD i = 0; i < count && 6 + (i + 1) * sizeof(IconGroupEntry) <= directory.size(); ++i) {
        IconGroupEntry entry{};
        std::memcpy(&entry, directory.data() + 6 + i * sizeof entry, sizeof entry);
        std::string image;
        if (module.Find(RT_ICON, MAKEINTRESOURCEA(entry.id), &image)) {
            images.push_back(image);
        }
    }
    std::sort(images.begin(), images.end());
    return images;
}

}  // namespace InstalledFiles
