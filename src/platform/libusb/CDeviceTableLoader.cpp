// Reading the device table from the environment or from its files.
#include "platform/libusb/CDeviceTableLoader.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>

namespace {

const char kVariable[] = "TRELOX_USB_DEVICES";
const char kSystemFile[] = "/etc/trelox/devices";
const char kUserFileInConfig[] = "/trelox/devices";

std::string Trimmed(const std::string& text)
{
    const char* blanks = " \t\r\n\v\f";
    const std::size_t first = text.find_first_not_of(blanks);
    if (first == std::string::npos) {
        return std::string();
    }
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

// Adds the entry `text` from `place`, or reports why it is skipped.
void AddEntry(const std::string& text, const std::string& place, CDeviceTable* table, std::ostream& report)
{
    DeviceTableEntry entry;
    std::string problem;
    if (CDeviceTable::ParseEntry(text, &entry, &problem)) {
        table->Add(entry);
    } else {
        report << "trelox: " << place << ": " << problem << "; entry skipped" << std::endl;
    }
}

void ReadVariable(const std::string& value, CDeviceTable* table, std::ostream& report)
{
    std::size_t start = 0;
    for (int number = 1; start <= value.size(); ++number) {
        std::size_t end = value.find(';', start);
        if (end == std::string::npos) {
            end = value.size();
        }
        const std::string text = Trimmed(value.substr(start, end - start));
        if (!text.empty()) {
            AddEntry(text, std::string(kVariable) + ", entry " + std::to_string(number), table, report);
        }
        start = end + 1;
    }
}

void ReadLines(std::istream& lines, const std::string& path, CDeviceTable* table, std::ostream& report)
{
    std::string line;
    for (int number = 1; std::getline(lines, line); ++number) {
        const std::string text = Trimmed(line.substr(0, line.find('#')));
        if (!text.empty()) {
            AddEntry(text, path + ":" + std::to_string(number), table, report);
        }
    }
}

// True when there is something at `path` to read the table from. A table
// that is there but cannot be read is reported, and the next place counts.
bool OpenTableFile(const std::string& path, std::ifstream* file, std::ostream& report)
{
    struct stat info;
    if (path.empty() || ::stat(path.c_str(), &info) != 0) {
        return false;
    }
    const int error = S_ISDIR(info.st_mode) ? EISDIR : 0;
    if (error == 0) {
        file->open(path);
    }
    if (error != 0 || !file->is_open()) {
        report << "trelox: " << path << ": cannot be read (" << std::strerror(error != 0 ? error : errno)
               << "); not used" << std::endl;
        return false;
    }
    return true;
}

}  // namespace

CDeviceTableLoader::CDeviceTableLoader(std::optional<std::string> variable, std::string userFile,
                                       std::string systemFile)
    : m_ownPlaces(false),
      m_variable(std::move(variable)),
      m_userFile(std::move(userFile)),
      m_systemFile(std::move(systemFile))
{
}

CDeviceTable CDeviceTableLoader::Load(std::ostream& report) const
{
    const std::optional<std::string> variable = Variable();
    if (variable && !variable->empty()) {
        CDeviceTable table(kVariable);
        ReadVariable(*variable, &table, report);
        return table;
    }
    for (const std::string& path : {UserFile(), SystemFile()}) {
        std::ifstream file;
        if (OpenTableFile(path, &file, report)) {
            CDeviceTable table(path);
            ReadLines(file, path, &table, report);
            return table;
        }
    }
    return CDeviceTable();
}

std::string CDeviceTableLoader::Places() const
{
    const std::string user = UserFile();
    return std::string("the variable ") + kVariable + ", then " +
           (user.empty() ? std::string() : user + ", then ") + SystemFile();
}

std::string CDeviceTableLoader::UserFileFromEnvironment()
{
    const char* config = std::getenv("XDG_CONFIG_HOME");
    // A relative setting is not valid and is ignored, as everywhere else.
    if (config != nullptr && config[0] == '/') {
        return config + std::string(kUserFileInConfig);
    }
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] != '\0') {
        return home + std::string("/.config") + kUserFileInConfig;
    }
    return std::string();
}

std::optional<std::string> CDeviceTableLoader::Variable() const
{
    if (!m_ownPlaces) {
        return m_variable;
    }
    const char* value = std::getenv(kVariable);
    return value != nullptr ? std::optional<std::string>(value) : std::nullopt;
}

std::string CDeviceTableLoader::UserFile() const
{
    return m_ownPlaces ? UserFileFromEnvironment() : m_userFile;
}

std::string CDeviceTableLoader::SystemFile() const
{
    return m_ownPlaces ? std::string(kSystemFile) : m_systemFile;
}
