// Checks of the gadget framework and the choice of USB device controllers.
#include "GadgetHost.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>

#include "ConfigfsGadget.h"

namespace {

const char kControllers[] = "/sys/class/udc";
const char kNoController[] =
    "there is no USB device controller (/sys/class/udc is empty): on a PC, 'modprobe dummy_hcd' "
    "makes one that this machine's own USB host side sees (num=2 makes two); on a board with a USB "
    "device port, enable that port in device mode";

std::vector<std::string> Entries(const std::string& folder)
{
    std::vector<std::string> names;
    DIR* dir = opendir(folder.c_str());
    if (dir == nullptr) return names;
    for (dirent* entry = readdir(dir); entry != nullptr; entry = readdir(dir)) {
        if (entry->d_name[0] != '.') names.push_back(entry->d_name);
    }
    closedir(dir);
    std::sort(names.begin(), names.end());
    return names;
}

bool IsFolder(const std::string& path)
{
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string Joined(const std::vector<std::string>& names)
{
    std::string text;
    for (const std::string& name : names) text += (text.empty() ? "" : ", ") + name;
    return text;
}

}  // namespace

bool GadgetHost::CheckUsable(std::string* error)
{
    if (geteuid() != 0) {
        *error = "--gadget needs root: it makes the device in configfs and binds it to a USB device controller";
        return false;
    }
    if (!IsFolder(ConfigfsGadget::Root())) {
        *error = Entries("/sys/kernel/config").empty()
                     ? "configfs is not mounted: mount -t configfs none /sys/kernel/config"
                     : "the kernel's USB gadget framework is not loaded: modprobe libcomposite";
        return false;
    }
    if (Controllers().empty()) {
        *error = kNoController;
        return false;
    }
    return true;
}

std::vector<std::string> GadgetHost::Controllers()
{
    return Entries(kControllers);
}

std::string GadgetHost::HolderOf(const std::string& udc)
{
    for (const std::string& gadget : Entries(ConfigfsGadget::Root())) {
        std::ifstream file(std::string(ConfigfsGadget::Root()) + "/" + gadget + "/UDC");
        std::string bound;
        if (std::getline(file, bound) && bound == udc) return gadget;
    }
    return std::string();
}

bool GadgetHost::AssignControllers(const SimConfig& config, std::vector<std::string>* controllers,
                                   std::string* error)
{
    const std::vector<std::string> present = Controllers();
    std::vector<std::string> taken;
    for (const DeviceConfig& device : config.devices) {
        std::string chosen = device.udc;
        if (chosen.empty()) {
            for (const std::string& candidate : present) {
                if (HolderOf(candidate).empty() && std::find(taken.begin(), taken.end(), candidate) == taken.end()) {
                    chosen = candidate;
                    break;
                }
            }
            if (chosen.empty()) {
                *error = "every USB device controller is in use (" + Joined(present) +
                         "); free one, or on a PC load dummy_hcd with more (num=N)";
                return false;
            }
        } else if (std::find(present.begin(), present.end(), chosen) == present.end()) {
            *error = "there is no USB device controller " + chosen + " (there are: " + Joined(present) + ")";
            return false;
        } else if (!HolderOf(chosen).empty()) {
            *error = "the USB device controller " + chosen + " is in use by the gadget " + HolderOf(chosen);
            return false;
        } else if (std::find(taken.begin(), taken.end(), chosen) != taken.end()) {
            *error = "two devices on the USB device controller " + chosen + "; each needs its own";
            return false;
        }
        taken.push_back(chosen);
    }
    *controllers = taken;
    return true;
}
