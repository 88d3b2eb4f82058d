// Making, binding and removing a configfs gadget with one FunctionFS function.
#include "ConfigfsGadget.h"

#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>

namespace {

const char kRoot[] = "/sys/kernel/config/usb_gadget";
const char kConfig[] = "configs/c.1";

std::string Hex4(unsigned value)
{
    char text[8];
    std::snprintf(text, sizeof text, "0x%04x", value & 0xFFFF);
    return text;
}

}  // namespace

ConfigfsGadget::ConfigfsGadget(std::string name)
    : m_name(std::move(name)),
      m_folder(std::string(kRoot) + "/" + m_name),
      m_mountPoint("/run/trelox-devsim/" + m_name)
{
}

ConfigfsGadget::~ConfigfsGadget()
{
    Remove();
}

const char* ConfigfsGadget::Root()
{
    return kRoot;
}

bool ConfigfsGadget::Make(const std::string& relative, std::string* error)
{
    const std::string path = relative.empty() ? m_folder : m_folder + "/" + relative;
    if (mkdir(path.c_str(), 0755) != 0) {
        *error = "cannot make " + path + ": " + std::strerror(errno);
        return false;
    }
    m_made.push_back(path);
    return true;
}

bool ConfigfsGadget::Put(const std::string& relative, const std::string& value, std::string* error)
{
    const std::string path = m_folder + "/" + relative;
    std::ofstream file(path);
    file << value << '\n';
    file.flush();
    if (!file) {
        *error = "cannot write " + path;
        return false;
    }
    return true;
}

bool ConfigfsGadget::Create(const GadgetIdentity& identity, std::string* error)
{
    struct stat existing;
    if (stat(m_folder.c_str(), &existing) == 0) {
        *error = "a gadget named " + m_name + " is already in " + kRoot +
                 ": another trelox-devsim --gadget plays this device, or one that was killed left it there";
        return false;
    }
    const std::string function = "functions/ffs." + m_name;
    const bool made = Make("", error) && Put("idVendor", Hex4(identity.vendor), error) &&
                      Put("idProduct", Hex4(identity.product), error) && Put("bcdUSB", "0x0200", error) &&
                      Put("bcdDevice", "0x0100", error) && Make("strings/0x409", error) &&
                      Put("strings/0x409/serialnumber", identity.serial, error) &&
                      Put("strings/0x409/manufacturer", identity.manufacturer, error) &&
                      Put("strings/0x409/product", identity.productName, error) && Make(kConfig, error);
    if (!made) {
        Remove();
        return false;
    }
    const std::string functionPath = m_folder + "/" + function;
    if (mkdir(functionPath.c_str(), 0755) != 0) {
        *error = errno == ENOENT ? std::string("the kernel has no FunctionFS (modprobe usb_f_fs)")
                                 : "cannot make " + functionPath + ": " + std::strerror(errno);
        Remove();
        return false;
    }
    m_made.push_back(functionPath);
    const std::string link = m_folder + "/" + kConfig + "/ffs." + m_name;
    if (symlink(functionPath.c_str(), link.c_str()) != 0) {
        *error = "cannot link the function into the configuration: " + std::string(std::strerror(errno));
        Remove();
        return false;
    }
    m_made.push_back(link);
    mkdir("/run/trelox-devsim", 0755);
    if (mkdir(m_mountPoint.c_str(), 0755) != 0 && errno != EEXIST) {
        *error = "cannot make " + m_mountPoint + ": " + std::strerror(errno);
        Remove();
        return false;
    }
    if (mount(m_name.c_str(), m_mountPoint.c_str(), "functionfs", 0, nullptr) != 0) {
        *error = "cannot mount FunctionFS on " + m_mountPoint + ": " + std::strerror(errno);
        Remove();
        return false;
    }
    m_mounted = true;
    return true;
}

bool ConfigfsGadget::Bind(const std::string& udc, std::string* error)
{
    const std::string path = m_folder + "/UDC";
    std::FILE* file = std::fopen(path.c_str(), "w");
    bool bound = file != nullptr && std::fputs(udc.c_str(), file) >= 0;
    int reason = errno;
    if (file != nullptr && std::fclose(file) != 0) {
        bound = false;
        reason = errno;
    }
    if (!bound) {
        *error = "cannot bind to the USB device controller " + udc + ": " +
                 (reason == EBUSY ? std::string("it is in use by another gadget") : std::strerror(reason));
        return false;
    }
    m_bound = true;
    return true;
}

void ConfigfsGadget::Unbind()
{
    if (!m_bound) return;
    m_bound = false;
    std::FILE* file = std::fopen((m_folder + "/UDC").c_str(), "w");
    if (file == nullptr) return;
    std::fputs("\n", file);
    std::fclose(file);
}

void ConfigfsGadget::Remove()
{
    Unbind();
    if (m_mounted && umount(m_mountPoint.c_str()) != 0) {
        umount2(m_mountPoint.c_str(), MNT_DETACH);
    }
    m_mounted = false;
    rmdir(m_mountPoint.c_str());
    for (auto made = m_made.rbegin(); made != m_made.rend(); ++made) {
        struct stat entry;
        if (lstat(made->c_str(), &entry) == 0 && S_ISLNK(entry.st_mode)) {
            unlink(made->c_str());
        } else {
            rmdir(made->c_str());
        }
    }
    m_made.clear();
}
