// One USB gadget in the kernel's configfs: its folder under
// /sys/kernel/config/usb_gadget with the device's ids and strings, one
// configuration holding one FunctionFS function, and that function's file
// system mounted; binding it to a USB device controller puts the device on
// the bus, unbinding takes it off. Everything it made is removed when it is
// destroyed, in the order the kernel requires.
#pragma once

#include <string>
#include <vector>

struct GadgetIdentity {
    unsigned vendor = 0x1234;
    unsigned product = 0x5678;
    std::string serial;
    std::string manufacturer;
    std::string productName;
};

class ConfigfsGadget {
public:
    // `name` names the gadget folder and its FunctionFS instance.
    explicit ConfigfsGadget(std::string name);
    ConfigfsGadget(const ConfigfsGadget&) = delete;
    ConfigfsGadget& operator=(const ConfigfsGadget&) = delete;
    ~ConfigfsGadget();

    // Makes the gadget and mounts its function. False with *error (a name
    // already taken says so); what was made is removed again.
    bool Create(const GadgetIdentity& identity, std::string* error);
    // Where the function's files are (ep0, ep1..ep4).
    const std::string& MountPoint() const { return m_mountPoint; }

    // Binds to the controller `udc`; the host sees the device arrive.
    bool Bind(const std::string& udc, std::string* error);
    // Unbinds; the host sees the device leave. Harmless when not bound.
    void Unbind();
    // Unbinds, unmounts and removes every folder it made. The function's
    // files must be closed first.
    void Remove();

    static const char* Root();

private:
    bool Make(const std::string& relative, std::string* error);
    bool Put(const std::string& relative, const std::string& value, std::string* error);

    std::string m_name;
    std::string m_folder;
    std::string m_mountPoint;
    bool m_mounted = false;
    bool m_bound = false;
    // What was made, in order; removed in reverse.
    std::vector<std::string> m_made;
};
