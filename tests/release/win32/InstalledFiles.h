// What a setup program leaves on the system, as the tests of the installer
// look at it: folders, shortcuts, registry values and the version block and
// icon of program files.
#pragma once

#include <string>
#include <vector>

namespace InstalledFiles {

// Where the system keeps programs (C:\Program Files) and the start-menu
// programs of all users.
std::string ProgramFilesFolder();
std::string CommonStartMenuFolder();

bool Exists(const std::string& path);
// The program a shell link (.lnk) starts; empty when it cannot be read.
std::string ShortcutTarget(const std::string& linkPath);

// A text value under HKEY_LOCAL_MACHINE; "<missing>" when there is none.
std::string MachineRegistryText(const std::string& key, const std::string& value);
// A number (REG_DWORD) under HKEY_LOCAL_MACHINE; -1 when there is none or
// the value is of another type (a number stored as text).
long long MachineRegistryNumber(const std::string& key, const std::string& value);
bool MachineRegistryKeyExists(const std::string& key);

// A file's bytes; empty when it cannot be read.
std::string FileBytes(const std::string& path);
// The sizes of the files directly in `folder`, in KiB rounded down.
unsigned long FolderKiB(const std::string& folder);

// An item of the string table of a program file's version block, in the
// block's first language; "<missing>" when there is none.
std::string VersionItem(const std::string& path, const std::string& item);
// The images of a program file's first icon group, sorted; empty when it
// has none.
std::vector<std::string> IconImages(const std::string& path);

}  // namespace InstalledFiles
